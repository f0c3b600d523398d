#include "tests/support/OpenedWindow.h"
#include "tests/support/Support.h"

#include <QSysInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace Quorvane {
namespace {

using namespace Testing;
namespace fs = std::filesystem;

// A home with a sync folder, a folder and a file to drop, and the message boxes of the test.
class DropHandlingTest : public ::testing::Test {
protected:
    DropHandlingTest()
    {
        sync = home.MakeDropbox();
        folder = home.Outside() / "Projects";
        fs::create_directory(folder);
        file = home.Outside() / "notes.txt";
        std::ofstream(file) << "notes";
    }

    // Drops the data in the middle of the logo and lets the queued drop run.
    DragOutcome DropOnLogo(const OpenedWindow& opened, const QMimeData& data)
    {
        DragOutcome outcome = DragAndDrop(opened.TopLevel(), opened.OnCanvas({150, 50}), data);
        ProcessEvents();
        return outcome;
    }

    TemporaryHome home;
    String sync;
    String folder;
    String file;
    MessageBoxes boxes;
};

// The data of a drag that carries the addresses exactly as written.
std::unique_ptr<QMimeData> Addresses(const String& addresses)
{
    auto data = std::make_unique<QMimeData>();
    data->setData("text/uri-list", QByteArray::fromStdString(addresses + "\r\n"));
    return data;
}

TEST_F(DropHandlingTest, DragsThatCarryNoEntryOfThisMachinesFileSystemAreRefusedAtThePointer)
{
    OpenedWindow opened;
    FakeShell shell;
    // A relative address would be read against the working folder, where a Projects may be.
    const fs::path previous = fs::current_path();
    fs::current_path(home.Outside().Path());
    auto text = std::make_unique<QMimeData>();
    text->setText("/just/some/text");
    const std::pair<const char*, std::unique_ptr<QMimeData>> rows[] = {
        {"text", std::move(text)},
        {"a web address", Addresses("https://example.org/folder/")},
        {"a missing folder", LocalEntries({home.Outside() / "gone"})},
        {"a relative address", Addresses("file:Projects")},
        {"a relative address with a dot", Addresses("file:./Projects")},
        {"a folder of another machine", Addresses("file://fileserver.example" + folder)},
        {"a folder of another machine named like a path", Addresses("file://tmp" + folder)},
    };
    for (const auto& [what, data] : rows) {
        const DragOutcome outcome = DropOnLogo(opened, *data);
        EXPECT_FALSE(outcome.entered) << what;
        EXPECT_FALSE(outcome.moved) << what;
        EXPECT_FALSE(outcome.dropped) << what;
    }
    fs::current_path(previous);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(shell.Commands().empty());
    EXPECT_TRUE(fs::is_empty(sync));
}

TEST_F(DropHandlingTest, ADragIsTakenAsALinkOrACopyAndNeverAsAMove)
{
    OpenedWindow opened;
    struct Row {
        Qt::DropActions offered;
        Qt::DropAction taken; // IgnoreAction: refused at enter, move and drop
    };
    const Row rows[] = {
        {Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::LinkAction},
        {Qt::MoveAction | Qt::LinkAction, Qt::LinkAction},
        {Qt::CopyAction | Qt::MoveAction, Qt::CopyAction},
        {Qt::CopyAction, Qt::CopyAction},
        {Qt::MoveAction, Qt::IgnoreAction},
    };
    for (const Row& row : rows) {
        boxes.Clear();
        const DragOutcome outcome =
            DragAndDrop(opened.TopLevel(), opened.OnCanvas({150, 50}), *LocalEntries({folder}), row.offered);
        ProcessEvents();
        const bool taken = row.taken != Qt::IgnoreAction;
        EXPECT_EQ(outcome.entered, taken) << row.offered.toInt();
        EXPECT_EQ(outcome.moved, taken) << row.offered.toInt();
        EXPECT_EQ(outcome.dropped, taken) << row.offered.toInt();
        EXPECT_EQ(outcome.action, row.taken) << row.offered.toInt();
        EXPECT_EQ(boxes.Texts(), taken ? std::vector<String>{Shown::Success} : std::vector<String>{})
            << row.offered.toInt();
        EXPECT_EQ(LinkTarget(sync + "/Projects"), taken ? std::optional<String>(folder) : std::nullopt)
            << row.offered.toInt();
        fs::remove(sync + "/Projects");
    }
}

TEST_F(DropHandlingTest, ThePointerJudgesTheFirstAddressOfTheListWhichTheHandlerUses)
{
    OpenedWindow opened;
    FakeShell shell;
    const String local = "file://" + folder;
    struct Row {
        const char* what;
        String list;
        bool linked; // else refused at the pointer, with nothing shown and nothing run
    };
    const Row rows[] = {
        {"another machine's folder first", "file://fileserver.example" + folder + "\r\n" + local, false},
        {"a web address first", "https://example.org/\r\n" + local, false},
        {"a missing entry first", "file://" + home.Outside() / "gone" + "\r\n" + local, false},
        {"a relative address first", "file:Projects\r\n" + local, false},
        {"a comment line first", "# dragged from somewhere\r\n" + local, true},
        {"blank lines and comments first", "\r\n#one\r\n  \r\n#two\r\n" + local, true},
        {"lines ended by line feeds alone", "#one\n" + local + "\n", true},
        {"only comments", "#" + local + "\r\n# " + local, false},
    };
    for (const Row& row : rows) {
        boxes.Clear();
        const DragOutcome outcome = DropOnLogo(opened, *Addresses(row.list));
        EXPECT_EQ(outcome.entered, row.linked) << row.what;
        EXPECT_EQ(outcome.moved, row.linked) << row.what;
        EXPECT_EQ(outcome.dropped, row.linked) << row.what;
        EXPECT_EQ(boxes.Texts(), row.linked ? std::vector<String>{Shown::Success} : std::vector<String>{})
            << row.what;
        EXPECT_EQ(LinkTarget(sync + "/Projects"), row.linked ? std::optional<String>(folder) : std::nullopt)
            << row.what;
        fs::remove(sync + "/Projects");
    }
    EXPECT_EQ(shell.Commands().size(), 6u);
}

TEST_F(DropHandlingTest, AddressesOfThisMachineInEveryFormAFileManagerSendsAreLinked)
{
    OpenedWindow opened;
    const String rows[] = {
        "file://" + folder,
        "file:" + folder,
        "file://localhost" + folder,
        "file://LOCALHOST" + folder,
        "file://" + QSysInfo::machineHostName().toStdString() + folder,
    };
    for (const String& address : rows) {
        boxes.Clear();
        EXPECT_TRUE(DropOnLogo(opened, *Addresses(address)).dropped) << address;
        EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success})) << address;
        EXPECT_EQ(LinkTarget(sync + "/Projects"), folder) << address;
        fs::remove(sync + "/Projects");
    }
}

TEST_F(DropHandlingTest, AFileIsAdmittedAtThePointerAndRefusedWithItsMessageWithoutACommand)
{
    OpenedWindow opened;
    FakeShell shell;
    const DragOutcome outcome = DropOnLogo(opened, *LocalEntries({file}));
    EXPECT_TRUE(outcome.entered);
    EXPECT_TRUE(outcome.moved);
    EXPECT_TRUE(outcome.dropped);
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::OnlyFolders}));
    EXPECT_TRUE(shell.Commands().empty());
    EXPECT_TRUE(fs::is_empty(sync));
}

TEST_F(DropHandlingTest, TheSyncFolderOrAFolderHoldingItIsRefusedAndNothingIsMade)
{
    OpenedWindow opened;
    for (const String& path : {sync, home.Path(), String("/")}) {
        boxes.Clear();
        EXPECT_TRUE(DropOnLogo(opened, *LocalEntries({path})).dropped) << path;
        EXPECT_EQ(boxes.Texts(), (std::vector<String>{"Collegamento non creato"})) << path;
    }
    EXPECT_TRUE(fs::is_empty(sync));
}

TEST_F(DropHandlingTest, ADroppedFolderIsAdmittedAtThePointerAndBecomesALink)
{
    OpenedWindow opened;
    FakeShell shell;
    const DragOutcome outcome = DropOnLogo(opened, *LocalEntries({folder}));
    EXPECT_TRUE(outcome.entered);
    EXPECT_TRUE(outcome.moved);
    EXPECT_TRUE(outcome.dropped);
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success}));
    EXPECT_EQ(LinkTarget(sync + "/Projects"), folder);
    ASSERT_EQ(shell.Commands().size(), 2u);
    EXPECT_EQ(shell.Commands()[0], "~/Dropbox/");
    ASSERT_TRUE(opened.Window()->mFolderCocoa);
    EXPECT_EQ(opened.Window()->mFolderCocoa->POSIXPath(), folder);
}

TEST_F(DropHandlingTest, TheDropIsHandledOnlyOnceQtsDropEventHasReturned)
{
    OpenedWindow opened;
    const DragOutcome outcome =
        DragAndDrop(opened.TopLevel(), opened.OnCanvas({150, 50}), *LocalEntries({folder}));
    EXPECT_TRUE(outcome.dropped);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_FALSE(fs::exists(fs::symlink_status(sync + "/Projects")));
    ProcessEvents();
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success}));
}

TEST_F(DropHandlingTest, OnlyTheFirstItemOfADropIsHandled)
{
    OpenedWindow opened;
    FakeShell shell;
    const String second = home.Outside() / "Second";
    fs::create_directory(second);
    auto webFirst = std::make_unique<QMimeData>();
    webFirst->setUrls({QUrl("https://example.org/"), QUrl::fromLocalFile(QString::fromStdString(folder))});

    DropOnLogo(opened, *LocalEntries({file, folder}));
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::OnlyFolders}));
    EXPECT_TRUE(shell.Commands().empty());

    boxes.Clear();
    EXPECT_FALSE(DropOnLogo(opened, *webFirst).dropped);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(shell.Commands().empty());

    DropOnLogo(opened, *LocalEntries({folder, second, file}));
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success}));
    EXPECT_EQ(LinkTarget(sync + "/Projects"), folder);
    EXPECT_FALSE(fs::exists(fs::symlink_status(sync + "/Second")));
}

TEST_F(DropHandlingTest, AFolderWhoseNameIsNotUtf8IsLinkedByteForByte)
{
    OpenedWindow opened;
    const String name = "caf\xE9 \xFF";
    fs::create_directory(home.Outside() / name);
    QMimeData data;
    data.setData("text/uri-list",
                 QByteArray::fromStdString("file://" + home.Outside().Path().string() + "/caf%E9%20%FF\r\n"));
    EXPECT_TRUE(DropOnLogo(opened, data).dropped);
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success}));
    EXPECT_EQ(LinkTarget(sync + "/" + name), home.Outside() / name);
}

TEST_F(DropHandlingTest, AReplyOfAnotherFormShowsTheErrorAlone)
{
    TemporaryHome oddHome("odd:home");
    oddHome.MakeDropbox();
    OpenedWindow opened;
    EXPECT_TRUE(opened.Window()->DropBoxFolder.IsNil());
    FakeShell shell;
    DropOnLogo(opened, *LocalEntries({folder}));
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Error}));
    EXPECT_EQ(shell.Commands(), (std::vector<String>{"~/Dropbox/"}));
}

TEST_F(DropHandlingTest, AnEmptyReplyWithNoFolderKnownShowsTheDiscoveryMessageThenTheError)
{
    FakeShell shell("", "~/Dropbox/");
    OpenedWindow opened;
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::EmptyDiscovery}));
    boxes.Clear();
    DropOnLogo(opened, *LocalEntries({folder}));
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::EmptyDiscovery, Shown::Error}));
    EXPECT_FALSE(fs::exists(fs::symlink_status(sync + "/Projects")));
}

TEST_F(DropHandlingTest, AnEmptyReplyAfterAnEarlierDiscoveryLinksIntoTheEarlierFolder)
{
    OpenedWindow opened;
    FakeShell shell("", "~/Dropbox/");
    DropOnLogo(opened, *LocalEntries({folder}));
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::EmptyDiscovery, Shown::Success}));
    EXPECT_EQ(LinkTarget(sync + "/Projects"), folder);
}

TEST_F(DropHandlingTest, ASyncFolderMissingOnDiskGetsTheLinkCommandAndItsComplaint)
{
    fs::remove(sync);
    OpenedWindow opened;
    DropOnLogo(opened, *LocalEntries({folder}));
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{"Errore imprevisto\nln: failed to create symbolic link '" +
                                                  sync + "/Projects': No such file or directory\n"}));
}

TEST_F(DropHandlingTest, AShellThatCannotStartIsToldAtEachStepAndTheProgramGoesOn)
{
    OpenedWindow opened;
    const DragOutcome outcome =
        DragAndDrop(opened.TopLevel(), opened.OnCanvas({150, 50}), *LocalEntries({folder}));
    EXPECT_TRUE(outcome.dropped);
    {
        // The handler runs from the event loop, with no process to be had: the discovery and
        // then the link with the folder known before each say why they could not run.
        ProcessLimitReached limit;
        ProcessEvents();
    }
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{ProcessLimitReached::Message(), ProcessLimitReached::Message()}));
    EXPECT_TRUE(fs::is_empty(sync));
    boxes.Clear();
    DropOnLogo(opened, *LocalEntries({folder}));
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{Shown::Success}));
    EXPECT_EQ(LinkTarget(sync + "/Projects"), folder);
}

TEST_F(DropHandlingTest, ADropOutsideTheLogoIsRefused)
{
    OpenedWindow opened;
    for (QPoint outside : {QPoint(-4, 50), QPoint(-1, 50), QPoint(150, -2), QPoint(150, -1)}) {
        const DragOutcome outcome =
            DragAndDrop(opened.TopLevel(), opened.OnCanvas(outside), *LocalEntries({folder}));
        ProcessEvents();
        EXPECT_FALSE(outcome.entered);
        EXPECT_FALSE(outcome.dropped);
    }
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_FALSE(fs::exists(fs::symlink_status(sync + "/Projects")));
}

} // namespace
} // namespace Quorvane
