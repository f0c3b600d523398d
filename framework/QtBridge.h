#pragma once

// Conversions and checks shared by the framework's Qt code and by tests that drive real widgets.

#include "framework/Types.h"

#include <QGuiApplication>
#include <QString>

namespace Quorvane {

// The UTF-8 text as a QString.
inline QString ToQString(const String& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The QString as UTF-8 text.
inline String FromQString(const QString& text)
{
    return text.toStdString();
}

// Raises ThreadAccessingUIException unless the caller is on the main thread of a running runtime.
void RequireMainThread();

} // namespace Quorvane

#include "framework/Runtime.h"

#include <type_traits>

namespace Quorvane {

// Runs the system's handling of one Qt event; an exception it raises is carried out of the event
// loop instead of crossing Qt's code.
template <class Handling>
void DispatchEvent(Handling&& handling) noexcept
{
    try {
        auto run = [](void* argument) { (*static_cast<std::remove_reference_t<Handling>*>(argument))(); };
        if (std::exception_ptr raised = RuntimeCallWithExceptionHelper(run, &handling))
            CarryOutOfEventLoop(raised);
    } catch (...) {
        CarryOutOfEventLoop(std::current_exception());
    }
}

} // namespace Quorvane
