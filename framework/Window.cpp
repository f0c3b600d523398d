#include "framework/Window.h"

#include "framework/Application.h"
#include "framework/Native.h"

#include <QCloseEvent>
#include <QLayout>

#include <algorithm>

namespace Quorvane {

namespace {

std::vector<Ref<Window>>& ImplicitWindows()
{
    static std::vector<Ref<Window>> windows;
    return windows;
}

// The window's top-level widget: its content holds the controls; closing it raises the window's
// Close event.
class WindowWidget final : public QMainWindow {
public:
    explicit WindowWidget(std::function<void()> closing) : m_closing(std::move(closing))
    {
        auto content = std::make_unique<QWidget>();
        setCentralWidget(content.release()); // the main window owns it from here on
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        DispatchEvent(m_closing);
        event->accept();
    }

private:
    std::function<void()> m_closing;
};

} // namespace

struct Window::Native {
    explicit Native(std::unique_ptr<WindowWidget> made) : window(std::move(made)) {}
    WidgetHandle<WindowWidget> window;
};

Window::Window()
{
    RequireMainThread();
    // The widget calls back into this object only while the object owns the widget.
    m_native = std::make_unique<Native>(std::make_unique<WindowWidget>([this] {
        if (!std::exchange(m_closing, true))
            RuntimeRaiseHook(*this, "Close");
    }));
    ApplyGeometry();
    ApplyButtons();
}

Window::~Window() = default;

const ClassDescription& Window::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "Window",
         .Base = &Object::Description(),
         .Methods = {"Constructor", "Show", "Close", "__New", "_AddControl", "_ControlByName",
                     "Width", "Height", "MinWidth", "MinHeight", "MaxWidth", "MaxHeight", "Title",
                     "Visible", "Resizeable", "CloseButton", "MinimizeButton", "MaximizeButton",
                     "MenuBarVisible"},
         .Events = {"Activate", "CancelClose", "Close", "ContentsChanged", "CreateControls",
                    "Deactivate", "DropObject", "EnableMenuItems", "KeyDown", "KeyUp", "Layout",
                    "Maximize", "Minimize", "MouseDown", "MouseDrag", "MouseMove", "MouseUp",
                    "Moved", "Open", "Paint", "Resized", "Resizing", "Restore"},
         .Properties = {
             StoredPropertyOf<Window>("Placement", PropertyType::Int32Type, &Window::m_stored),
             PropertyOf<Window>("Width", &Window::Width, &Window::Width),
             PropertyOf<Window>("Height", &Window::Height, &Window::Height),
             PropertyOf<Window>("MinWidth", &Window::MinWidth, &Window::MinWidth),
             PropertyOf<Window>("MinHeight", &Window::MinHeight, &Window::MinHeight),
             PropertyOf<Window>("MaxWidth", &Window::MaxWidth, &Window::MaxWidth),
             PropertyOf<Window>("MaxHeight", &Window::MaxHeight, &Window::MaxHeight),
             StoredPropertyOf<Window>("Frame", PropertyType::Int32Type, &Window::m_stored),
             StoredPropertyOf<Window>("Composite", PropertyType::BooleanType, &Window::m_stored),
             StoredPropertyOf<Window>("HasBackColor", PropertyType::BooleanType, &Window::m_stored),
             StoredPropertyOf<Window>("BackColor", PropertyType::ColorType, &Window::m_stored),
             PropertyOf<Window>("Title", &Window::Title, &Window::Title),
             PropertyOf<Window>("Visible", &Window::Visible, &Window::Visible),
             StoredPropertyOf<Window>("FullScreen", PropertyType::BooleanType, &Window::m_stored),
             PropertyOf<Window>("MenuBarVisible", &Window::MenuBarVisible, &Window::MenuBarVisible),
             PropertyOf<Window>("CloseButton", &Window::CloseButton, &Window::CloseButton),
             PropertyOf<Window>("Resizeable", &Window::Resizeable, &Window::Resizeable),
             StoredPropertyOf<Window>("LiveResize", PropertyType::BooleanType, &Window::m_stored),
             PropertyOf<Window>("MaximizeButton", &Window::MaximizeButton, &Window::MaximizeButton),
             PropertyOf<Window>("MinimizeButton", &Window::MinimizeButton, &Window::MinimizeButton),
             StoredPropertyOf<Window>("FullScreenButton", PropertyType::BooleanType, &Window::m_stored),
             StoredPropertyOf<Window>("MacProcId", PropertyType::Int32Type, &Window::m_stored),
         }});
    return description;
}

void Window::Constructor()
{
    RequireMainThread();
    ImplicitWindows().push_back(RefTo(*this));
    RuntimeRaiseHook(*this, "Layout");
    RuntimeRaiseHook(*this, "CreateControls");
    // The controls may change while they open; each opens from a reference of its own.
    std::vector<Ref<Control>> controls;
    for (const auto& [name, control] : m_controls)
        controls.push_back(control);
    for (const Ref<Control>& control : controls)
        control->RaiseOpen();
    RuntimeRaiseHook(*this, "Open");
    Ref<Application> application = _GetAppObject();
    if (m_menuBarVisible && application && application->MenuBar())
        InstallMenuBar(m_native->window.Get(), application->MenuBar());
    if (m_visible)
        Show();
}

void Window::Show()
{
    RequireMainThread();
    m_visible = true;
    WindowWidget& window = m_native->window.Get();
    window.show();
    window.raise();
    window.activateWindow();
}

void Window::Close()
{
    RequireMainThread();
    m_native->window.Get().close();
}

void Window::_AddControl(const String& name, const Ref<Control>& control)
{
    RequireMainThread();
    if (!control)
        throw NilObjectException("A window was given an empty control.");
    auto same = [&](const auto& entry) { return entry.first == name; };
    auto found = std::find_if(m_controls.begin(), m_controls.end(), same);
    if (found != m_controls.end())
        found->second = control;
    else
        m_controls.emplace_back(name, control);
}

Ref<Control> Window::_ControlByName(const String& name) const
{
    for (const auto& [held, control] : m_controls)
        if (held == name)
            return control;
    return {};
}

void Window::ApplyGeometry()
{
    QWidget& content = NativeAccess::Content(*this);
    if (m_resizeable) {
        content.setMinimumSize(m_minWidth, m_minHeight);
        content.setMaximumSize(m_maxWidth, m_maxHeight);
        content.resize(std::clamp(m_width, m_minWidth, std::max(m_minWidth, m_maxWidth)),
                       std::clamp(m_height, m_minHeight, std::max(m_minHeight, m_maxHeight)));
        m_native->window.Get().layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    } else {
        content.setFixedSize(m_width, m_height);
        m_native->window.Get().layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    m_native->window.Get().adjustSize();
}

void Window::ApplyButtons()
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (m_closeButton)
        flags |= Qt::WindowCloseButtonHint;
    if (m_minimizeButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (m_maximizeButton)
        flags |= Qt::WindowMaximizeButtonHint;
    WindowWidget& window = m_native->window.Get();
    const bool shown = window.isVisible();
    window.setWindowFlags(flags); // hides a shown window
    if (shown)
        window.show();
}

void Window::Width(Int32 width)
{
    m_width = width;
    ApplyGeometry();
}

void Window::Height(Int32 height)
{
    m_height = height;
    ApplyGeometry();
}

void Window::MinWidth(Int32 width)
{
    m_minWidth = width;
    ApplyGeometry();
}

void Window::MinHeight(Int32 height)
{
    m_minHeight = height;
    ApplyGeometry();
}

void Window::MaxWidth(Int32 width)
{
    m_maxWidth = width;
    ApplyGeometry();
}

void Window::MaxHeight(Int32 height)
{
    m_maxHeight = height;
    ApplyGeometry();
}

void Window::Title(const String& title)
{
    m_title = title;
    m_native->window.Get().setWindowTitle(ToQString(title));
}

void Window::Visible(Boolean visible)
{
    m_visible = visible;
    if (!visible)
        m_native->window.Get().hide();
}

void Window::Resizeable(Boolean resizeable)
{
    m_resizeable = resizeable;
    ApplyGeometry();
}

void Window::CloseButton(Boolean shown)
{
    m_closeButton = shown;
    ApplyButtons();
}

void Window::MinimizeButton(Boolean shown)
{
    m_minimizeButton = shown;
    ApplyButtons();
}

void Window::MaximizeButton(Boolean shown)
{
    m_maximizeButton = shown;
    ApplyButtons();
}

void Window::MenuBarVisible(Boolean visible)
{
    m_menuBarVisible = visible;
}

void Window::__Exit() noexcept
{
    // Controls first: their widgets live inside the window's.
    auto controls = std::move(m_controls);
    m_controls.clear();
    controls.clear();
    m_native.reset();
    Object::__Exit();
}

QMainWindow& NativeAccess::TopLevel(const Window& window)
{
    return window.m_native->window.Get();
}

QWidget& NativeAccess::Content(const Window& window)
{
    return *window.m_native->window.Get().centralWidget();
}

Ref<Window> _GetImplicitWindow(const String& fullClassName)
{
    for (const Ref<Window>& window : ImplicitWindows())
        if (window->Class().Name == fullClassName)
            return window;
    return {};
}

void ReleaseImplicitWindows()
{
    auto windows = std::move(ImplicitWindows());
    ImplicitWindows().clear();
    windows.clear();
}

} // namespace Quorvane
