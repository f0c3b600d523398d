#include "resources/Logo.h"

#include "framework/Base64.h"
#include "framework/PluginEntrypoints.h"
#include "tests/support/Support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace Quorvane {
namespace {

// The one source of the picture, beside this program's sources.
const std::filesystem::path Source =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "resources" / "logo.png";

// The big-endian number of four bytes at offset.
unsigned BigEndian(const String& bytes, size_t offset)
{
    unsigned value = 0;
    for (size_t index = offset; index < offset + 4; ++index)
        value = (value << 8) | static_cast<unsigned char>(bytes[index]);
    return value;
}

TEST(Logo, TheCarriedTextDecodesToExactlyThePictureInResources)
{
    const String picture = Testing::ReadFile(Source.string());
    ASSERT_FALSE(picture.empty()) << Source;
    EXPECT_EQ(LogoBase64().find_first_of("\r\n "), String::npos) << "the text is one line";
    const String decoded =
        PluginOperation<DecodeBase64Operation>(DecodeBase64Entry)(LogoBase64(), nullptr);
    EXPECT_TRUE(decoded == picture) << "the carried text is not resources/logo.png";
}

TEST(Logo, ThePictureIsA300By101PngOfEightBitRgba)
{
    const String png =
        PluginOperation<DecodeBase64Operation>(DecodeBase64Entry)(LogoBase64(), nullptr);
    ASSERT_GE(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(png, 16), 300u);
    EXPECT_EQ(BigEndian(png, 20), 101u);
    EXPECT_EQ(png[24], 8) << "bits per channel";
    EXPECT_EQ(png[25], 6) << "colour type: RGBA";
}

} // namespace
} // namespace Quorvane
