#include "framework/MsgBox.h"

#include "framework/Native.h"
#include "framework/Version.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <exception>

namespace Quorvane {

namespace {

MessageBoxWatcher& Watcher()
{
    static MessageBoxWatcher watcher;
    return watcher;
}

// The widest a box's text runs before it wraps, in pixels; less on a narrower screen.
constexpr int LineWidthLimit = 560;

// Lays the text out in lines at most width wide: at word boundaries, and inside a word only where
// the word is longer than a line, so that a long path shows whole. Returns the height the lines
// take, and draws them when given a painter.
int LayOut(const QString& text, const QFont& font, qreal width, QPainter* painter = nullptr)
{
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal height = 0;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height));
            height += line.height();
        }
        layout.endLayout();
        if (painter)
            layout.draw(painter, QPointF(0, 0));
    }
    return static_cast<int>(std::ceil(height));
}

// The width of the text's longest line, unwrapped.
int NaturalWidth(const QString& text, const QFont& font)
{
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString& paragraph : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(paragraph));
    return static_cast<int>(std::ceil(widest));
}

// The text of a box, wrapped as LayOut wraps it.
class BoxText final : public QWidget {
public:
    explicit BoxText(QString text) : m_text(std::move(text)) { setObjectName(QStringLiteral("text")); }

    QSize Fitting(int widthLimit) const
    {
        const int width = std::min(NaturalWidth(m_text, font()), widthLimit);
        return {width, LayOut(m_text, font(), width)};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        LayOut(m_text, font(), width(), &painter);
    }

private:
    QString m_text;
};

// A modal box that shows one text whole, with one OK button, and copies the text with the copy
// key, as message boxes do.
class MessageBox final : public QDialog {
public:
    explicit MessageBox(const String& text) : m_text(ToQString(text))
    {
        setWindowTitle(QStringLiteral(QUORVANE_DISPLAY_NAME));
        setModal(true);
        auto* layout = new QVBoxLayout(this); // each widget belongs to the box from here on
        layout->setSizeConstraint(QLayout::SetFixedSize);
        auto* shown = new BoxText(m_text);
        const QRect screen = QGuiApplication::primaryScreen()
                                 ? QGuiApplication::primaryScreen()->availableGeometry()
                                 : QRect(0, 0, 1024, 768);
        const QSize fitting = shown->Fitting(std::min(LineWidthLimit, screen.width() * 3 / 4));
        shown->setFixedSize(fitting);
        // A text taller than the screen leaves room for the button and the frame, and scrolls.
        const int heightLimit = screen.height() * 3 / 4;
        if (fitting.height() > heightLimit) {
            auto* scrolled = new QScrollArea;
            scrolled->setFrameShape(QFrame::NoFrame);
            scrolled->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            scrolled->setWidget(shown);
            scrolled->setFixedSize(fitting.width() + scrolled->verticalScrollBar()->sizeHint().width(),
                                   heightLimit);
            layout->addWidget(scrolled);
        } else {
            layout->addWidget(shown);
        }
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
        buttons->setCenterButtons(style()->styleHint(QStyle::SH_MessageBox_CenterButtons, nullptr, this));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        layout->addWidget(buttons);
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);
        buttons->button(QDialogButtonBox::Ok)->setFocus();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(m_text);
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    QString m_text;
};

} // namespace

std::unique_ptr<QDialog> NewMessageBox(const String& text)
{
    return std::make_unique<MessageBox>(text);
}

void MsgBox(const String& text)
{
    RequireMainThread();
    const std::unique_ptr<QDialog> box = NewMessageBox(text);
    std::exception_ptr watcherFailure;
    if (MessageBoxWatcher watcher = Watcher()) {
        // Runs inside the box's own event loop, so the box is on screen when the watcher looks.
        QTimer::singleShot(0, box.get(), [&box, &watcherFailure, watcher, text] {
            try {
                watcher(text);
            } catch (...) {
                watcherFailure = std::current_exception();
            }
            box->accept();
        });
    }
    box->exec();
    if (watcherFailure)
        std::rethrow_exception(watcherFailure);
}

MessageBoxWatcher SetMessageBoxWatcher(MessageBoxWatcher watcher)
{
    return std::exchange(Watcher(), std::move(watcher));
}

} // namespace Quorvane
