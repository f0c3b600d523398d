#pragma once

#include "framework/ClassDescription.h"
#include "framework/Delegate.h"
#include "framework/DragItem.h"
#include "framework/Graphics.h"

#include <any>
#include <map>
#include <memory>
#include <vector>

namespace Quorvane {

class Window;

// An event's forwarding entry: runs the delegate attached to the event with the event's arguments
// and hands its result back to the framework.
template <class Result, class... Arguments>
using ForwardingEntry = Result (*)(const Delegate<Result(Arguments...)>&, Arguments...);

// The forwarding entry of every event: runs the delegate and returns what it returns.
template <class Result, class... Arguments>
Result ForwardEvent(const Delegate<Result(Arguments...)>& delegate, Arguments... arguments)
{
    return delegate.Invoke(std::move(arguments)...);
}

// A control of a window: its name, its events by number and the handlers attached to them.
class Control : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    ~Control() override;

    const String& Name() const noexcept { return m_name; }
    // Sets the control's name.
    void Name(const String& name) { m_name = name; }
    // The window the control belongs to; nothing when it belongs to none or the window is gone.
    Ref<Quorvane::Window> Window() const { return m_window.Lock(); }

    // Attaches the delegate to the event of that number through its forwarding entry, in place of
    // any attached before. An event that the class lacks raises OutOfBoundsException; one that the
    // framework never raises, or whose signature the delegate does not fit, IllegalCastException.
    template <class Result, class... Arguments>
    void AttachEventHandler(Int32 number, ForwardingEntry<Result, Arguments...> entry,
                            const Ref<Delegate<Result(Arguments...)>>& delegate);

    // Raises the named event with the arguments and returns the handler's result, or the
    // default result when no handler is attached.
    template <class Result, class... Arguments>
    Result RaiseEvent(const String& event, Arguments... arguments);

protected:
    Control() = default;
    // Lets go of the attached handlers.
    void __Exit() noexcept override;
    // Raises the control's Open event, with the arguments its class gives it.
    virtual void RaiseOpen() {}

    // Values of stored properties that need only keeping.
    PropertyBag m_stored;

private:
    friend class Window;
    void CheckEvent(Int32 number, const std::type_info& type, const String& signature) const;

    String m_name;
    WeakRef<Quorvane::Window> m_window;
    std::map<String, std::any> m_handlers;
};

// Attaches delegate to the event that number names on control; see Control::AttachEventHandler.
template <class Result, class... Arguments>
void RuntimeAddEventHandler(const Ref<Control>& control, Int32 number,
                            ForwardingEntry<Result, Arguments...> entry,
                            const Ref<Delegate<Result(Arguments...)>>& delegate)
{
    control->AttachEventHandler(number, entry, delegate);
}

// A control with a place and a size inside its window, and a native widget once constructed.
class RectControl : public Control {
    QUORVANE_DESCRIBED_CLASS
public:
    ~RectControl() override;

    // Builds the control's widget inside its window with the framework's defaults; raises
    // NilObjectException when the control belongs to no window.
    virtual void Constructor();

    Int32 Left() const;
    // Moves the control, keeping its size.
    void Left(Int32 left);
    Int32 Top() const;
    // Moves the control, keeping its size.
    void Top(Int32 top);
    Int32 Width() const;
    // Resizes the control, keeping its place.
    void Width(Int32 width);
    Int32 Height() const;
    // Resizes the control, keeping its place.
    void Height(Int32 height);
    Boolean Visible() const;
    // Shows or hides the control.
    void Visible(Boolean visible);
    Boolean Enabled() const;
    // Lets the control take input, or not.
    void Enabled(Boolean enabled);
    String HelpTag() const;
    // Sets the tip shown when the pointer rests on the control.
    void HelpTag(const String& helpTag);

    // From now on the control admits drags that carry an item of the registered file type of that
    // name, in addition to the types admitted before.
    void AcceptFileDrop(const String& fileTypeName);
    // The names of the file types the control admits.
    const std::vector<String>& AcceptedFileTypes() const noexcept { return m_acceptedTypes; }

protected:
    RectControl();
    // Lets go of the widget.
    void __Exit() noexcept override;

    friend struct NativeAccess;
    struct Native;
    // Makes the control's widget; a derived class makes its own kind.
    virtual std::unique_ptr<Native> MakeNative();
    std::unique_ptr<Native> m_native;

private:
    std::vector<String> m_acceptedTypes;
};

// A control that shows a backdrop picture beneath what its Paint handler draws, and reports
// clicks and drops.
class Canvas : public RectControl {
    QUORVANE_DESCRIBED_CLASS
public:
    // The picture shown beneath the Paint drawing; nothing shows none.
    const Ref<Picture>& Backdrop() const noexcept { return m_backdrop; }
    // Sets the picture shown beneath the Paint drawing and redraws.
    void Backdrop(const Ref<Picture>& picture);

protected:
    Canvas() = default;
    // Lets go of the backdrop.
    void __Exit() noexcept override;
    void RaiseOpen() override;
    std::unique_ptr<Native> MakeNative() override;

private:
    Ref<Picture> m_backdrop;
};

// The framework's events of a canvas by number: Open 2, DropObject 8, MouseDown 21, Paint 24.
namespace CanvasEvent {
inline constexpr Int32 Open = 2;
inline constexpr Int32 DropObject = 8;
inline constexpr Int32 MouseDown = 21;
inline constexpr Int32 Paint = 24;
} // namespace CanvasEvent

// The C++ types of the canvas events the framework raises.
using CanvasOpenEvent = void(Ref<Canvas>);
using CanvasDropObjectEvent = void(Ref<Canvas>, Ref<DragItem>, Int32);
using CanvasMouseDownEvent = Boolean(Ref<Canvas>, Int32, Int32);
using CanvasPaintEvent = void(Ref<Canvas>, Ref<Graphics>, std::vector<Ref<Rect>>);

template <class Result, class... Arguments>
void Control::AttachEventHandler(Int32 number, ForwardingEntry<Result, Arguments...> entry,
                                 const Ref<Delegate<Result(Arguments...)>>& delegate)
{
    if (!delegate)
        throw NilObjectException("An event handler was attached without a delegate.");
    CheckEvent(number, typeid(Result(Arguments...)), delegate->Signature());
    Ref<Delegate<Result(Arguments...)>> held = delegate;
    std::function<Result(Arguments...)> call = [entry, held](Arguments... arguments) -> Result {
        return entry(*held, std::move(arguments)...);
    };
    m_handlers[Class().EventAt(number)] = std::move(call);
}

template <class Result, class... Arguments>
Result Control::RaiseEvent(const String& event, Arguments... arguments)
{
    auto found = m_handlers.find(event);
    if (found == m_handlers.end())
        return Result();
    auto* attached = std::any_cast<std::function<Result(Arguments...)>>(&found->second);
    if (!attached)
        throw IllegalCastException("The event " + event + " was raised with other arguments.");
    // Copied, so that a handler which attaches another one goes on running safely.
    auto call = *attached;
    return call(std::move(arguments)...);
}

} // namespace Quorvane
