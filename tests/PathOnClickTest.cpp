#include "framework/Text.h"
#include "tests/support/OpenedWindow.h"
#include "tests/support/Support.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <filesystem>

namespace Quorvane {
namespace {

using namespace Testing;
namespace fs = std::filesystem;

// Presses the mouse on the logo as Qt delivers a press; true when the canvas claimed it.
bool ClickLogo(const OpenedWindow& opened)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(120, 40), QPointF(120, 40),
                      opened.Canvas().mapToGlobal(QPointF(120, 40)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&opened.Canvas(), &press);
    return press.isAccepted();
}

TEST(PathOnClick, AClickWhileNoSyncFolderIsKnownRunsNothing)
{
    TemporaryHome home("odd:home");
    OpenedWindow opened;
    ASSERT_TRUE(opened.Window()->DropBoxFolder.IsNil());
    MessageBoxes boxes;
    FakeShell shell;
    EXPECT_FALSE(ClickLogo(opened));
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(shell.Commands().empty());
}

TEST(PathOnClick, AClickShowsTheShellPathOfTheRediscoveredFolder)
{
    TemporaryHome home("my home");
    home.MakeDropbox();
    OpenedWindow opened;
    Ref<FolderItem> before = opened.Window()->DropBoxFolder;
    MessageBoxes boxes;
    EXPECT_FALSE(ClickLogo(opened));
    const String shellPath = ReplaceAll(home.Dropbox(), " ", "\\ ");
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::PathMessage + shellPath}));
    EXPECT_FALSE(opened.Window()->DropBoxFolder == before); // a new item for the same path
    EXPECT_EQ(opened.Window()->DropBoxFolder->POSIXPath(), home.Dropbox());
}

TEST(PathOnClick, AClickAfterTheFolderWasRemovedStillShowsItsPath)
{
    TemporaryHome home;
    home.MakeDropbox();
    OpenedWindow opened;
    fs::remove(home.Dropbox());
    MessageBoxes boxes;
    EXPECT_FALSE(ClickLogo(opened));
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::PathMessage + home.Dropbox()}));
}

TEST(PathOnClick, RepliesThatNameNoFolderKeepTheKnownOne)
{
    TemporaryHome home;
    home.MakeDropbox();
    OpenedWindow opened;
    const Ref<FolderItem> known = opened.Window()->DropBoxFolder;
    ASSERT_TRUE(known);
    struct Row {
        String reply;
        std::vector<String> messages;
    };
    for (const Row& row : {Row{"bash: line 1: /x/Dropbox/: Is a directory\n", {}},
                           Row{"no colon\n", {}},
                           Row{"bash:  : Is a directory\n", {}},
                           Row{"\xBF", {}},
                           Row{"", {Shown::EmptyClick}}}) {
        FakeShell shell(row.reply);
        MessageBoxes boxes;
        EXPECT_FALSE(ClickLogo(opened)) << row.reply;
        EXPECT_EQ(boxes.Texts(), row.messages) << row.reply;
        EXPECT_TRUE(opened.Window()->DropBoxFolder == known) << row.reply;
        EXPECT_EQ(shell.Commands(), (std::vector<String>{"~/Dropbox/"}));
    }
}

TEST(PathOnClick, AShellThatCannotStartIsToldWithItsReasonAndTheKnownFolderStays)
{
    TemporaryHome home;
    home.MakeDropbox();
    OpenedWindow opened;
    const Ref<FolderItem> known = opened.Window()->DropBoxFolder;
    ASSERT_TRUE(known);
    MessageBoxes boxes;
    {
        ProcessLimitReached limit;
        EXPECT_FALSE(ClickLogo(opened));
    }
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{ProcessLimitReached::Message()}));
    EXPECT_TRUE(opened.Window()->DropBoxFolder == known);
}

} // namespace
} // namespace Quorvane
