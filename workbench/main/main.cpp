// The workbench: sets the application title, creates every window hidden, shows the main
// window and runs the event loop until the main window closes.
#include <QApplication>

#include "qt_ui.h"
#include "windows.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnix"));
    QApplication::setQuitOnLastWindowClosed(true);
    tarnix::QtUi ui;
    tarnix::setUi(&ui);
    tarnix::CreateWindows();
    tarnix::StartWorkbench();
    return QApplication::exec();
}
