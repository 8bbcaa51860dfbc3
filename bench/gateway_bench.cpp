// The engine gateway's own cost: a RunGoal round trip against a stand-in that answers at once,
// compared with a bare spawn-and-wait of the same program.
#include <cstdlib>

#include "Unit4.h"
#include "bench_util.h"
#include "platform/platform.h"
#include "tests/workspace.h"

using namespace tarnix;

int main()
{
    test::Workspace ws;
    ws.installEngines();
    ws.script("goal *\ncode 0\nvalue 1\n");
    const std::string program = ws.home + "vrex.exe";
    std::string code, value;
    RunGoal("opt(1,2,3,4,oblist).", code, value);  // warm the caches

    constexpr int runs = 41;
    double bare = 0, gateway = 0;
    for (int round = 0; round < 3; ++round) {  // interleaved, so drift hits both alike
        bare += bench::medianMs(runs, [&] { platform::startProgram(program, ws.home).wait(); });
        gateway += bench::medianMs(runs, [&] { RunGoal("opt(1,2,3,4,oblist).", code, value); });
    }
    const bool ok = bench::report("RunGoal round trip", gateway, "bare spawn-and-wait", bare, 1.2);
    return ok && code == "0" ? 0 : 1;
}
