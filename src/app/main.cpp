#include "app/MainWindow.h"
#include "app/QtDialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Edu Tikmeter"));
    QApplication::setDesktopFileName(QStringLiteral("edu-tikmeter"));

    tikmeter::app::QtDialogs dialogs;
    tikmeter::app::MainWindow window(dialogs, QApplication::arguments().mid(1));
    dialogs.setParentWidget(&window);
    window.show();
    return QApplication::exec();
}
