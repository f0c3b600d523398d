#pragma once

#include "framework/Object.h"

namespace Quorvane {

// Runs one command line through the system shell and keeps what it printed. Every operation goes
// through the outside operation bound for it in the table of entry points; one object serves one
// command.
class Shell : public Object {
public:
    // What the bound operations work on: the mode and the text of the last command.
    struct State {
        Int32 Mode = 0;
        String Result;
    };

    // The outside operations, as they are bound in the table of entry points.
    using InitOperation = void(State&);
    using ExitOperation = void(State&);
    using ExecuteOperation = void(State&, const String& command);
    using ResultGetOperation = const String&(const State&);
    using ModeSetOperation = void(State&, Int32 mode);

    // Sets how Execute runs a command; 0, a new object's mode, returns only once it has ended.
    void Mode(Int32 mode);
    // Runs the whole command line through the shell.
    void Execute(const String& command);
    // Everything the last command printed, its error text included; empty exactly when it printed
    // nothing. The text stays the shell's, unchanged until its next command.
    const String& Result() const;

protected:
    // Sets the new object up through the bound init operation; raises FunctionNotFoundException
    // when the init or the exit operation is missing.
    Shell();
    // Ends the object through the bound exit operation.
    void __Exit() noexcept override;

private:
    State m_state;
    ExitOperation* m_exit = nullptr;
};

// Makes a new Shell, sets it to mode 0 and runs the command line through it to its end; returns
// that shell, whose Result holds everything the command printed, in place.
Ref<Shell> RunInNewShell(const String& command);

} // namespace Quorvane
