// The start-up reference: a Qt program that shows an empty main window and
// nothing else, built with the same flags as Kivo231.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Empty main window"));
    window.show();
    return QApplication::exec();
}
