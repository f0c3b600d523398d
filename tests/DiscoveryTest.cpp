#include "linking/Discovery.h"

#include "tests/support/Support.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

namespace Quorvane {
namespace {

using namespace Testing;

TEST(Discovery, AnExistingDropboxFolderBecomesTheSyncFolderWithoutAMessage)
{
    TemporaryHome home;
    home.MakeDropbox();
    MessageBoxes boxes;
    auto window = BareWindow();
    window->ReadDropBoxDefaultFolder();
    ASSERT_TRUE(window->DropBoxFolder);
    EXPECT_EQ(window->DropBoxFolder->POSIXPath(), home.Dropbox());
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST(Discovery, AMissingDropboxFolderStillGivesAReferenceToItsPath)
{
    TemporaryHome home;
    MessageBoxes boxes;
    auto window = BareWindow();
    window->ReadDropBoxDefaultFolder();
    ASSERT_TRUE(window->DropBoxFolder);
    EXPECT_EQ(window->DropBoxFolder->POSIXPath(), home.Dropbox());
    EXPECT_FALSE(window->DropBoxFolder->Exists());
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST(Discovery, BlanksInsideTheHomePathStayAndTheBlankAfterTheColonGoes)
{
    TemporaryHome home("my  home ");
    home.MakeDropbox();
    auto window = BareWindow();
    window->ReadDropBoxDefaultFolder();
    ASSERT_TRUE(window->DropBoxFolder);
    EXPECT_EQ(window->DropBoxFolder->POSIXPath(), home.Dropbox());
}

TEST(Discovery, AHomePathHoldingAColonClearsTheSyncFolderWithoutAMessage)
{
    TemporaryHome home("odd:home");
    home.MakeDropbox();
    MessageBoxes boxes;
    auto window = BareWindow();
    window->DropBoxFolder = FolderItem::New("/earlier/Dropbox", 1);
    window->ReadDropBoxDefaultFolder();
    EXPECT_TRUE(window->DropBoxFolder.IsNil());
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST(Discovery, RepliesOfAnotherFormClearTheSyncFolderWithoutAMessage)
{
    const String replies[] = {
        "bash: warning: setlocale: LC_ALL: cannot change locale (xx)\nbash: /home/u/Dropbox/: Is a directory\n",
        "no colon at all\n",
        "one: colon\n",
        "sh: 1: /home/u/Dropbox/: Permission denied\n",
    };
    for (const String& reply : replies) {
        FakeShell shell(reply);
        MessageBoxes boxes;
        auto window = BareWindow();
        window->DropBoxFolder = FolderItem::New("/earlier/Dropbox", 1);
        window->ReadDropBoxDefaultFolder();
        EXPECT_TRUE(window->DropBoxFolder.IsNil()) << reply;
        EXPECT_TRUE(boxes.Texts().empty()) << reply;
    }
}

TEST(Discovery, AThreePieceReplyNamesItsTrimmedMiddlePieceWhetherOrNotItExists)
{
    FakeShell shell("bash: /nowhere/Dropbox/: No such file or directory\n");
    auto window = BareWindow();
    window->ReadDropBoxDefaultFolder();
    ASSERT_TRUE(window->DropBoxFolder);
    EXPECT_EQ(window->DropBoxFolder->POSIXPath(), "/nowhere/Dropbox");
    EXPECT_EQ(shell.Commands(), (std::vector<String>{"~/Dropbox/"}));
}

TEST(Discovery, AnEmptyReplyShowsItsMessageAndKeepsTheEarlierFolder)
{
    FakeShell shell("");
    MessageBoxes boxes;
    auto window = BareWindow();
    window->ReadDropBoxDefaultFolder();
    EXPECT_TRUE(window->DropBoxFolder.IsNil());
    Ref<FolderItem> earlier = FolderItem::New("/earlier/Dropbox", 1);
    window->DropBoxFolder = earlier;
    window->ReadDropBoxDefaultFolder();
    EXPECT_TRUE(window->DropBoxFolder == earlier);
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::EmptyDiscovery, Shown::EmptyDiscovery}));
}

TEST(Discovery, AShellThatCannotStartIsToldWithItsReasonAndKeepsTheEarlierFolder)
{
    TemporaryHome home;
    home.MakeDropbox();
    MessageBoxes boxes;
    auto window = BareWindow();
    for (const Ref<FolderItem>& earlier : {Ref<FolderItem>(), FolderItem::New("/earlier/Dropbox", 1)}) {
        window->DropBoxFolder = earlier;
        {
            ProcessLimitReached limit;
            window->ReadDropBoxDefaultFolder();
        }
        EXPECT_TRUE(window->DropBoxFolder == earlier);
    }
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{ProcessLimitReached::Message(), ProcessLimitReached::Message()}));
    // Once processes can start again, the folder is found.
    window->ReadDropBoxDefaultFolder();
    ASSERT_TRUE(window->DropBoxFolder);
    EXPECT_EQ(window->DropBoxFolder->POSIXPath(), home.Dropbox());
}

TEST(Discovery, AThreePieceReplyThatNamesNoAbsolutePathIsUnusableAndClearsTheSyncFolder)
{
    const String replies[] = {
        "bash:   : Is a directory\n",
        "bash: : Is a directory\n",
        "bash: Dropbox/: Is a directory\n",
        "bash: ~/Dropbox/: Is a directory\n",
        String("bash: /a\0b/: Is a directory\n", 26),
    };
    for (const String& reply : replies) {
        FakeShell shell(reply);
        MessageBoxes boxes;
        auto window = BareWindow();
        window->DropBoxFolder = FolderItem::New("/earlier/Dropbox", 1);
        EXPECT_NO_THROW(window->ReadDropBoxDefaultFolder()) << reply;
        EXPECT_TRUE(window->DropBoxFolder.IsNil()) << reply;
        EXPECT_TRUE(boxes.Texts().empty()) << reply;
    }
}

TEST(Discovery, AReplyOfBytesThatMakeNoCharacterIsStillAReply)
{
    FakeShell shell("\x80\xBF");
    MessageBoxes boxes;
    auto window = BareWindow();
    window->DropBoxFolder = FolderItem::New("/earlier/Dropbox", 1);
    window->ReadDropBoxDefaultFolder();
    EXPECT_TRUE(window->DropBoxFolder.IsNil());
    EXPECT_TRUE(boxes.Texts().empty());
}

} // namespace
} // namespace Quorvane
