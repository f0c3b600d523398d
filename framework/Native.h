#pragma once

// The Qt objects behind framework objects, for the framework's own code and for tests that drive
// real widgets.

#include "framework/Control.h"
#include "framework/Graphics.h"
#include "framework/QtBridge.h"
#include "framework/Window.h"

#include <QDialog>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace Quorvane {

// Owns a widget unless Qt has already destroyed it together with its parent.
template <class W>
class WidgetHandle {
public:
    explicit WidgetHandle(std::unique_ptr<W> widget) : m_widget(widget.release()) {}
    WidgetHandle(const WidgetHandle&) = delete;
    WidgetHandle& operator=(const WidgetHandle&) = delete;
    ~WidgetHandle()
    {
        if (W* widget = m_widget.data())
            std::unique_ptr<W> doomed(widget);
    }

    // The widget; NilObjectException once Qt has destroyed it.
    W& Get() const
    {
        if (!m_widget)
            throw NilObjectException("The control's widget is gone.");
        return *m_widget;
    }

private:
    QPointer<W> m_widget;
};

class MenuBar;

// Shows the menu tree as the window's Qt menu bar, in place of any shown before.
void InstallMenuBar(QMainWindow& window, const Ref<MenuBar>& menuBar);

// The box that MsgBox shows for the text, not yet shown: for tests that compare what a box shows.
std::unique_ptr<QDialog> NewMessageBox(const String& text);

struct NativeAccess {
    // The widget of a constructed control.
    static QWidget& Widget(const RectControl& control);
    // The top-level widget of a window.
    static QMainWindow& TopLevel(const Window& window);
    // The widget that holds a window's controls.
    static QWidget& Content(const Window& window);
    // The pixels of a picture.
    static const QImage& Image(const Picture& picture);
    // A Graphics that draws with the painter until Detach.
    static Ref<Graphics> GraphicsOn(QPainter& painter);
    // Ends the Graphics's use of its painter.
    static void Detach(Graphics& graphics);
};

} // namespace Quorvane
