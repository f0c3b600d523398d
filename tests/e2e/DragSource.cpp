// The helper of the tests between processes. Its main use is as a drag source: a small window at
// the left edge of the screen whose first mouse press starts a real drag of the paths given on the
// command line, as a file manager offers them (text/uri-list of file:// addresses, copy or link).
// It also looks at other programs' windows on the same display, for what X's own tools cannot
// tell: the pixels of a window, and whether a message box says a given text.
//
//   quorvane_drag_source [--move-only] PATH...
//       Shows the window and prints "geometry X Y WIDTH HEIGHT" once it is on screen; on the
//       press, "dragging" once the drag is under way, "drag-action ACTION" each time the target
//       under the pointer changes its answer, "drop-action ACTION" when the button is let go,
//       and "drop-finished" once the target has finished with the drop; then it ends with 0.
//       ACTION is copy, link, move, ignore or other. Without a press within a minute it ends
//       with 3. The drag offers copy and link, or with --move-only a move alone, as a file
//       manager offers a drag with Shift held.
//   quorvane_drag_source --grab WINDOW-ID|root FILE.png
//       Saves the window's pixels (or the whole screen's) as a picture.
//   quorvane_drag_source --match-box WINDOW-ID TEXT [PICTURE-PREFIX]
//       Prints "box-text matches" and ends with 0 when the message box in the window shows TEXT,
//       else "box-text differs ..." and ends with 1, saving both pictures under the prefix.
//
// Every line it prints starts with a word the test script looks for, and is flushed at once.

#include "framework/Native.h"

#include <QApplication>
#include <QDrag>
#include <QElapsedTimer>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>
#include <utility>

namespace {

// Where the window stands and how big it is, in screen pixels: at the left edge, below the top
// left corner where an X server without a window manager puts every other new window, so that it
// never covers the program's window.
constexpr int SourceLeft = 0;
constexpr int SourceTop = 400;
constexpr int SourceWidth = 120;
constexpr int SourceHeight = 80;

// How long the window waits for the press that starts the drag before it gives up.
constexpr int PressTimeoutMilliseconds = 60000;

// How long the program waits, after a drop the target took, for the target to say it is done.
constexpr int FinishTimeoutMilliseconds = 15000;

// How many times, and how far apart, a window is grabbed until two grabs agree.
constexpr int SteadyGrabAttempts = 30;
constexpr int SteadyGrabPauseMilliseconds = 150;

// How many times, and how far apart, a message box is compared before it counts as different.
constexpr int MatchAttempts = 3;
constexpr int MatchPauseMilliseconds = 500;

constexpr const char* Usage = "usage: quorvane_drag_source [--move-only] PATH...\n"
                              "       quorvane_drag_source --grab WINDOW-ID|root FILE.png\n"
                              "       quorvane_drag_source --match-box WINDOW-ID TEXT [PICTURE-PREFIX]\n";

// Writes one line to standard output and flushes it, so that a script reading the output as a
// file sees it at once.
void PrintLine(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The name the script reads for a drop action.
QString ActionName(Qt::DropAction action)
{
    switch (action) {
    case Qt::CopyAction: return QStringLiteral("copy");
    case Qt::MoveAction: return QStringLiteral("move");
    case Qt::LinkAction: return QStringLiteral("link");
    case Qt::IgnoreAction: return QStringLiteral("ignore");
    default: return QStringLiteral("other");
    }
}

// The window the drag starts from: one press starts the drag of its paths, and the program ends
// when the drag is over.
class DragSourceWindow final : public QWidget {
public:
    // Makes the window for a drag of the given paths with the given actions, placed and sized as
    // the script expects.
    DragSourceWindow(QStringList paths, Qt::DropActions actions)
        : m_paths(std::move(paths)), m_actions(actions)
    {
        setWindowTitle(QStringLiteral("quorvane-drag-source"));
        setFixedSize(SourceWidth, SourceHeight);
        move(SourceLeft, SourceTop);
        m_pressTimeout.setSingleShot(true);
        m_pressTimeout.setInterval(PressTimeoutMilliseconds);
        QObject::connect(&m_pressTimeout, &QTimer::timeout, this, [] {
            PrintLine(QStringLiteral("timeout: no press came"));
            QCoreApplication::exit(3);
        });
    }

protected:
    // Prints the window's place on the screen once the window is on it, and starts waiting for
    // the press.
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        if (m_shownOnce)
            return;
        m_shownOnce = true;
        m_pressTimeout.start();
        // Printed from the event loop, once the window system has placed the window.
        QTimer::singleShot(0, this, [this] {
            const QPoint origin = mapToGlobal(QPoint(0, 0));
            PrintLine(QStringLiteral("geometry %1 %2 %3 %4")
                          .arg(origin.x())
                          .arg(origin.y())
                          .arg(width())
                          .arg(height()));
        });
    }

    // Paints the window plainly, so that it shows in screenshots.
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(70, 110, 170));
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("drag me"));
    }

    // Starts the drag of the paths on the first press and reports how it goes; the program ends
    // once the drag is over.
    void mousePressEvent(QMouseEvent* event) override
    {
        if (m_dragged || event->button() != Qt::LeftButton) {
            QWidget::mousePressEvent(event);
            return;
        }
        m_dragged = true;
        m_pressTimeout.stop();
        event->accept();

        QList<QUrl> addresses;
        for (const QString& path : m_paths)
            addresses.append(QUrl::fromLocalFile(path));
        auto* carried = new QMimeData;
        carried->setUrls(addresses);
        auto* drag = new QDrag(this); // Qt lets go of it once the drag is over
        drag->setMimeData(carried);   // the drag owns the mime data from here on

        QObject::connect(drag, &QDrag::actionChanged, this, [](Qt::DropAction action) {
            PrintLine(QStringLiteral("drag-action ") + ActionName(action));
        });
        // On X11 the drag returns as soon as the drop is sent; the target fetches the data after
        // that, and Qt lets go of the drag once the target says it has finished. The program
        // ends only then, so that it is still there to serve the target's request for the data.
        QObject::connect(drag, &QObject::destroyed, this,
                         [this] { Finish(QStringLiteral("drop-finished")); });
        // Runs inside the drag's own event loop: from then on the pointer belongs to the drag.
        QTimer::singleShot(0, this, [] { PrintLine(QStringLiteral("dragging")); });

        const Qt::DropAction action = drag->exec(m_actions);
        PrintLine(QStringLiteral("drop-action ") + ActionName(action));
        // A refused drop leaves nothing to serve; a taken one whose target never finishes ends
        // after a while.
        const bool refused = action == Qt::IgnoreAction;
        QTimer::singleShot(refused ? 0 : FinishTimeoutMilliseconds, this, [this, refused] {
            Finish(refused ? QStringLiteral("drop-finished")
                           : QStringLiteral("drop-finished without an answer from the target"));
        });
    }

private:
    // Prints the drag's last line, once, and ends the program.
    void Finish(const QString& line)
    {
        if (std::exchange(m_finished, true))
            return;
        PrintLine(line);
        QCoreApplication::exit(0);
    }

    QStringList m_paths;
    Qt::DropActions m_actions;
    QTimer m_pressTimeout;
    bool m_shownOnce = false;
    bool m_dragged = false;
    bool m_finished = false;
};

// Reads a window number as X tools print it, decimal or 0x hexadecimal; "root" is the whole
// screen. Says whether it could.
bool ParseWindow(const QString& text, WId& window)
{
    if (text == QStringLiteral("root")) {
        window = 0;
        return true;
    }
    bool parsed = false;
    window = static_cast<WId>(text.toULongLong(&parsed, 0));
    return parsed && window != 0;
}

// Waits a moment while still serving the window system.
void Pause(int milliseconds)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, milliseconds);
}

// Grabs a window's pixels from the display until two grabs a moment apart are the same, so that
// a window still being painted is not taken; gives up with the last grab after a while.
QImage SteadyGrab(QScreen& screen, WId window)
{
    QImage last = screen.grabWindow(window).toImage();
    for (int attempt = 0; attempt < SteadyGrabAttempts; ++attempt) {
        Pause(SteadyGrabPauseMilliseconds);
        QImage next = screen.grabWindow(window).toImage();
        if (!next.isNull() && next.width() > 1 && next == last)
            return next;
        last = std::move(next);
    }
    return last;
}

// Saves the pixels of a window, or of the whole screen, as a picture.
int GrabWindow(const QString& windowText, const QString& file)
{
    WId window = 0;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!ParseWindow(windowText, window) || !screen) {
        PrintLine(QStringLiteral("grab: unknown window ") + windowText);
        return 2;
    }
    const QImage picture = SteadyGrab(*screen, window);
    if (picture.isNull() || !picture.save(file)) {
        PrintLine(QStringLiteral("grab: could not save ") + file);
        return 1;
    }
    PrintLine(QStringLiteral("grab: saved ") + file);
    return 0;
}

// Tells whether the message box shown by another program in the given window says the given
// text: its pixels are compared with those of the box that the program's own code makes for that
// text, shown by this program on the same display, with the same Qt and the same fonts. Saves both
// pictures under the given prefix when they differ and a prefix is given.
int MatchMessageBox(const QString& windowText, const QString& expected, const QString& savePrefix)
{
    WId theirWindow = 0;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!ParseWindow(windowText, theirWindow) || theirWindow == 0 || !screen) {
        PrintLine(QStringLiteral("box-text: unknown window ") + windowText);
        return 2;
    }
    const std::unique_ptr<QDialog> shown = Quorvane::NewMessageBox(expected.toStdString());
    QDialog& box = *shown;
    QImage theirs;
    QImage ours;
    // A box still being drawn on a slow machine may look steady for a moment; such a first look
    // is taken again, a few times.
    for (int attempt = 0; attempt < MatchAttempts; ++attempt) {
        if (attempt > 0)
            Pause(MatchPauseMilliseconds);
        // Grabs read the screen, where our box, shown, would stand over theirs.
        theirs = SteadyGrab(*screen, theirWindow);
        box.show();
        box.raise();
        box.activateWindow();
        ours = SteadyGrab(*screen, box.winId());
        box.hide();
        if (!theirs.isNull() && theirs == ours) {
            PrintLine(QStringLiteral("box-text matches"));
            return 0;
        }
    }
    PrintLine(QStringLiteral("box-text differs: shown %1x%2, expected %3x%4")
                  .arg(theirs.width())
                  .arg(theirs.height())
                  .arg(ours.width())
                  .arg(ours.height()));
    if (!savePrefix.isEmpty()) {
        const QString shownFile = savePrefix + QStringLiteral("-shown.png");
        const QString expectedFile = savePrefix + QStringLiteral("-expected.png");
        theirs.save(shownFile);
        ours.save(expectedFile);
        PrintLine(QStringLiteral("box-text pictures: ") + shownFile + QLatin1Char(' ') + expectedFile);
    }
    return 1;
}

// Prints how the program is called and gives the status of a wrong call.
int WrongCall()
{
    std::fputs(Usage, stderr);
    return 2;
}

} // namespace

// Reads the command line and runs the chosen mode.
int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty())
        return WrongCall();
    if (arguments.front() == QStringLiteral("--grab"))
        return arguments.size() == 3 ? GrabWindow(arguments.at(1), arguments.at(2)) : WrongCall();
    if (arguments.front() == QStringLiteral("--match-box")) {
        if (arguments.size() != 3 && arguments.size() != 4)
            return WrongCall();
        return MatchMessageBox(arguments.at(1), arguments.at(2),
                               arguments.size() == 4 ? arguments.at(3) : QString());
    }
    Qt::DropActions actions = Qt::CopyAction | Qt::LinkAction;
    if (arguments.front() == QStringLiteral("--move-only")) {
        arguments.removeFirst();
        actions = Qt::MoveAction;
        if (arguments.isEmpty())
            return WrongCall();
    }
    DragSourceWindow window(arguments, actions);
    window.show();
    return QApplication::exec();
}
