#include "app/App.h"
#include "app/MenuBar1.h"
#include "app/PluginEntrypoints.h"
#include "app/Startup.h"
#include "framework/FileType.h"
#include "framework/Native.h"
#include "framework/Runtime.h"
#include "framework/Version.h"
#include "tests/support/Support.h"
#include "window/Window_main.h"
#include "window/folder.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace Quorvane {
namespace {

using namespace Testing;

Ref<Window> MainWindow()
{
    return _GetImplicitWindow("Window_main.Window_main");
}

// Closes the main window, as the user would, once it is on screen with its versioned title.
class CloseWhenShown {
public:
    CloseWhenShown()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            Ref<Window> window = MainWindow();
            if (!window || !NativeAccess::TopLevel(*window).isVisible() ||
                !window->Title().starts_with("Quorvane V. "))
                return;
            m_title = window->Title();
            m_timer.stop();
            window->Close();
        });
        m_timer.start(5);
    }
    const String& Title() const { return m_title; }

private:
    QTimer m_timer;
    String m_title;
};

TEST(Startup, TheProgramStartsInItsOrderRunsUntilItsWindowClosesAndReleasesEverything)
{
    TemporaryHome home;
    home.MakeDropbox();
    Startup::Initialize();
    const auto& classes = RuntimeClasses();
    ASSERT_GE(classes.size(), 3u);
    EXPECT_EQ(classes[classes.size() - 3]->Name, "App");
    EXPECT_EQ(classes[classes.size() - 2]->Name, "MenuBar1.MenuBar1");
    EXPECT_EQ(classes[classes.size() - 1]->Name, "Window_main.Window_main");

    std::vector<String> seen;
    std::optional<FakeShell> emptyDiscovery;
    bool windowEndedFirst = false;
    MessageBoxWatcher previous = SetMessageBoxWatcher([&](const String& text) {
        seen.push_back(text);
        if (seen.size() == 1) {
            // The start message: set up, no window yet.
            EXPECT_EQ(text, Shown::Start);
            EXPECT_TRUE(MainWindow().IsNil());
            EXPECT_EQ(RegisteredFileTypes(), (std::vector<FileType::Registration>{{"folders", "*****", "folder", ""}}));
            ASSERT_TRUE(_GetAppObject());
            ASSERT_TRUE(_GetAppObject()->MenuBar());
            EXPECT_EQ(_GetAppObject()->MenuBar()->Items().size(), 2u);
            EXPECT_TRUE(App::Current() == _GetAppObject());
            emptyDiscovery.emplace("", "~/Dropbox/");
        } else {
            // The discovery's message: the window exists and still bears its stored title.
            ASSERT_TRUE(MainWindow());
            EXPECT_EQ(MainWindow()->Title(), "Quorvane");
            EXPECT_FALSE(NativeAccess::TopLevel(*MainWindow()).isVisible());
            QObject::connect(&NativeAccess::TopLevel(*MainWindow()), &QObject::destroyed, [&] {
                windowEndedFirst = MenuBar1_implicitInstance && folder::pfolders;
            });
        }
    });
    CloseWhenShown closer;
    Startup::_Main();
    SetMessageBoxWatcher(std::move(previous));

    EXPECT_EQ(seen, (std::vector<String>{Shown::Start, Shown::EmptyDiscovery}));
    EXPECT_EQ(closer.Title(), "Quorvane V. " QUORVANE_VERSION);
    EXPECT_TRUE(QuitRequested());
    EXPECT_EQ(RuntimeExitStatus(), 0);

    emptyDiscovery.reset();
    WeakRef<MenuBar1> bar(MenuBar1_implicitInstance);
    Startup::Finalize();
    EXPECT_TRUE(windowEndedFirst);
    EXPECT_TRUE(MainWindow().IsNil());
    EXPECT_TRUE(_GetAppObject().IsNil());
    EXPECT_TRUE(MenuBar1_implicitInstance.IsNil());
    EXPECT_TRUE(bar.Lock().IsNil());
    EXPECT_TRUE(folder::pfolders.IsNil());
    EXPECT_TRUE(RegisteredFileTypes().empty());
    EXPECT_TRUE(__plugin_entrypoints.IsNil());
}

TEST(Startup, AnExceptionFromTheEventLoopIsHandedOnceToTheFrameworkAndTheReleasesStillRun)
{
    TemporaryHome home;
    std::vector<String> seen;
    MessageBoxWatcher previous = SetMessageBoxWatcher([&](const String& text) {
        seen.push_back(text);
        if (text == Shown::Start)
            throw IOException("the message box broke");
    });
    Startup::_Main();
    SetMessageBoxWatcher(std::move(previous));
    EXPECT_EQ(seen, (std::vector<String>{Shown::Start,
                                         "The program met IOException and must end.\nthe message box broke"}));
    EXPECT_NE(RuntimeExitStatus(), 0);
    EXPECT_TRUE(MainWindow().IsNil());
    Startup::Finalize();
    EXPECT_TRUE(_GetAppObject().IsNil());
    EXPECT_TRUE(MenuBar1_implicitInstance.IsNil());
    EXPECT_TRUE(folder::pfolders.IsNil());
    RuntimeSetExitStatus(0);
}

TEST(Startup, AnExceptionWhileTheFrameworkReportsOneIsNotCaughtAgain)
{
    TemporaryHome home;
    MessageBoxWatcher previous =
        SetMessageBoxWatcher([](const String&) { throw IOException("no box can be shown"); });
    EXPECT_THROW(Startup::_Main(), IOException);
    SetMessageBoxWatcher(std::move(previous));
    Startup::Finalize();
    EXPECT_TRUE(_GetAppObject().IsNil());
    RuntimeSetExitStatus(0);
}

} // namespace
} // namespace Quorvane
