#include "tests/support/OpenedWindow.h"

#include "app/App.h"
#include "app/MenuBar1.h"
#include "framework/Native.h"
#include "tests/support/Support.h"
#include "window/folder.h"

#include <QUrl>
#include <qpa/qplatformdrag.h>
#include <qpa/qwindowsysteminterface.h>

namespace Quorvane::Testing {

OpenedWindow::OpenedWindow(bool withMenuBar)
{
    folder::_Initialize();
    Ref<App> app = RuntimeNewObject<App>();
    if (withMenuBar)
        app->MenuBar(MenuBar1::Implicit());
    _RuntimeRegisterAppObject(app);
    m_window = Window_main::Implicit();
    ProcessEvents();
}

OpenedWindow::~OpenedWindow()
{
    m_window.Clear();
    ReleaseImplicitWindows();
    _RuntimeRegisterAppObject(nullptr);
    folder::pfolders__Exit();
    MenuBar1_implicitInstance__Exit();
    ProcessEvents();
}

QWidget& OpenedWindow::TopLevel() const
{
    return NativeAccess::TopLevel(*m_window);
}

QWidget& OpenedWindow::Canvas() const
{
    return NativeAccess::Widget(*m_window->Canvas1());
}

QPoint OpenedWindow::OnCanvas(QPoint point) const
{
    return Canvas().mapTo(&TopLevel(), point);
}

namespace {

QWindow& NativeWindow(QWidget& topLevel)
{
    QWindow* window = topLevel.windowHandle();
    if (!window)
        throw std::runtime_error("the window has no native window");
    return *window;
}

} // namespace

std::pair<bool, bool> DragOver(QWidget& topLevel, QPoint at, const QMimeData& data, Qt::DropActions actions)
{
    QWindow& window = NativeWindow(topLevel);
    const bool entered =
        QWindowSystemInterface::handleDrag(&window, &data, at, actions, Qt::LeftButton, {}).isAccepted();
    const bool moved =
        QWindowSystemInterface::handleDrag(&window, &data, at, actions, Qt::LeftButton, {}).isAccepted();
    return {entered, moved};
}

std::pair<bool, Qt::DropAction> DropAt(QWidget& topLevel, QPoint at, const QMimeData& data,
                                       Qt::DropActions actions)
{
    const QPlatformDropQtResponse response = QWindowSystemInterface::handleDrop(
        &NativeWindow(topLevel), &data, at, actions, Qt::LeftButton, {});
    return {response.isAccepted(), response.acceptedAction()};
}

DragOutcome DragAndDrop(QWidget& topLevel, QPoint at, const QMimeData& data, Qt::DropActions actions)
{
    const auto [entered, moved] = DragOver(topLevel, at, data, actions);
    const auto [dropped, action] = DropAt(topLevel, at, data, actions);
    return {entered, moved, dropped, action};
}

std::unique_ptr<QMimeData> LocalEntries(const std::vector<String>& paths)
{
    QList<QUrl> addresses;
    for (const String& path : paths)
        addresses.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    auto data = std::make_unique<QMimeData>();
    data->setUrls(addresses);
    return data;
}

} // namespace Quorvane::Testing
