// The baseline of the start-up and memory figures: the least a Qt 6 Widgets program does to show
// one message box.

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorvane"),
                    QStringLiteral("Trascina la cartella da aggiungere sul Logo DropBox"), QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? 0 : 1;
}
