#include "framework/Native.h"
#include "framework/Runtime.h"
#include "framework/Version.h"
#include "resources/Logo.h"
#include "tests/support/OpenedWindow.h"
#include "tests/support/Support.h"
#include "tests/support/TestWindow.h"
#include "window/folder.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace Quorvane {
namespace {

using namespace Testing;

const String Notice = "Trascina qui una cartella";

TEST(LogoWindow, BeforeOpeningTheWindowBearsItsStoredLayout)
{
    folder::_Initialize();
    Ref<TestWindow> window = BareWindow();
    window->Layout();
    window->CreateControls();
    const QMainWindow& topLevel = NativeAccess::TopLevel(*window);
    const QWidget& content = NativeAccess::Content(*window);
    EXPECT_EQ(window->Width(), 423);
    EXPECT_EQ(window->Height(), 167);
    EXPECT_EQ(content.size(), QSize(423, 167));
    EXPECT_EQ(topLevel.windowTitle(), "Quorvane");
    EXPECT_EQ(window->MinWidth(), 64);
    EXPECT_EQ(window->MaxHeight(), 32000);
    EXPECT_EQ(content.minimumSize(), content.maximumSize()); // not resizeable
    const Qt::WindowFlags flags = topLevel.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowFullscreenButtonHint));
    Ref<Canvas> canvas = window->Canvas1();
    EXPECT_EQ(NativeAccess::Widget(*canvas).geometry(), QRect(4, 2, 417, 163));
    EXPECT_TRUE(window->mPicture.IsNil());
    ReleaseImplicitWindows();
    folder::pfolders__Exit();
}

TEST(LogoWindow, OpeningGivesWindowAndCanvasThePicturesSizeAndTheVersionedTitle)
{
    TemporaryHome home;
    home.MakeDropbox();
    OpenedWindow opened;
    const Ref<Window_main>& window = opened.Window();
    ASSERT_TRUE(window->mPicture);
    EXPECT_EQ(window->mPicture->Width(), 300);
    EXPECT_EQ(window->mPicture->Height(), 101);
    EXPECT_EQ(window->Width(), 300);
    EXPECT_EQ(window->Height(), 101);
    EXPECT_EQ(NativeAccess::Content(*window).size(), QSize(300, 101));
    EXPECT_EQ(opened.Canvas().geometry(), QRect(4, 2, 300, 101));
    EXPECT_TRUE(window->Canvas1()->Backdrop() == window->mPicture);
    EXPECT_EQ(window->Title(), "Quorvane V. " QUORVANE_VERSION);
    EXPECT_EQ(opened.TopLevel().windowTitle(), "Quorvane V. " QUORVANE_VERSION);
    EXPECT_TRUE(Window_main::Implicit() == window);
    ASSERT_TRUE(window->DropBoxFolder);
    EXPECT_EQ(window->DropBoxFolder->POSIXPath(), home.Dropbox());
}

TEST(LogoWindow, ADiscoveryMessageAtOpeningComesWhileTheTitleIsStillTheStoredOne)
{
    TemporaryHome home;
    FakeShell shell("", "~/Dropbox/");
    std::vector<String> titles;
    MessageBoxWatcher previous = SetMessageBoxWatcher([&titles](const String&) {
        titles.push_back(_GetImplicitWindow("Window_main.Window_main")->Title());
    });
    {
        OpenedWindow opened;
        EXPECT_EQ(titles, (std::vector<String>{"Quorvane"}));
        EXPECT_EQ(opened.Window()->Title(), "Quorvane V. " QUORVANE_VERSION);
    }
    SetMessageBoxWatcher(std::move(previous));
}

// What the canvas should show: the logo, then the notice shortened to fit, from x on baseline 15.
QImage Expected(QSize size, const QFont& font, int x, int wrapWidth)
{
    QImage expected(size, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    QPainter painter(&expected);
    painter.setFont(font);
    painter.drawImage(0, 0, QImage::fromData(QByteArray::fromBase64(QByteArray::fromStdString(LogoBase64()))));
    painter.drawText(x, 15, painter.fontMetrics().elidedText(QString::fromStdString(Notice),
                                                             Qt::ElideRight, wrapWidth));
    return expected;
}

QImage Rendered(QWidget& canvas)
{
    QImage rendered(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::transparent);
    canvas.render(&rendered, QPoint(), QRegion(), QWidget::RenderFlags());
    return rendered;
}

TEST(LogoWindow, PaintDrawsTheNoticeOverTheLogoPlacedByTheCanvasHeight)
{
    TemporaryHome home;
    OpenedWindow opened;
    QWidget& canvas = opened.Canvas();

    const QImage logoAlone = Expected(canvas.size(), canvas.font(), 0, 0);
    const QImage at81 = Expected(canvas.size(), canvas.font(), 81, 280);
    ASSERT_NE(at81, logoAlone) << "no font draws the notice";
    EXPECT_EQ(Rendered(canvas), at81);

    opened.Window()->Canvas1()->Width(400);
    opened.Window()->Canvas1()->Height(150);
    EXPECT_EQ(canvas.geometry(), QRect(4, 2, 400, 150));
    EXPECT_EQ(Rendered(canvas), Expected(canvas.size(), canvas.font(), 130, 380));
}

TEST(LogoWindow, ClosingTheWindowQuitsTheApplication)
{
    TemporaryHome home;
    OpenedWindow opened;
    EXPECT_FALSE(QuitRequested());
    opened.TopLevel().close();
    EXPECT_TRUE(QuitRequested());
    EXPECT_FALSE(TakeCarriedException());
}

} // namespace
} // namespace Quorvane
