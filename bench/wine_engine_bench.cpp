// Engine programs that are Windows programs, started through Wine: a RunGoal round trip with
// the Windows build of the stand-in against the same round trip with the Linux stand-in,
// started directly, and against a bare start-and-wait of the Windows program through Wine
// (what the gateway adds there). The stand-in answers at once.
#include <cstdio>
#include <filesystem>

#include "Unit4.h"
#include "bench_util.h"
#include "platform/platform.h"
#include "tests/workspace.h"

using namespace tarnix;

int main()
{
    test::Workspace ws;
    ws.installEngines();
    ws.script("goal opt(1,2,3,4,oblist).\ncode 0\nvalue 1\n");
    const std::string program = ws.home + "vrex.exe";
    const std::string linuxEngine = ws.root + "vrex-linux";
    std::filesystem::rename(program, linuxEngine);
    const auto install = [&](const std::string& engine) {
        std::filesystem::remove(program);
        std::filesystem::copy_file(engine, program);
    };
    std::string code, value;
    const auto roundTrip = [&] { RunGoal("opt(1,2,3,4,oblist).", code, value); };

    // Warm the caches, and start the Wine server that every later Windows program finds running.
    install(TARNIX_WINDOWS_STANDIN);
    roundTrip();
    bool answered = code == "0";

    constexpr int runs = 11, rounds = 3;
    double direct = 0, wine = 0, bareWine = 0;
    for (int round = 0; round < rounds; ++round) {  // interleaved, so drift hits all alike
        install(linuxEngine);
        direct += bench::medianMs(runs, roundTrip);
        answered = answered && code == "0";
        install(TARNIX_WINDOWS_STANDIN);
        wine += bench::medianMs(runs, roundTrip);
        answered = answered && code == "0";
        bareWine += bench::medianMs(runs, [&] { platform::startProgram(program, ws.home).wait(); });
    }
    // Wine's start of a program is most of the time; a start that had to bring up a Wine server
    // (or a prefix) every time would take some seconds.
    bool ok = bench::report("RunGoal round trip through Wine", wine / rounds, "RunGoal with the Linux stand-in",
                            direct / rounds, 50);
    ok = bench::report("RunGoal round trip through Wine", wine / rounds, "bare start-and-wait through Wine",
                       bareWine / rounds, 2) && ok;
    std::printf("bench: answers %s\n", answered ? "ok" : "MISSING");
    return ok && answered ? 0 : 1;
}
