#include "window/Window_main.h"

#include "tests/support/Support.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

namespace Quorvane {
namespace {

using namespace Testing;
namespace fs = std::filesystem;

// The main window with the operations that do nothing opened to the tests.
class IdleOperationsWindow : public TestWindow {
public:
    using Window_main::GetHostName;
    using Window_main::GetLoggedInUserName;
    using Window_main::LaunchAsAdministrator;
};

const std::vector<String> OwnOperations = {
    "Layout",         "CreateControls",      "_CreateControls0",    "Canvas1",
    "Canvas1_Open",   "Canvas1_DropObject",  "Canvas1_MouseDown",   "Canvas1_Paint",
    "Event_Open",     "Event_Close",         "ReadDropBoxDefaultFolder", "GetLoggedInUserName",
    "GetHostName",    "LaunchAsAdministrator", "CreateSimLink",     "CreateSymLinkWin32"};

const std::vector<String> HookedEvents = {"Layout", "CreateControls", "Open", "Close"};

TEST(Window_main, ANewWindowHoldsNothing)
{
    auto window = BareWindow();
    EXPECT_TRUE(window->mPicture.IsNil());
    EXPECT_TRUE(window->DropBoxFolder.IsNil());
    EXPECT_TRUE(window->mFolderCocoa.IsNil());
}

TEST(Window_main, TheIdleOperationsAnswerNothingAndChangeNothing)
{
    TemporaryFolder place;
    fs::create_directory(place / "source");
    Ref<FolderItem> source = FolderItem::New(place / "source", FolderItem::PathModePOSIX);
    Ref<FolderItem> target = FolderItem::New(place / "target", FolderItem::PathModePOSIX);
    Ref<IdleOperationsWindow> window = RuntimeNewObject<IdleOperationsWindow>();
    MessageBoxes boxes;
    FakeShell shell;

    EXPECT_EQ(window->GetLoggedInUserName(), "");
    EXPECT_EQ(window->GetHostName(), "");

    const std::vector<std::pair<Ref<FolderItem>, Ref<FolderItem>>> pairs = {
        {nullptr, nullptr}, {source, nullptr}, {nullptr, target}, {source, target}, {target, source}};
    for (const auto& [from, to] : pairs)
        EXPECT_FALSE(window->CreateSymLinkWin32(from, to));

    window->LaunchAsAdministrator(source, {"-c", "touch " + (place / "launched")});
    window->LaunchAsAdministrator(nullptr, {});

    EXPECT_FALSE(target->Exists());
    EXPECT_FALSE(fs::exists(place / "launched"));
    EXPECT_TRUE(fs::is_empty(place / "source"));
    EXPECT_TRUE(window->mPicture.IsNil());
    EXPECT_TRUE(window->DropBoxFolder.IsNil());
    EXPECT_TRUE(window->mFolderCocoa.IsNil());
    EXPECT_EQ(window->Title(), "");
    EXPECT_TRUE(window->Canvas1().IsNil());
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(shell.Commands().empty());
}

TEST(Window_main, TheClassIsNamedAfterItsModuleAndAddsItsOperationsAfterTheWindows)
{
    const ClassDescription& description = Window_main::Description();
    EXPECT_EQ(description.Name, "Window_main.Window_main");
    EXPECT_EQ(description.Base, &Window::Description());
    std::vector<String> expected = Window::Description().MethodTable();
    expected.insert(expected.end(), OwnOperations.begin(), OwnOperations.end());
    EXPECT_EQ(description.MethodTable(), expected);
}

TEST(Window_main, TheClassHooksLayoutCreateControlsOpenAndCloseAndNoOtherEvent)
{
    const ClassDescription& description = Window_main::Description();
    std::vector<String> hooked;
    for (const EventHook& hook : description.EventHooks)
        hooked.push_back(hook.Event);
    EXPECT_EQ(hooked, HookedEvents);

    ASSERT_FALSE(Window::Description().Events.empty());
    for (const String& event : Window::Description().Events) {
        SCOPED_TRACE(event);
        EXPECT_EQ(Window::Description().HookFor(event), nullptr);
        const bool expectHook =
            std::find(HookedEvents.begin(), HookedEvents.end(), event) != HookedEvents.end();
        EXPECT_EQ(description.HookFor(event) != nullptr, expectHook);
    }
    for (const char* event : {"Paint", "MouseDown", "DropObject", "Resized", "Activate", ""})
        EXPECT_EQ(description.HookFor(event), nullptr) << event;
}

TEST(Window_main, TheLayoutAndCreateControlsHooksRunTheirOperations)
{
    auto window = BareWindow();
    Window_main::Description().HookFor("Layout")->Run(*window);
    EXPECT_EQ(window->Title(), "Quorvane");
    EXPECT_EQ(window->Width(), 423);
    EXPECT_TRUE(window->Canvas1().IsNil());

    Window_main::Description().HookFor("CreateControls")->Run(*window);
    ASSERT_TRUE(window->Canvas1());
    EXPECT_EQ(window->Canvas1()->Name(), "Canvas1");
    EXPECT_EQ(window->Canvas1()->Width(), 417);
}

TEST(Window_main, OnlyTheControlMakerIsHiddenAndOnlyTheFourHelpersAreProtected)
{
    const ClassDescription& description = Window_main::Description();
    const std::set<String> protectedMembers = {"ReadDropBoxDefaultFolder", "GetLoggedInUserName",
                                               "GetHostName", "LaunchAsAdministrator"};
    std::vector<String> methods;
    std::vector<String> properties;
    for (const MemberRecord& member : description.Members) {
        SCOPED_TRACE(member.Name);
        (member.What == MemberRecord::Kind::Method ? methods : properties).push_back(member.Name);
        EXPECT_EQ(member.Attributes, member.Name == "_CreateControls0" ? std::vector<String>{"Hidden"}
                                                                       : std::vector<String>{});
        EXPECT_EQ(member.Scope, protectedMembers.contains(member.Name) ? "Protected" : "Public");
    }
    EXPECT_EQ(methods, OwnOperations);
    EXPECT_EQ(properties, (std::vector<String>{"mPicture", "DropBoxFolder", "mFolderCocoa"}));
}

// The window being released, and what its three references let go of, in order, each with
// the references that still held something at that moment.
const Window_main* g_dying = nullptr;
std::vector<String> g_released;

void NoteRelease(const String& what)
{
    String held;
    if (g_dying->mPicture)
        held += " mPicture";
    if (g_dying->DropBoxFolder)
        held += " DropBoxFolder";
    if (g_dying->mFolderCocoa)
        held += " mFolderCocoa";
    g_released.push_back(what + " let go, held:" + (held.empty() ? " nothing" : held));
}

class WatchedPicture : public Picture {
protected:
    WatchedPicture() = default;
    void __Exit() noexcept override
    {
        NoteRelease("mPicture");
        Picture::__Exit();
    }
};

class WatchedFolderItem : public FolderItem {
public:
    String Label;

protected:
    WatchedFolderItem() = default;
    void __Exit() noexcept override
    {
        NoteRelease(Label);
        FolderItem::__Exit();
    }
};

Ref<FolderItem> WatchedItem(const String& label)
{
    Ref<WatchedFolderItem> item = RuntimeNewObject<WatchedFolderItem>();
    item->Label = label;
    return item;
}

struct HeldAtEnd {
    const char* Case;
    bool Picture;
    bool DropBoxFolder;
    bool FolderCocoa;
    std::vector<String> Released;
};

TEST(Window_main, TheEndLetsGoOfThePictureThenTheSyncFolderThenTheDroppedItem)
{
    const std::vector<HeldAtEnd> rows = {
        {"all three", true, true, true,
         {"mPicture let go, held: DropBoxFolder mFolderCocoa", "DropBoxFolder let go, held: mFolderCocoa",
          "mFolderCocoa let go, held: nothing"}},
        {"no picture", false, true, true,
         {"DropBoxFolder let go, held: mFolderCocoa", "mFolderCocoa let go, held: nothing"}},
        {"no sync folder", true, false, true,
         {"mPicture let go, held: mFolderCocoa", "mFolderCocoa let go, held: nothing"}},
        {"no dropped item", true, true, false,
         {"mPicture let go, held: DropBoxFolder", "DropBoxFolder let go, held: nothing"}},
        {"only the dropped item", false, false, true, {"mFolderCocoa let go, held: nothing"}},
        {"nothing", false, false, false, {}},
    };
    for (const HeldAtEnd& row : rows) {
        SCOPED_TRACE(row.Case);
        g_released.clear();
        auto window = BareWindow();
        if (row.Picture)
            window->mPicture = RuntimeNewObject<WatchedPicture>();
        if (row.DropBoxFolder)
            window->DropBoxFolder = WatchedItem("DropBoxFolder");
        if (row.FolderCocoa)
            window->mFolderCocoa = WatchedItem("mFolderCocoa");
        g_dying = &*window;
        window.Clear();
        g_dying = nullptr;
        EXPECT_EQ(g_released, row.Released);
    }
}

} // namespace
} // namespace Quorvane
