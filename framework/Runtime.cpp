#include "framework/Runtime.h"

#include "framework/Exceptions.h"
#include "framework/QtBridge.h"
#include "framework/Version.h"

#include <QApplication>
#include <QThread>

#include <memory>

namespace Quorvane {

namespace {

struct RuntimeState {
    // Qt keeps argc and argv for the whole run.
    int argumentCount = 1;
    char programName[sizeof(QUORVANE_PROGRAM_NAME)] = QUORVANE_PROGRAM_NAME;
    char* arguments[2] = {programName, nullptr};
    std::unique_ptr<QApplication> application;
    Int32 exitStatus = 0;
    Boolean quitRequested = false;
    std::exception_ptr carried;
    ExceptionHelper helper = nullptr;
};

RuntimeState& State()
{
    static RuntimeState state;
    return state;
}

} // namespace

void RequireMainThread()
{
    if (!QCoreApplication::instance() ||
        QThread::currentThread() != QCoreApplication::instance()->thread())
        throw ThreadAccessingUIException();
}

void RuntimeInit()
{
    RuntimeState& state = State();
    if (state.application)
        throw UnsupportedOperationException("The runtime is running already.");
    state.application = std::make_unique<QApplication>(state.argumentCount, state.arguments);
    QApplication::setApplicationName(QStringLiteral(QUORVANE_PROGRAM_NAME));
    // No display name: Qt would append it to every window title ("Quorvane V. 1.0.0 — Quorvane").
    QApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));
    // Closing the last window ends the run only through the program's own Close handling.
    QApplication::setQuitOnLastWindowClosed(false);
}

Int32 RuntimeExit()
{
    RuntimeState& state = State();
    state.application.reset();
    state.carried = nullptr;
    state.quitRequested = false;
    state.helper = nullptr;
    return std::exchange(state.exitStatus, 0);
}

void Quit(Int32 exitCode)
{
    RuntimeState& state = State();
    state.exitStatus = exitCode;
    state.quitRequested = true;
    QCoreApplication::exit(exitCode);
}

void RuntimeSetExitStatus(Int32 status)
{
    State().exitStatus = status;
}

Int32 RuntimeExitStatus()
{
    return State().exitStatus;
}

Boolean QuitRequested()
{
    return State().quitRequested;
}

void CarryOutOfEventLoop(std::exception_ptr exception)
{
    RuntimeState& state = State();
    if (!state.carried)
        state.carried = std::move(exception);
    QCoreApplication::exit(1);
}

std::exception_ptr _CallFunctionWithExceptionHandling(void (*routine)(void*), void* argument)
{
    try {
        routine(argument);
    } catch (const RuntimeException&) {
        return std::current_exception();
    }
    return nullptr;
}

void _RuntimeSetExceptionHelper(ExceptionHelper helper)
{
    State().helper = helper;
}

std::exception_ptr RuntimeCallWithExceptionHelper(void (*routine)(void*), void* argument)
{
    if (ExceptionHelper helper = State().helper)
        return helper(routine, argument);
    routine(argument);
    return nullptr;
}

std::exception_ptr TakeCarriedException()
{
    return std::exchange(State().carried, nullptr);
}

} // namespace Quorvane
