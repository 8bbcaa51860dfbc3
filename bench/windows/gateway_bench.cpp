// The engine gateway's own cost on Windows: a RunGoal round trip (the goal file, a hidden start
// of the stand-in, the wait, the result file) against a bare CreateProcessA and
// WaitForSingleObject of the same program in the same folder. Under Wine every start costs far
// more than on Windows, so only the ratio means anything.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Unit4.h"
#include "bench_util.h"
#include "tests/workspace.h"

using namespace tarnix;

namespace {

// Starts the program as the gateway does (hidden, the home folder current) and waits for it.
void bareStartAndWait(const std::string& program, const std::string& folder)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &started)) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        std::exit(1);
    }
    ::WaitForSingleObject(started.hProcess, INFINITE);
    ::CloseHandle(started.hProcess);
    ::CloseHandle(started.hThread);
}

}  // namespace

int main()
{
    test::Workspace ws;
    ws.installEngines();
    ws.script("goal opt(1,2,3,4,oblist).\ncode 0\nvalue 1\n");
    const std::string program = ws.home + "vrex.exe";
    std::string code, value;
    RunGoal("opt(1,2,3,4,oblist).", code, value);  // warm the caches

    // One start of each kind in turn, so that the load of a shared machine hits all alike.
    constexpr int runs = 15;
    std::vector<double> bare, layer, gateway;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(bench::medianMs(1, [&] { bareStartAndWait(program, ws.home); }));
        layer.push_back(bench::medianMs(1, [&] { platform::startProgram(program, ws.home).wait(); }));
        gateway.push_back(bench::medianMs(1, [&] { RunGoal("opt(1,2,3,4,oblist).", code, value); }));
    }
    // The platform layer's start puts the program into a job of its own, so that cancelling
    // ends whatever it started too.
    const double baseMs = bench::median(bare);
    bool ok = bench::report("platform layer start and wait on Windows", bench::median(layer),
                            "bare CreateProcessA and wait", baseMs, 1.5);
    ok = bench::report("RunGoal round trip on Windows", bench::median(gateway), "bare CreateProcessA and wait",
                       baseMs, 1.5) && ok;
    return ok && code == "0" && value == "1" ? 0 : 1;
}
