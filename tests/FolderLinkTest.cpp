#include "tests/support/Support.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace Quorvane {
namespace {

using namespace Testing;
namespace fs = std::filesystem;

// A sync folder, a place for folders to link, and a window that knows the sync folder.
class FolderLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sync = home.MakeDropbox();
        window->DropBoxFolder = FolderItem::New(sync, 1);
    }

    Ref<FolderItem> MakeFolder(const String& name)
    {
        const String path = home.Outside() / name;
        fs::create_directories(path);
        return FolderItem::New(path, 1);
    }

    // Links each folder in turn and expects every one refused as holding the sync folder, with
    // no command run.
    void ExpectEachRefusedAsHoldingTheSyncFolder(const std::vector<String>& paths)
    {
        FakeShell shell;
        for (const String& path : paths) {
            boxes.Clear();
            window->CreateSimLink(FolderItem::New(path, 1));
            EXPECT_EQ(boxes.Texts(), (std::vector<String>{"Collegamento non creato"})) << path;
        }
        EXPECT_TRUE(shell.Commands().empty());
    }

    TemporaryHome home;
    String sync;
    Ref<TestWindow> window = BareWindow();
    MessageBoxes boxes;
};

TEST_F(FolderLinkTest, ALinkToTheFolderIsMadeUnderItsNameAndSuccessIsShown)
{
    Ref<FolderItem> folder = MakeFolder("Projects");
    window->CreateSimLink(folder);
    EXPECT_EQ(LinkTarget(sync + "/Projects"), folder->POSIXPath());
    EXPECT_TRUE(fs::equivalent(sync + "/Projects", folder->POSIXPath()));
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success}));
}

TEST_F(FolderLinkTest, ASecondLinkOfTheSameFolderIsRefusedWithoutRunningACommand)
{
    Ref<FolderItem> folder = MakeFolder("Projects");
    window->CreateSimLink(folder);
    FakeShell shell;
    window->CreateSimLink(folder);
    EXPECT_TRUE(shell.Commands().empty());
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success, Shown::Exists}));
}

TEST_F(FolderLinkTest, AnyEntryOfThatNameBlocksTheLinkAndIsLeftAsItWas)
{
    Ref<FolderItem> folder = MakeFolder("Projects");
    std::ofstream(sync + "/Projects") << "keep me";
    FakeShell shell;
    window->CreateSimLink(folder);
    EXPECT_EQ(ReadFile(sync + "/Projects"), "keep me");

    fs::remove(sync + "/Projects");
    fs::create_symlink("/nowhere/at/all", sync + "/Projects");
    window->CreateSimLink(folder);
    EXPECT_EQ(LinkTarget(sync + "/Projects"), "/nowhere/at/all");

    fs::remove(sync + "/Projects");
    fs::create_directory(sync + "/Projects");
    window->CreateSimLink(folder);
    EXPECT_TRUE(fs::is_empty(sync + "/Projects"));

    EXPECT_TRUE(shell.Commands().empty());
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Exists, Shown::Exists, Shown::Exists}));
}

TEST_F(FolderLinkTest, HostileNamesAndPathsGiveALinkToExactlyThatFolderAndRunNothingElse)
{
    const String names[] = {
        "two words",     "it's",          "say \"hi\"",     "back\\slash",   "$(touch canary)",
        "`touch canary`", "a;touch canary", "a|touch canary", "a&touch canary", "star*",
        "what?",         "[ab]",          "-rf",            "line\nend",     "perch\xC3\xA9",
        "~tilde",        "#hash",         "'; touch canary; '", "\\'",        "tab\there",
        String(255, 'n'),
    };
    const fs::path previous = fs::current_path();
    fs::current_path(home.Outside().Path());
    for (const String& name : names) {
        Ref<FolderItem> folder = MakeFolder("in " + String(name.size() > 200 ? "long" : name) + "/" + name);
        boxes.Clear();
        window->CreateSimLink(folder);
        EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success})) << name;
        EXPECT_EQ(LinkTarget(sync + "/" + name), folder->POSIXPath()) << name;
    }
    fs::current_path(previous);
    EXPECT_FALSE(fs::exists(home.Outside() / "canary"));
    EXPECT_FALSE(fs::exists(sync + "/canary"));
    size_t links = 0;
    for (const auto& entry : fs::directory_iterator(sync))
        links += entry.is_symlink() ? 1u : 0u;
    EXPECT_EQ(links, std::size(names));
}

TEST_F(FolderLinkTest, ASyncFolderPathWithSpecialCharactersStillReceivesTheLink)
{
    for (const String& odd : {String("odd 'home' $(x)"), String("new\nline")}) {
        TemporaryHome oddHome(odd);
        const String oddSync = oddHome.MakeDropbox();
        window->DropBoxFolder = FolderItem::New(oddSync, 1);
        Ref<FolderItem> folder = MakeFolder("Projects");
        boxes.Clear();
        window->CreateSimLink(folder);
        EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success})) << odd;
        EXPECT_EQ(LinkTarget(oddSync + "/Projects"), folder->POSIXPath()) << odd;
    }
}

TEST_F(FolderLinkTest, AFailingLnIsReportedWithItsComplaintWordForWord)
{
    Ref<FolderItem> folder = MakeFolder("Projects");
    window->DropBoxFolder = FolderItem::New(home.Path() + "/Missing", 1);
    window->CreateSimLink(folder);
    std::ofstream(home.Path() + "/plain") << "x";
    window->DropBoxFolder = FolderItem::New(home.Path() + "/plain", 1);
    window->CreateSimLink(folder);
    EXPECT_EQ(boxes.Texts(),
              (std::vector<String>{
                  "Errore imprevisto\nln: failed to create symbolic link '" + home.Path() +
                      "/Missing/Projects': No such file or directory\n",
                  "Errore imprevisto\nln: failed to create symbolic link '" + home.Path() +
                      "/plain/Projects': Not a directory\n"}));
}

TEST_F(FolderLinkTest, AShellThatCannotStartIsToldWithItsReasonAndTheNextLinkIsMade)
{
    Ref<FolderItem> folder = MakeFolder("Projects");
    {
        ProcessLimitReached limit;
        window->CreateSimLink(folder);
    }
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{ProcessLimitReached::Message()}));
    EXPECT_TRUE(fs::is_empty(sync));
    window->CreateSimLink(folder);
    EXPECT_EQ(LinkTarget(sync + "/Projects"), folder->POSIXPath());
}

TEST_F(FolderLinkTest, AReadOnlySyncFolderIsReportedWithTheComplaintOfLn)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write into a read-only folder";
    Ref<FolderItem> folder = MakeFolder("Projects");
    fs::permissions(sync, fs::perms::owner_read | fs::perms::owner_exec);
    window->CreateSimLink(folder);
    EXPECT_EQ(boxes.Texts(),
              (std::vector<String>{"Errore imprevisto\nln: failed to create symbolic link '" +
                                   sync + "/Projects': Permission denied\n"}));
}

TEST_F(FolderLinkTest, TheCommandTextOfAPlainFolderIsTheLnOfItsQuotedPathAndName)
{
    FakeShell shell("");
    window->DropBoxFolder = FolderItem::New("/Users/user/Dropbox", 1);
    window->CreateSimLink(FolderItem::New("/Users/user/Projects", 1));
    window->DropBoxFolder = FolderItem::New("/Users/user/My Dropbox", 1);
    window->CreateSimLink(FolderItem::New("/Users/user/My Projects", 1));
    EXPECT_EQ(shell.Commands(),
              (std::vector<String>{"ln -sT '/Users/user/Projects' /Users/user/Dropbox/'Projects'",
                                   "ln -sT '/Users/user/My Projects' /Users/user/My\\ Dropbox/'My Projects'"}));
}

TEST_F(FolderLinkTest, TheOutputAloneDecidesTheOutcome)
{
    struct Row {
        String output;
        String message;
    };
    for (const Row& row : {Row{"", Shown::Success}, Row{"\n", "Errore imprevisto\n\n"},
                           Row{"\x80\xBF", "Errore imprevisto\n\x80\xBF"},
                           Row{"ln: warning\n", "Errore imprevisto\nln: warning\n"}}) {
        FakeShell shell(row.output);
        boxes.Clear();
        window->CreateSimLink(MakeFolder("Projects"));
        EXPECT_EQ(boxes.Texts(), (std::vector<String>{row.message})) << row.output;
    }
}

TEST_F(FolderLinkTest, AFolderThatIsOrHoldsTheSyncFolderIsRefusedAndNothingIsMade)
{
    const String alias = home.Outside() / "to home";
    fs::create_directory_symlink(home.Path(), alias);
    const String linkedSync = home.Outside() / "to sync";
    fs::create_directory_symlink(sync, linkedSync);
    ExpectEachRefusedAsHoldingTheSyncFolder(
        {sync, sync + "/", home.Path(), "/", alias, linkedSync,
         home.Path() + "/../" + home.Path().substr(home.Path().rfind('/') + 1)});
    EXPECT_TRUE(fs::is_empty(sync));
}

TEST_F(FolderLinkTest, ASyncFolderReachedThroughALinkIsHeldByTheFoldersOnBothSidesOfTheLink)
{
    // The sync folder on a second disk: ~/Dropbox -> <data>/Dropbox.
    const String data = home.Outside() / "data";
    const String target = data + "/Dropbox";
    fs::create_directories(target);
    fs::remove(sync);
    fs::create_directory_symlink(target, sync);
    const String alias = home.Outside() / "to home";
    fs::create_directory_symlink(home.Path(), alias);
    ExpectEachRefusedAsHoldingTheSyncFolder(
        {home.Path(), fs::path(home.Path()).parent_path().string(), "/", alias, sync, data, target});
    EXPECT_TRUE(fs::is_empty(target));

    // A folder beside the sync folder on either side is linked as any other.
    for (const String& path : {data + "/Photos", home.Path() + "/Documents"}) {
        fs::create_directory(path);
        boxes.Clear();
        window->CreateSimLink(FolderItem::New(path, 1));
        EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success})) << path;
        EXPECT_EQ(LinkTarget(target + "/" + fs::path(path).filename().string()), path);
    }
}

TEST_F(FolderLinkTest, AnEntryThatAppearsUnderTheNameJustBeforeLnRunsIsNeitherEnteredNorReplaced)
{
    // An ln earlier in PATH makes the entry, as the sync client might, and then runs the real ln.
    const String bin = home.Outside() / "bin";
    fs::create_directory(bin);
    const String elsewhere = home.Outside() / "elsewhere";
    fs::create_directory(elsewhere);
    struct Row {
        const char* what;
        String makeEntry;
        std::optional<String> linkTarget;
    };
    const Row rows[] = {
        {"a folder", "mkdir -- \"$link\"", std::nullopt},
        {"a link to a folder", "/bin/ln -s -- '" + elsewhere + "' \"$link\"", elsewhere},
    };
    const String path = std::getenv("PATH");
    EnvironmentChange inFront(EnvironmentChange::Variables{{"PATH", bin + ":" + path}});
    Ref<FolderItem> folder = MakeFolder("Projects");
    for (const Row& row : rows) {
        std::ofstream(bin + "/ln") << "#!/bin/bash\nlink=${@: -1}\n" << row.makeEntry
                                   << "\nexec -a ln /bin/ln \"$@\"\n";
        fs::permissions(bin + "/ln", fs::perms::owner_all);
        boxes.Clear();
        window->CreateSimLink(folder);
        EXPECT_EQ(boxes.Texts(), (std::vector<String>{"Errore imprevisto\nln: failed to create symbolic link '" +
                                                      sync + "/Projects': File exists\n"}))
            << row.what;
        // The entry is left as it appeared, and nothing is made inside it or where it leads.
        EXPECT_EQ(LinkTarget(sync + "/Projects"), row.linkTarget) << row.what;
        EXPECT_TRUE(fs::is_empty(sync + "/Projects")) << row.what;
        EXPECT_TRUE(fs::is_empty(elsewhere)) << row.what;
        fs::remove(sync + "/Projects");
    }
}

TEST_F(FolderLinkTest, AFolderWhoseNameCannotNameAnEntryShowsTheErrorWithoutACommand)
{
    MakeFolder("Projects");
    FakeShell shell;
    window->CreateSimLink(FolderItem::New(home.Outside() / "Projects/..", 1));
    EXPECT_TRUE(shell.Commands().empty());
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{"Errore imprevisto"}));
    EXPECT_TRUE(fs::is_empty(sync));
}

TEST_F(FolderLinkTest, FoldersBesideOrInsideTheSyncFolderAreLinkedAsAnyOther)
{
    // Beside it, with a name that begins like it; and a folder deep inside it.
    const String beside = home.Path() + "/Dropbox2";
    fs::create_directory(beside);
    const String inside = sync + "/Work/Projects";
    fs::create_directories(inside);
    for (const String& path : {beside, inside}) {
        boxes.Clear();
        window->CreateSimLink(FolderItem::New(path, 1));
        EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success})) << path;
    }
    EXPECT_EQ(LinkTarget(sync + "/Dropbox2"), beside);
    EXPECT_EQ(LinkTarget(sync + "/Projects"), inside);
}

TEST_F(FolderLinkTest, QuotingHoldsInADoubleByteLocaleWhoseSecondBytesIncludeShellMarks)
{
    // In GBK the bytes B9 7C are one character whose second byte is "|"; a shell reading GBK
    // would take the backslash before the "|" as part of the character and the "|" as a pipe.
    ASSERT_TRUE(LocaleIsInstalled("zh_CN.GBK")) << "zh_CN.GBK is missing: run scripts/setup-debian";
    EnvironmentChange gbk(EnvironmentChange::Variables{{"LC_ALL", "zh_CN.GBK"}});
    TemporaryHome gbkHome("home\xB9|");
    const String gbkSync = gbkHome.MakeDropbox();
    window->DropBoxFolder = FolderItem::New(gbkSync, 1);
    Ref<FolderItem> folder = MakeFolder("Projects");
    window->CreateSimLink(folder);
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success}));
    EXPECT_EQ(LinkTarget(gbkSync + "/Projects"), folder->POSIXPath());
    size_t beside = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(gbkHome.Path()).parent_path()))
        beside += entry.path().filename() != fs::path(gbkHome.Path()).filename() ? 1u : 0u;
    EXPECT_EQ(beside, 0u) << "something was made beside the home folder";
}

} // namespace
} // namespace Quorvane
