#include "window/folder.h"

#include "framework/FileType.h"
#include "tests/support/Support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace Quorvane {
namespace {

using Registration = FileType::Registration;
using Testing::TemporaryFolder;
namespace fs = std::filesystem;

const Registration Folders = {"folders", "*****", "folder", ""};

// Starts every test with no file type and ends it with the type released again.
class FolderTypeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(RegisteredFileTypes().empty()); }
    void TearDown() override
    {
        folder::pfolders__Exit();
        EXPECT_TRUE(RegisteredFileTypes().empty());
    }
};

TEST_F(FolderTypeTest, BeforeInitializationThereIsNoType)
{
    EXPECT_TRUE(folder::folders().IsNil());
    EXPECT_TRUE(folder::pfolders.IsNil());
}

TEST_F(FolderTypeTest, InitializationRegistersFoldersOnceAndKeepsOneObject)
{
    folder::_Initialize();
    EXPECT_EQ(RegisteredFileTypes(), (std::vector<Registration>{Folders}));
    Ref<FileType> type = folder::folders();
    ASSERT_TRUE(type);
    EXPECT_TRUE(type->Registered());
    EXPECT_TRUE(folder::folders() == type);
    EXPECT_TRUE(folder::folders() == folder::pfolders);
}

TEST_F(FolderTypeTest, ConvertingToTextGivesTheNameAndRegistersNothingMore)
{
    folder::_Initialize();
    for (int time = 0; time < 3; ++time)
        EXPECT_EQ(folder::folders()->Operator_Convert(), "folders");
    EXPECT_EQ(RegisteredFileTypes(), (std::vector<Registration>{Folders}));
}

struct TextChange {
    const char* Setter;
    std::function<void(FileType&)> Change;
    Registration Afterwards;
};

TEST_F(FolderTypeTest, EverySetterWithdrawsTheRegistrationAndTheNextConversionRegistersItAnew)
{
    const std::vector<TextChange> rows = {
        {"Name", [](FileType& type) { type.Name("directories"); },
         {"directories", "*****", "folder", ""}},
        {"Name to the same text", [](FileType& type) { type.Name("folders"); }, Folders},
        {"MacCreator", [](FileType& type) { type.MacCreator("QRVN"); }, {"folders", "QRVN", "folder", ""}},
        {"MacType", [](FileType& type) { type.MacType("TEXT"); }, {"folders", "*****", "TEXT", ""}},
        {"Extensions", [](FileType& type) { type.Extensions(".txt;.md"); },
         {"folders", "*****", "folder", ".txt;.md"}},
    };
    for (const TextChange& row : rows) {
        SCOPED_TRACE(row.Setter);
        folder::_Initialize();
        Ref<FileType> type = folder::folders();
        row.Change(*type);
        EXPECT_TRUE(RegisteredFileTypes().empty());
        EXPECT_FALSE(type->Registered());
        EXPECT_TRUE(folder::folders() == type);

        EXPECT_EQ(type->Operator_Convert(), row.Afterwards.Name);
        EXPECT_EQ(RegisteredFileTypes(), (std::vector<Registration>{row.Afterwards}));
        EXPECT_TRUE(type->Registered());
        type.Clear();
        folder::pfolders__Exit();
    }
}

TEST_F(FolderTypeTest, TheEndWithdrawsTheRegistrationAndLetsGoOfTheType)
{
    folder::_Initialize();
    WeakRef<FileType> type(folder::folders());
    folder::pfolders__Exit();
    EXPECT_TRUE(type.Lock().IsNil());
    EXPECT_TRUE(RegisteredFileTypes().empty());
    EXPECT_TRUE(folder::folders().IsNil());
    folder::pfolders__Exit(); // a second end finds nothing to release
    EXPECT_TRUE(folder::folders().IsNil());
}

// What the type saw while it was released.
struct SeenAtExit {
    bool ran = false;
    bool referenceEmpty = false;
    size_t registrations = 0;
};
SeenAtExit g_seen;

class WatchedType : public FileType {
protected:
    WatchedType() = default;
    void __Exit() noexcept override
    {
        g_seen = {true, folder::pfolders.IsNil(), RegisteredFileTypes().size()};
        FileType::__Exit();
    }
};

TEST_F(FolderTypeTest, TheEndEmptiesTheReferenceBeforeTheTypeIsReleased)
{
    g_seen = {};
    folder::pfolders = RuntimeNewObject<WatchedType>();
    folder::pfolders->Name("folders");
    folder::pfolders->MacType("folder");
    EXPECT_EQ(folder::pfolders->Operator_Convert(), "folders");
    folder::pfolders__Exit();
    EXPECT_TRUE(g_seen.ran);
    EXPECT_TRUE(g_seen.referenceEmpty);
    EXPECT_EQ(g_seen.registrations, 1u); // withdrawn by the type's own end, not before it
    EXPECT_TRUE(RegisteredFileTypes().empty());
}

TEST_F(FolderTypeTest, FoldersAdmitsEveryExistingEntrySoThatTheHandlerCanAnswerForFiles)
{
    TemporaryFolder place;
    fs::create_directory(place / "folder");
    fs::create_directory_symlink(place / "folder", place / "link to folder");
    std::ofstream(place / "file") << "text";
    fs::create_symlink(place / "file", place / "link to file");
    fs::create_symlink(place / "nowhere", place / "dangling");

    const std::vector<std::pair<String, bool>> rows = {
        {place / "folder", true},        {place / "link to folder", true}, {place / "folder/", true},
        {place / "file", true},          {place / "link to file", true},   {place / "dangling", true},
        {place / "missing", false},      {"", false},
    };
    folder::_Initialize();
    for (const auto& [path, admitted] : rows)
        EXPECT_EQ(FileTypeAdmits("folders", path), admitted) << path;
}

TEST_F(FolderTypeTest, ATypeThatIsNotRegisteredAdmitsNothing)
{
    TemporaryFolder place;
    const String folderPath = place / "folder";
    fs::create_directory(folderPath);
    EXPECT_FALSE(FileTypeAdmits("folders", folderPath)); // not yet made

    folder::_Initialize();
    EXPECT_FALSE(FileTypeAdmits("documents", folderPath));
    EXPECT_FALSE(FileTypeAdmits("", folderPath));

    folder::folders()->MacCreator("QRVN"); // withdrawn until converted again
    EXPECT_FALSE(FileTypeAdmits("folders", folderPath));
    folder::folders()->Operator_Convert();
    EXPECT_TRUE(FileTypeAdmits("folders", folderPath));

    folder::pfolders__Exit();
    EXPECT_FALSE(FileTypeAdmits("folders", folderPath));
}

} // namespace
} // namespace Quorvane
