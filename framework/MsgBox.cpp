#include "framework/MsgBox.h"

#include "framework/QtBridge.h"
#include "framework/Version.h"

#include <QMessageBox>
#include <QTimer>

#include <exception>

namespace Quorvane {

namespace {

MessageBoxWatcher& Watcher()
{
    static MessageBoxWatcher watcher;
    return watcher;
}

} // namespace

void MsgBox(const String& text)
{
    RequireMainThread();
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral(QUORVANE_DISPLAY_NAME), ToQString(text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    std::exception_ptr watcherFailure;
    if (MessageBoxWatcher watcher = Watcher()) {
        // Runs inside the box's own event loop, so the box is on screen when the watcher looks.
        QTimer::singleShot(0, &box, [&box, &watcherFailure, watcher, text] {
            try {
                watcher(text);
            } catch (...) {
                watcherFailure = std::current_exception();
            }
            box.done(QMessageBox::Ok);
        });
    }
    box.exec();
    if (watcherFailure)
        std::rethrow_exception(watcherFailure);
}

MessageBoxWatcher SetMessageBoxWatcher(MessageBoxWatcher watcher)
{
    return std::exchange(Watcher(), std::move(watcher));
}

} // namespace Quorvane
