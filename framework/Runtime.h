#pragma once

#include "framework/Types.h"

#include <exception>

namespace Quorvane {

// Starts the runtime on the calling thread, which becomes the main thread: the Qt application
// that every window, message box and event of the run belongs to.
void RuntimeInit();

// Ends the runtime started by RuntimeInit and returns the run's exit status.
Int32 RuntimeExit();

// Ends the run with the exit code: the event loop returns, and the runtime ends with that status.
void Quit(Int32 exitCode = 0);

// Sets the status the run ends with, without ending it.
void RuntimeSetExitStatus(Int32 status);

// The status the run will end with, as things stand.
Int32 RuntimeExitStatus();

// True once Quit has been called in this run.
Boolean QuitRequested();

// Keeps an exception that a handler raised while the framework dispatched an event, so that it
// never crosses Qt's code, and makes the event loop return; the first one kept is the one that
// leaves the event loop.
void CarryOutOfEventLoop(std::exception_ptr exception);

// The exception carried out of the event loop, if any; the runtime forgets it.
std::exception_ptr TakeCarriedException();

// The routine that the runtime calls handlers through: runs routine with argument and returns
// the RuntimeException it raised, or nothing; an exception of another kind passes through.
using ExceptionHelper = std::exception_ptr (*)(void (*routine)(void*), void* argument);

// The framework's exception helper; see ExceptionHelper.
std::exception_ptr _CallFunctionWithExceptionHandling(void (*routine)(void*), void* argument);

// From now on the runtime calls every handler through the helper.
void _RuntimeSetExceptionHelper(ExceptionHelper helper);

// Runs routine with argument through the installed helper (directly when none is installed) and
// returns what the helper returns.
std::exception_ptr RuntimeCallWithExceptionHelper(void (*routine)(void*), void* argument);

} // namespace Quorvane
