#pragma once

// The logo window opened as the program opens it, for tests that drive its real widgets.

#include "window/Window_main.h"

#include <QMimeData>
#include <QPoint>
#include <QWidget>

namespace Quorvane::Testing {

// Registers the file type and an application object (with the program's menu bar when asked),
// then opens the main window through its accessor, discovery included; everything is released
// again at the end of the test.
class OpenedWindow {
public:
    explicit OpenedWindow(bool withMenuBar = false);
    ~OpenedWindow();
    OpenedWindow(const OpenedWindow&) = delete;
    OpenedWindow& operator=(const OpenedWindow&) = delete;

    const Ref<Window_main>& Window() const { return m_window; }
    // The top-level widget of the window.
    QWidget& TopLevel() const;
    // The widget of Canvas1.
    QWidget& Canvas() const;
    // A point of the canvas, in the coordinates of the top-level widget.
    QPoint OnCanvas(QPoint point) const;

private:
    Ref<Window_main> m_window;
};

// Whether the window admitted a drag at its entry, at a move, and at its drop, and the action it
// took the drop with.
struct DragOutcome {
    bool entered = false;
    bool moved = false;
    bool dropped = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// The actions a drag from a file manager offers.
inline constexpr Qt::DropActions OfferedActions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

// Carries a drag of data over the top-level widget to the point (in its coordinates) and drops it
// there, through Qt's own drag-and-drop entry for windows, as a drag from another program arrives.
DragOutcome DragAndDrop(QWidget& topLevel, QPoint at, const QMimeData& data,
                        Qt::DropActions actions = OfferedActions);

// The first half of DragAndDrop: the drag enters and moves to the point; whether the window
// admitted it at its entry and at the move.
std::pair<bool, bool> DragOver(QWidget& topLevel, QPoint at, const QMimeData& data,
                               Qt::DropActions actions = OfferedActions);

// The second half of DragAndDrop: the drag drops at the point; whether the window took it, and the
// action it took it with.
std::pair<bool, Qt::DropAction> DropAt(QWidget& topLevel, QPoint at, const QMimeData& data,
                                       Qt::DropActions actions = OfferedActions);

// The data of a drag of local entries, in order.
std::unique_ptr<QMimeData> LocalEntries(const std::vector<String>& paths);

} // namespace Quorvane::Testing
