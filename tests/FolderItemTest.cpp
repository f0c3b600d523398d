#include "framework/FolderItem.h"

#include "linking/Shell.h"
#include "tests/support/Support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace Quorvane {
namespace {

using Testing::TemporaryFolder;
namespace fs = std::filesystem;

// Names that the shell would read specially if they reached it unescaped.
const std::vector<String> HostileNames = {
    "two words",        "it's",          "say \"hi\"",    "back\\slash",    "$(touch canary)",
    "`touch canary`",   "a;touch canary", "a|b",          "a&b",            "star*",
    "what?",            "[ab]",           "-rf",          "line\nend",      "perch\xC3\xA9",
    "~tilde",           "#hash",          "bang!",        "{a,b}",          "x=y",
    "tab\there",        "dollar$HOME",    "<in>out",      "(paren)",        "caret^",
    String(255, 'n'),
};

TEST(FolderItem, ShellPathIsReadBackByBashAsExactlyThePath)
{
    for (const String& name : HostileNames) {
        const String path = "/some/place/" + name;
        EXPECT_EQ(RunInNewShell("printf '%s' " + FolderItem::New(path, 1)->ShellPath())->Result(), path)
            << "name: " << name;
    }
}

TEST(FolderItem, ShellPathEscapesTheBlankAndDropsTheTrailingSlash)
{
    EXPECT_EQ(FolderItem::New("/home/u/Dropbox/", 1)->ShellPath(), "/home/u/Dropbox");
    EXPECT_EQ(FolderItem::New("/home/u/My Dropbox", 1)->ShellPath(), "/home/u/My\\ Dropbox");
    EXPECT_EQ(FolderItem::New("/", 1)->ShellPath(), "/");
}

TEST(FolderItem, DisplayNameIsTheEntrysOwnName)
{
    EXPECT_EQ(FolderItem::New("/home/u/Projects", 1)->DisplayName(), "Projects");
    EXPECT_EQ(FolderItem::New("/home/u/Projects//", 1)->DisplayName(), "Projects");
    EXPECT_EQ(FolderItem::New("/", 1)->DisplayName(), "/");
}

TEST(FolderItem, OnlyPOSIXPathsThatCanNameAnEntryAreTaken)
{
    EXPECT_THROW(FolderItem::New("/x", 0), UnsupportedFormatException);
    EXPECT_THROW(FolderItem::New("", 1), UnsupportedFormatException);
    EXPECT_THROW(FolderItem::New(String("/a\0b", 4), 1), UnsupportedFormatException);
}

TEST(FolderItem, TryNewAnswersAPathThatNewRefusesWithNothing)
{
    EXPECT_TRUE(FolderItem::TryNew("").IsNil());
    EXPECT_TRUE(FolderItem::TryNew(String("/a\0b", 4)).IsNil());
    EXPECT_EQ(FolderItem::TryNew("/home/u/Projects/")->POSIXPath(), "/home/u/Projects");
    EXPECT_TRUE(FolderItem::New("/home/u", 1)->Child(String("a\0b", 3)).IsNil());
}

TEST(FolderItem, ExistsCountsEveryEntryADanglingLinkIncluded)
{
    TemporaryFolder folder;
    fs::create_directory(folder / "folder");
    std::ofstream(folder / "file") << "x";
    fs::create_symlink(folder / "nowhere", folder / "dangling");
    fs::create_directory_symlink(folder / "folder", folder / "link to folder");

    Ref<FolderItem> root = FolderItem::New(folder.Path().string(), 1);
    struct Row {
        const char* name;
        bool exists;
        bool directory;
    };
    for (const Row& row : {Row{"folder", true, true}, Row{"file", true, false},
                           Row{"dangling", true, false}, Row{"link to folder", true, true},
                           Row{"missing", false, false}}) {
        Ref<FolderItem> child = root->Child(row.name);
        ASSERT_TRUE(child) << row.name;
        EXPECT_EQ(child->Exists(), row.exists) << row.name;
        EXPECT_EQ(child->Directory(), row.directory) << row.name;
    }
}

TEST(FolderItem, ChildYieldsAnItemForEveryNameAnEntryCanBear)
{
    Ref<FolderItem> sync = FolderItem::New("/home/u/Dropbox", 1);
    EXPECT_EQ(sync->Child("it's here")->POSIXPath(), "/home/u/Dropbox/it's here");
    EXPECT_EQ(FolderItem::New("/", 1)->Child("tmp")->POSIXPath(), "/tmp");
    for (const char* impossible : {"", ".", "..", "a/b", "/"})
        EXPECT_TRUE(sync->Child(impossible).IsNil()) << impossible;
}

} // namespace
} // namespace Quorvane
