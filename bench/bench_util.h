// Timing helpers for the benchmarks: each figure is the median of several runs, compared with
// a baseline measured in the same run, so the ratio does not depend on the machine's speed.
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <unistd.h>

namespace tarnix::bench {

// The median of `times` (not empty).
inline double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Median wall time of `runs` calls of `work`, in milliseconds.
inline double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return median(std::move(times));
}

// Median processor time of the calling thread over `runs` calls of `work`, in milliseconds: on a
// machine shared with other work, a long run loses a larger share of its wall time than a short
// one, which this figure does not see.
inline double medianCpuMs(int runs, const std::function<void()>& work)
{
    const auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = now();
        work();
        times.push_back(now() - start);
    }
    return median(std::move(times));
}

// Prints "<what>: <ratio>x <baseline name> (<ms> ms vs <ms> ms, limit <limit>x)" and says
// whether the ratio is within the limit.
inline bool report(const std::string& what, double ms, const std::string& baseline, double baseMs, double limit)
{
    const double ratio = ms / baseMs;
    std::printf("bench: %s: %.3fx %s (%.2f ms vs %.2f ms, limit %.2fx) %s\n", what.c_str(), ratio, baseline.c_str(),
                ms, baseMs, limit, ratio <= limit ? "ok" : "TOO SLOW");
    return ratio <= limit;
}

// A folder in memory where there is one, so disk speed does not blur the figures.
inline std::string scratchRoot() { return std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp"; }

// A new folder of this run under scratchRoot(), with a trailing '/'; the caller removes it.
inline std::string scratchFolder()
{
    const std::string folder = scratchRoot() + "/tarnix-bench-" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace tarnix::bench
