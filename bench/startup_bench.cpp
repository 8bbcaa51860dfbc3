// Start-up without the splash: creating every window, reading the settings and the first
// activation, against the budget of 300 ms.
#include <QApplication>

#include "Unit12.h"
#include "Unit20.h"
#include "Unit4.h"
#include "bench_util.h"
#include "tests/workspace.h"
#include "program_windows.h"

using namespace tarnix;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::Workspace ws;
    ws.write(ws.work + "espar.txt", "espar\r\nKbMovem1.rul\r\ntask2.tsk\r\ntriproc\r\n1\r\n5\r\n100\r\n");

    const double startup = bench::medianMs(5, [] {
        CreateWindows();
        Form12->FormActivate();
        Form12->show();
        QApplication::processEvents();
        delete Form12;
        delete AboutBox;
    });
    bench::report("windows, settings and first activation", startup, "the 300 ms budget", 300.0, 1.0);
    return startup < 300 ? 0 : 1;
}
