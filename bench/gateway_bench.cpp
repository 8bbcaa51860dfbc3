// The engine gateway's own cost: a RunGoal round trip against a stand-in that answers at once,
// compared with a bare spawn-and-wait of the same program, both with the test Ui and with the
// program's own, which waits in the event loop. A goal of 50 ms shows no progress window.
#include <QApplication>
#include <QEvent>
#include <cstdlib>

#include "Unit4.h"
#include "bench_util.h"
#include "platform/platform.h"
#include "qt_ui.h"
#include "tests/workspace.h"

using namespace tarnix;

namespace {

// Counts the progress windows that appear.
struct ProgressWatch : QObject {
    int shown = 0;
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show && object->objectName() == QLatin1String(ProgressWindowName))
            ++shown;
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    test::Workspace ws;
    ws.installEngines();
    ws.script("goal opt(1,2,3,4,oblist).\ncode 0\nvalue 1\ngoal slow.\nhang 0.05\ncode 0\n");
    const std::string program = ws.home + "vrex.exe";
    std::string code, value;
    QtUi qtUi;
    RunGoal("opt(1,2,3,4,oblist).", code, value);  // warm the caches

    constexpr int runs = 41;
    double bare = 0, scripted = 0, qt = 0;
    for (int round = 0; round < 3; ++round) {  // interleaved, so drift hits all alike
        bare += bench::medianMs(runs, [&] { platform::startProgram(program, ws.home).wait(); });
        setUi(&ws.ui);
        scripted += bench::medianMs(runs, [&] { RunGoal("opt(1,2,3,4,oblist).", code, value); });
        setUi(&qtUi);
        qt += bench::medianMs(runs, [&] { RunGoal("opt(1,2,3,4,oblist).", code, value); });
    }
    bool ok = bench::report("RunGoal round trip", scripted, "bare spawn-and-wait", bare, 1.2);
    ok = bench::report("RunGoal round trip in the event loop", qt, "bare spawn-and-wait", bare, 1.2) && ok;
    ok = ok && code == "0";

    ProgressWatch watch;
    app.installEventFilter(&watch);
    for (int i = 0; i < 5; ++i)
        RunGoal("slow.", code, value);
    app.removeEventFilter(&watch);
    std::printf("bench: 50 ms goals: %d progress windows shown %s\n", watch.shown, watch.shown == 0 ? "ok" : "TOO MANY");
    setUi(&ws.ui);
    return ok && watch.shown == 0 && code == "0" ? 0 : 1;
}
