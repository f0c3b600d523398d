#pragma once

#include "framework/Menu.h"

#include <exception>

namespace Quorvane {

// The application object: its menu bar, its version numbers and its events; the framework raises
// Open once, through _CallOpen, when the event loop starts.
class Application : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    // The major version number of the program.
    Int32 MajorVersion() const noexcept;
    // The minor version number of the program.
    Int32 MinorVersion() const noexcept;
    // The bug-fix version number of the program.
    Int32 BugVersion() const noexcept;

    const Ref<Quorvane::MenuBar>& MenuBar() const noexcept { return m_menuBar; }
    // Makes the menu bar the application's, shown in its windows.
    void MenuBar(const Ref<Quorvane::MenuBar>& menuBar) { m_menuBar = menuBar; }

    // Raises the Open event: runs the class's Open hook when it has one.
    virtual void _CallOpen();

protected:
    Application() = default;
    // Lets go of the menu bar.
    void __Exit() noexcept override;

private:
    Ref<Quorvane::MenuBar> m_menuBar;
};

// From now on the framework holds the object as the application object.
void _RuntimeRegisterAppObject(const Ref<Application>& application);

// The application object given to _RuntimeRegisterAppObject; nothing before.
Ref<Application> _GetAppObject();

// Readies the framework and then runs the late start-up routine.
void _RunFrameworkInitialization(void (*lateStartup)());

// Readies the framework's classes that stand for outside code.
void _RuntimeInitExternalClasses();

// Runs the event loop: raises the application's Open event once, delivers every event of the
// run, and returns when the application quits. An exception that a handler raised inside the loop
// ends the loop and leaves this call.
void _RuntimeRun();

// Deals with an exception that nothing else handled: tells the user in a message box and on
// standard error, and makes the run end with a status that is not 0.
void _UnhandledException(std::exception_ptr exception);

// Releases the framework's module-level references, in order: the application object, the system
// object, then the list of implicit windows; each is emptied before its object is let go.
void ReleaseFrameworkReferences();

} // namespace Quorvane
