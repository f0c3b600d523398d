#include "framework/Native.h"
#include "framework/Runtime.h"
#include "tests/support/OpenedWindow.h"
#include "tests/support/Support.h"
#include "tests/support/TestWindow.h"
#include "window/folder.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace Quorvane {
namespace {

using namespace Testing;

TEST(WindowConstruction, TheAccessorMakesOneWindowAndYieldsItEveryTime)
{
    TemporaryHome home;
    OpenedWindow opened;
    EXPECT_TRUE(Window_main::Implicit() == opened.Window());
    EXPECT_TRUE(_GetImplicitWindow("Window_main.Window_main") == opened.Window());
    EXPECT_TRUE(opened.Window()->Canvas1() == opened.Window()->_ControlByName("Canvas1"));
    EXPECT_EQ(opened.Window()->Canvas1()->Name(), "Canvas1");
}

TEST(WindowConstruction, TheCanvasEventsAreNumberedOverTheirClasses)
{
    const ClassDescription& canvas = Canvas::Description();
    EXPECT_EQ(canvas.EventAt(2), "Open");
    EXPECT_EQ(canvas.EventAt(8), "DropObject");
    EXPECT_EQ(canvas.EventAt(15), "Activate");
    EXPECT_EQ(canvas.EventAt(21), "MouseDown");
    EXPECT_EQ(canvas.EventAt(24), "Paint");
    EXPECT_EQ(canvas.EventAt(25), "");
    EXPECT_EQ(canvas.EventNumber("Paint"), 24);
}

TEST(WindowConstruction, AnEventHandlerMustFitItsEvent)
{
    TemporaryHome home;
    OpenedWindow opened;
    Ref<Canvas> canvas = opened.Window()->Canvas1();
    auto open = RuntimeCreateDelegate(&InvokeHandler<Window_main, void, Ref<Canvas>>,
                                      &Window_main::Canvas1_Open, opened.Window(), "( Canvas )",
                                      DelegateModeWeakTarget);
    EXPECT_THROW(RuntimeAddEventHandler(canvas, CanvasEvent::Paint, &ForwardEvent<void, Ref<Canvas>>, open),
                 IllegalCastException);
    EXPECT_THROW(RuntimeAddEventHandler(canvas, 99, &ForwardEvent<void, Ref<Canvas>>, open),
                 OutOfBoundsException);
    EXPECT_THROW(RuntimeAddEventHandler(canvas, 3, &ForwardEvent<void, Ref<Canvas>>, open),
                 IllegalCastException); // an event the framework never raises
    auto misnamed = RuntimeCreateDelegate(&InvokeHandler<Window_main, void, Ref<Canvas>>,
                                          &Window_main::Canvas1_Open, opened.Window(), "(Canvas)",
                                          DelegateModeWeakTarget);
    EXPECT_THROW(RuntimeAddEventHandler(canvas, CanvasEvent::Open, &ForwardEvent<void, Ref<Canvas>>, misnamed),
                 IllegalCastException);
    EXPECT_THROW(RuntimeCreateDelegate(&InvokeHandler<Window_main, void, Ref<Canvas>>,
                                       &Window_main::Canvas1_Open, opened.Window(), "( Canvas )", 0),
                 UnsupportedOperationException);
}

int g_opened = 0;
class CountingWindow : public TestWindow {
public:
    void Canvas1_Open(Ref<Canvas> canvas) override
    {
        ++g_opened;
        TestWindow::Canvas1_Open(std::move(canvas));
    }
};

TEST(WindowConstruction, ADelegateWhoseWindowIsGoneRaisesAndRunsNoHandler)
{
    TemporaryHome home;
    OpenedWindow opened;
    Ref<Canvas> canvas = opened.Window()->Canvas1();
    Ref<CountingWindow> doomed = RuntimeNewObject<CountingWindow>();
    RuntimeAddEventHandler(canvas, CanvasEvent::Open, &ForwardEvent<void, Ref<Canvas>>,
                           RuntimeCreateDelegate(&InvokeHandler<Window_main, void, Ref<Canvas>>,
                                                 &Window_main::Canvas1_Open, Ref<Window_main>(doomed),
                                                 "( Canvas )", DelegateModeWeakTarget));
    g_opened = 0;
    canvas->RaiseEvent<void, Ref<Canvas>>("Open", canvas);
    EXPECT_EQ(g_opened, 1); // the handler is reached through the window's own operations
    doomed.Clear();
    EXPECT_THROW((canvas->RaiseEvent<void, Ref<Canvas>>("Open", canvas)), NilObjectException);
    EXPECT_EQ(g_opened, 1);
}

TEST(WindowConstruction, OpeningTheCanvasAgainAcceptsTheSameTypeAndRegistersNothingMore)
{
    TemporaryHome home;
    OpenedWindow opened;
    Ref<Canvas> canvas = opened.Window()->Canvas1();
    EXPECT_EQ(canvas->AcceptedFileTypes(), (std::vector<String>{"folders"}));
    opened.Window()->Canvas1_Open(canvas);
    EXPECT_EQ(canvas->AcceptedFileTypes(), (std::vector<String>{"folders"}));
    EXPECT_EQ(RegisteredFileTypes().size(), 1u);
    EXPECT_THROW(opened.Window()->Canvas1_Open(nullptr), NilObjectException);
}

TEST(WindowConstruction, AnExceptionInAHandlerIsCarriedOutOfTheEventLoopNotThroughQt)
{
    TemporaryHome home;
    OpenedWindow opened;
    folder::pfolders__Exit(); // Canvas1_Open now finds no file type
    // The file type comes back at the end, also when an assertion ends the test early.
    struct RestoreFileType {
        ~RestoreFileType() { folder::_Initialize(); }
    } restore;
    Ref<Canvas> canvas = opened.Window()->Canvas1();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), QPointF(5, 5),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    RuntimeAddEventHandler(canvas, CanvasEvent::MouseDown,
                           &ForwardEvent<Boolean, Ref<Canvas>, Int32, Int32>,
                           RuntimeCreateDelegate(
                               +[](Window_main& window, Boolean (Window_main::*)(Ref<Canvas>, Int32, Int32),
                                   Ref<Canvas> raising, Int32, Int32) -> Boolean {
                                   window.Canvas1_Open(raising);
                                   return true;
                               },
                               &Window_main::Canvas1_MouseDown, opened.Window(),
                               "( Canvas, Int32, Int32 ) as Boolean", DelegateModeWeakTarget));
    QCoreApplication::sendEvent(&opened.Canvas(), &press);
    std::exception_ptr carried = TakeCarriedException();
    ASSERT_TRUE(carried);
    EXPECT_THROW(std::rethrow_exception(carried), NilObjectException);
}

} // namespace
} // namespace Quorvane
