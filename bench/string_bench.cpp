// Replacing every occurrence of a word in a 10 MB text with 100,000 occurrences: SubstAll and
// Substitute against a replace loop written with std::string::find and append; and the same on
// a ten times larger text, which should take about ten times as long; and a text of one letter
// repeated, searched for a long pattern that almost matches everywhere, where a search that
// starts over at every position would compare a thousand bytes per byte of the text.
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <random>

#include "bench_util.h"
#include "string_functions.h"

using namespace tarnix;

namespace {

const std::string Pattern = "tarnix";
const std::string Replacement = "Tarnix 1.02";

// Random words of the letters but 'x', with the pattern after every 94 bytes: the pattern's
// first letters come up often in the words, and it occurs nowhere but where it was put.
std::string makeText(std::size_t occurrences)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> letter(0, 25);
    std::string text;
    text.reserve(occurrences * 100);
    for (std::size_t i = 0; i < occurrences; ++i) {
        for (int k = 0; k < 94; ++k) {
            const char c = static_cast<char>('a' + letter(rng));
            text += k % 7 == 6 ? ' ' : c == 'x' ? 'e' : c;
        }
        text += Pattern;
    }
    return text;
}

std::string findAppendLoop(const std::string& text, const std::string& pattern, const std::string& replacement)
{
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t hit; (hit = text.find(pattern, done)) != std::string::npos; done = hit + pattern.size()) {
        out.append(text, done, hit - done);
        out.append(replacement);
    }
    out.append(text, done);
    return out;
}

using Replace = std::string (*)(std::string_view, std::string_view, std::string_view);

double timeMs(int runs, Replace replace, const std::string& text, std::size_t& sink)
{
    return bench::medianCpuMs(runs, [&] { sink += replace(text, Pattern, Replacement).size(); });
}

}  // namespace

int main()
{
    // Every block comes from the program's heap and stays there when freed, so each run reuses
    // the memory of the run before, whatever its size. Otherwise glibc maps a block over 32 MB
    // afresh at every allocation (and a 10 MB one not), and where the first touch of a page is
    // expensive the 100 MB figures would measure the kernel's page faults, not the replacing.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, -1);

    const std::string text = makeText(100000);
    const std::string expected = findAppendLoop(text, Pattern, Replacement);
    if (SubstAll(text, Pattern, Replacement) != expected || Substitute(text, Pattern, Replacement) != expected) {
        std::printf("bench: the replacing functions disagree with the find-and-append loop\n");
        return 1;
    }
    std::printf("bench: text of %zu bytes, 100000 occurrences\n", text.size());

    std::size_t sink = 0;
    double loop = 0, substAll = 0, substitute = 0;
    for (int round = 0; round < 3; ++round) {  // interleaved, so drift hits all alike
        loop += bench::medianCpuMs(7, [&] { sink += findAppendLoop(text, Pattern, Replacement).size(); });
        substAll += timeMs(7, SubstAll, text, sink);
        substitute += timeMs(7, Substitute, text, sink);
    }
    bool ok = bench::report("SubstAll on 10 MB", substAll, "find-and-append loop", loop, 1.5);
    ok &= bench::report("Substitute on 10 MB", substitute, "find-and-append loop", loop, 1.5);

    std::string large;
    for (int i = 0; i < 10; ++i)
        large += text;
    // The best of three rounds: a 100 MB pass is long enough for a neighbour's burst of memory
    // traffic to land in one round, while growing faster than the text would show in all three.
    double substAllLarge = 1e300, substituteLarge = 1e300;
    for (int round = 0; round < 3; ++round) {
        substAllLarge = std::min(substAllLarge, timeMs(5, SubstAll, large, sink));
        substituteLarge = std::min(substituteLarge, timeMs(5, Substitute, large, sink));
    }
    ok &= bench::report("SubstAll on 100 MB", substAllLarge, "on 10 MB", substAll / 3, 12);
    ok &= bench::report("Substitute on 100 MB", substituteLarge, "on 10 MB", substitute / 3, 12);
    const std::string letters(10000000, 'a');
    const std::string nearMiss = std::string(999, 'a') + "b";
    const double worst = bench::medianCpuMs(5, [&] { sink += SubstAll(letters, nearMiss, Replacement).size(); });
    ok &= bench::report("SubstAll of a near miss on 10 MB of one letter", worst, "the ordinary 10 MB text",
                        substAll / 3, 10);
    return ok && sink > 0 ? 0 : 1;
}
