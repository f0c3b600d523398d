#include "framework/MsgBox.h"
#include "framework/Native.h"
#include "tests/support/Support.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

namespace Quorvane {
namespace {

using namespace Testing;

// The complaint of ln about a folder whose name is one long word, in a read-only sync folder.
String LongComplaint()
{
    String name;
    while (name.size() < 240)
        name += "Progetto_";
    name += "Fine";
    return "Errore imprevisto\nln: failed to create symbolic link '/home/utente/Dropbox/" + name +
           "': Permission denied\n";
}

// The number of lines that the box's text shows: runs of rows of its picture that hold dark
// pixels.
int InkedLines(QDialog& box)
{
    const QImage picture = box.findChild<QWidget*>(QStringLiteral("text"))->grab().toImage();
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < picture.height(); ++y) {
        bool inked = false;
        for (int x = 0; x < picture.width() && !inked; ++x)
            inked = qGray(picture.pixel(x, y)) < 96;
        lines += inked && !inLine ? 1 : 0;
        inLine = inked;
    }
    return lines;
}

// A box as MsgBox shows it, on screen until the end of the test.
struct ShownBox {
    explicit ShownBox(const String& text) : box(NewMessageBox(text))
    {
        box->show();
        ProcessEvents();
    }
    std::unique_ptr<QDialog> box;
};

TEST(MsgBox, AWordLongerThanTheBoxIsWrappedInsideAndShowsWhole)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const ShownBox shown(LongComplaint());
    EXPECT_LE(shown.box->width(), screen.width());
    EXPECT_LE(shown.box->height(), screen.height());
    // "Errore imprevisto", then the complaint over several lines.
    EXPECT_GE(InkedLines(*shown.box), 5);
}

TEST(MsgBox, ShortTextsStayOnTheirOwnLinesAndTheBoxFitsThem)
{
    const ShownBox one("Collegamento alla cartella creato correttamente in DropBox");
    const ShownBox two("Errore imprevisto\nImpossibile trovare Dropbox");
    EXPECT_EQ(InkedLines(*one.box), 1);
    EXPECT_EQ(InkedLines(*two.box), 2);
    EXPECT_LT(one.box->width(), 600);
}

TEST(MsgBox, ATextTallerThanTheScreenScrollsInABoxThatFitsIt)
{
    String text = "Errore imprevisto";
    for (int line = 0; line < 400; ++line)
        text += "\nln: failed to create symbolic link: line " + std::to_string(line);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const ShownBox shown(text);
    EXPECT_LE(shown.box->height(), screen.height());
    EXPECT_NE(shown.box->findChild<QScrollArea*>(), nullptr);
}

TEST(MsgBox, TheCopyKeyCopiesTheTextExactlyAsGiven)
{
    const String text = LongComplaint();
    const ShownBox shown(text);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(shown.box.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(FromQString(QGuiApplication::clipboard()->text()), text);
}

TEST(MsgBox, TheBoxIsModalTitledAfterTheProgramAndEndsWithReturn)
{
    MessageBoxes boxes;
    MsgBox("Trascina la cartella da aggiungere sul Logo DropBox");
    EXPECT_EQ(boxes.Texts(), (std::vector<String>{"Trascina la cartella da aggiungere sul Logo DropBox"}));

    const ShownBox shown("Cartella gi\xC3\xA0 esistente");
    EXPECT_TRUE(shown.box->isModal());
    EXPECT_EQ(shown.box->windowTitle(), QStringLiteral("Quorvane"));
    QTest::keyClick(shown.box.get(), Qt::Key_Return);
    EXPECT_FALSE(shown.box->isVisible());
    EXPECT_EQ(shown.box->result(), QDialog::Accepted);
}

} // namespace
} // namespace Quorvane
