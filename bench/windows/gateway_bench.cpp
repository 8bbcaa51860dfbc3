// The engine gateway's own cost on Windows: a RunGoal round trip (the goal file, a hidden start
// of the stand-in, the wait, the result file) against a bare CreateProcessA and
// WaitForSingleObject of the same program in the same folder. Under Wine every start costs far
// more than on Windows, so only the ratio means anything.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

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

    constexpr int runs = 5;
    double bare = 0, gateway = 0;
    for (int round = 0; round < 2; ++round) {  // interleaved, so drift hits both alike
        bare += bench::medianMs(runs, [&] { bareStartAndWait(program, ws.home); });
        gateway += bench::medianMs(runs, [&] { RunGoal("opt(1,2,3,4,oblist).", code, value); });
    }
    const bool ok = bench::report("RunGoal round trip on Windows", gateway / 2, "bare CreateProcessA and wait",
                                  bare / 2, 1.3);
    return ok && code == "0" && value == "1" ? 0 : 1;
}
