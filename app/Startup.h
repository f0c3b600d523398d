#pragma once

#include "framework/Types.h"

// The start-up sequence: sets the system up in a fixed order, hands control to the framework's
// event loop, and releases the module-level references once the loop has returned.
namespace Quorvane::Startup {

// The whole run: starts the runtime, describes the classes, runs _Main, releases the module-level
// references and ends the runtime, whose status it returns.
Int32 Main();

// Describes every class: the framework's first, then App, MenuBar1 and Window_main.
void Initialize();

// Installs the exception helper, sets the system up and runs the event loop, all under the one
// top-level handler, which hands an exception that leaves them to _UnhandledException once.
void _Main();

// The external classes, the entry points, the file type and the application object, in order.
void _EarlyStartup();

// Runs the file type's initialisation.
void _InitFileTypes();

// Makes the application object, runs its Constructor, gives it the menu bar and registers it.
void _NewAppInstance();

// Where menu handlers would be installed; the system installs none.
void _ApplicationAddMenuHandlers();

// The late start-up routine handed to the framework's initialisation; it does nothing.
void _LateStartup();

// Releases the module-level references: the framework's, then the menu bar, then the file type,
// and at the very end the table of entry points.
void Finalize();

} // namespace Quorvane::Startup
