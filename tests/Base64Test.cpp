#include "framework/Base64.h"

#include "framework/PluginEntrypoints.h"

#include <gtest/gtest.h>

namespace Quorvane {
namespace {

TEST(Base64, IsDecodedStrictlyThroughItsEntry)
{
    auto* decode = PluginOperation<DecodeBase64Operation>(DecodeBase64Entry);
    EXPECT_EQ(decode("UXVvcnZhbmU=", nullptr), "Quorvane");
    EXPECT_EQ(decode("", nullptr), "");
    EXPECT_EQ(decode("AAE=", nullptr), String("\x00\x01", 2));
    EXPECT_THROW(decode("not base64!", nullptr), UnsupportedFormatException);
}

} // namespace
} // namespace Quorvane
