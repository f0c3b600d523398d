#pragma once

#include "framework/Control.h"

#include <memory>
#include <vector>

namespace Quorvane {

// A top-level window with its controls. Its class's hooks run when the framework raises the
// window's events by name: Layout and CreateControls while it is constructed, then Open, and Close
// when it is closed.
class Window : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    ~Window() override;

    // Builds the window: enters it in the framework's list of implicit windows, runs the Layout
    // and CreateControls hooks, opens the controls, runs the Open hook, and shows the window when
    // it is Visible.
    virtual void Constructor();
    // Shows the window and brings it to the front.
    void Show();
    // Closes the window as the user would: the Close hook runs.
    void Close();

    // A new control of class C that belongs to this window; no constructor runs.
    template <class C>
    Ref<C> __New()
    {
        auto control = RuntimeNewObject<C>();
        static_cast<Control&>(*control).m_window = WeakRef<Window>(RefTo(*this));
        return control;
    }
    // From now on the control is the window's control of that name.
    void _AddControl(const String& name, const Ref<Control>& control);
    // The window's control of that name; nothing when it has none.
    Ref<Control> _ControlByName(const String& name) const;

    Int32 Width() const noexcept { return m_width; }
    // Sets the width of the window's content, in pixels.
    void Width(Int32 width);
    Int32 Height() const noexcept { return m_height; }
    // Sets the height of the window's content, in pixels.
    void Height(Int32 height);
    Int32 MinWidth() const noexcept { return m_minWidth; }
    // Sets the smallest width the user may give the window.
    void MinWidth(Int32 width);
    Int32 MinHeight() const noexcept { return m_minHeight; }
    // Sets the smallest height the user may give the window.
    void MinHeight(Int32 height);
    Int32 MaxWidth() const noexcept { return m_maxWidth; }
    // Sets the largest width the user may give the window.
    void MaxWidth(Int32 width);
    Int32 MaxHeight() const noexcept { return m_maxHeight; }
    // Sets the largest height the user may give the window.
    void MaxHeight(Int32 height);
    const String& Title() const noexcept { return m_title; }
    // Sets the text of the title bar.
    void Title(const String& title);
    Boolean Visible() const noexcept { return m_visible; }
    // Shows or hides the window.
    void Visible(Boolean visible);
    Boolean Resizeable() const noexcept { return m_resizeable; }
    // Lets the user resize the window, or fixes its size.
    void Resizeable(Boolean resizeable);
    Boolean CloseButton() const noexcept { return m_closeButton; }
    // Gives the title bar a close button, or takes it away.
    void CloseButton(Boolean shown);
    Boolean MinimizeButton() const noexcept { return m_minimizeButton; }
    // Gives the title bar a minimise button, or takes it away.
    void MinimizeButton(Boolean shown);
    Boolean MaximizeButton() const noexcept { return m_maximizeButton; }
    // Gives the title bar a maximise button, or takes it away.
    void MaximizeButton(Boolean shown);
    Boolean MenuBarVisible() const noexcept { return m_menuBarVisible; }
    // Shows the application's menu bar in the window, or hides it.
    void MenuBarVisible(Boolean visible);

protected:
    Window();
    // Lets go of the controls, then of the native window.
    void __Exit() noexcept override;

private:
    friend struct NativeAccess;
    struct Native;
    void ApplyGeometry();
    void ApplyButtons();

    std::unique_ptr<Native> m_native;
    std::vector<std::pair<String, Ref<Control>>> m_controls;
    PropertyBag m_stored;
    Int32 m_width = 100;
    Int32 m_height = 100;
    Int32 m_minWidth = 0;
    Int32 m_minHeight = 0;
    Int32 m_maxWidth = 32000;
    Int32 m_maxHeight = 32000;
    String m_title;
    Boolean m_visible = false;
    Boolean m_resizeable = true;
    Boolean m_closeButton = true;
    Boolean m_minimizeButton = true;
    Boolean m_maximizeButton = true;
    Boolean m_menuBarVisible = true;
    Boolean m_closing = false;
};

// The window in the framework's list of implicit windows whose class has that full name; nothing
// when there is none. A window is in the list from the start of its construction.
Ref<Window> _GetImplicitWindow(const String& fullClassName);

// Releases the framework's list of implicit windows: empties it, then lets go of its windows.
void ReleaseImplicitWindows();

} // namespace Quorvane
