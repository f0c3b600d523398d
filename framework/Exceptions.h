#pragma once

#include "framework/Types.h"

#include <exception>

namespace Quorvane {

// The root of the framework's exceptions: owns a message for the user and names its own class.
class RuntimeException : public std::exception {
public:
    // Keeps the message that tells what went wrong.
    explicit RuntimeException(String message = {});

    // The message given when the exception was raised.
    const String& Message() const noexcept { return m_message; }
    // The framework's name of the exception's class, for reports.
    virtual const char* ClassName() const noexcept { return "RuntimeException"; }
    // The message, for code that only knows std::exception.
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    String m_message;
};

#define QUORVANE_EXCEPTION(Name, DefaultMessage)                                  \
    class Name : public RuntimeException {                                        \
    public:                                                                       \
        explicit Name(String message = DefaultMessage)                            \
            : RuntimeException(std::move(message)) {}                             \
        const char* ClassName() const noexcept override { return #Name; }         \
    };

// Raised before an empty reference is used.
QUORVANE_EXCEPTION(NilObjectException, "An object reference that holds nothing was used.")
// Raised when an object is cast to a class it does not belong to.
QUORVANE_EXCEPTION(IllegalCastException, "An object was cast to a class it does not belong to.")
// Raised when an index lies outside the bounds of a list.
QUORVANE_EXCEPTION(OutOfBoundsException, "An index lies outside the list.")
// Raised for an operation or a value that the framework does not offer.
QUORVANE_EXCEPTION(UnsupportedOperationException, "The operation is not available.")
// Raised for data whose form the framework cannot read.
QUORVANE_EXCEPTION(UnsupportedFormatException, "The data is not in a form that can be read.")
// Raised when an outside operation is called through an entry that holds none.
QUORVANE_EXCEPTION(FunctionNotFoundException, "An outside operation is missing.")
// Raised when the operating system refuses a request.
QUORVANE_EXCEPTION(IOException, "The operating system refused a request.")
// Raised when a user-interface operation is called off the main thread.
QUORVANE_EXCEPTION(ThreadAccessingUIException,
                   "The user interface was used from a thread other than the main thread.")

#undef QUORVANE_EXCEPTION

} // namespace Quorvane
