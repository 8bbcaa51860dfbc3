// The workbench: sets the application title, creates every window hidden, shows the main
// window and runs the event loop until the main window closes. Built as tarnix-tools, the
// program starts at the tools launcher, which is then its main window.
#include <QApplication>

#include "qt_ui.h"
#include "program_windows.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnix"));
    QApplication::setQuitOnLastWindowClosed(true);
    tarnix::QtUi ui;
    tarnix::setUi(&ui);
    tarnix::CreateWindows();
#ifdef TARNIX_START_AT_LAUNCHER
    tarnix::StartLauncher();
#else
    tarnix::StartWorkbench();
#endif
    return QApplication::exec();
}
