// The batch interpreter: whatever the batch file says, it never crashes, touches nothing
// outside the folder it runs in unless a line names a place outside, and every file it
// leaves holds the bytes of a file that was there (a copy or move never writes half a file).
// Input: the batch file's bytes.
#include "fuzz_support.h"
#include "platform.h"

#include <set>

namespace {

using namespace tarnix;
using namespace tarnix::fuzz;

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// True when no line can name a place outside the current folder: no "..", no variables, no
// absolute path (a '/' that begins a word is only allowed as the switch "/y" or "/-y").
// Quotes and carets are left out first, so that they cannot hide any of these.
bool staysInside(std::string_view text)
{
    std::string plain;
    for (const char c : text)
        if (c != '"' && c != '^') plain += c;
    if (plain.find("..") != std::string::npos || plain.find('%') != std::string::npos) return false;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] != '/' || (i > 0 && !blank(plain[i - 1]))) continue;
        std::size_t j = i + 1;
        if (j < plain.size() && plain[j] == '-') ++j;
        if (j >= plain.size() || (plain[j] != 'y' && plain[j] != 'Y')) return false;
        if (j + 1 < plain.size() && !blank(plain[j + 1])) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchFolder scratch;
    const std::string batch(reinterpret_cast<const char*>(data), size);
    if (!staysInside(batch)) return -1;  // not kept in the corpus

    // root/in is the current folder; root/out and root/outside.txt lie beside it.
    const std::string root = scratch.fresh();
    const std::string in = root + "in/";
    std::filesystem::create_directories(in + "sub");
    std::filesystem::create_directories(root + "out");
    writeFile(root + "outside.txt", "outside");
    writeFile(root + "out/keep.txt", "keep");
    const std::set<std::string> contents = {"alpha\r\n", "BRAVO", "exe", "\xD1\x84 file", "charlie", batch};
    writeFile(in + "a.txt", "alpha\r\n");
    writeFile(in + "B.TXT", "BRAVO");
    writeFile(in + "vrexn.exe", "exe");
    writeFile(in + "\xD1\x84.txt", "\xD1\x84 file");  // a Cyrillic name, UTF-8 on disk
    writeFile(in + "sub/c.txt", "charlie");
    writeFile(in + "cf.bat", batch);

    auto outside = [&] {
        auto all = snapshot(root);
        std::erase_if(all, [](const auto& entry) { return entry.first == "in" || entry.first.rfind("in/", 0) == 0; });
        return all;
    };
    const auto before = outside();
    FUZZ_CHECK(platform::runBatchFile(in + "cf.bat", in), "the batch file could not be read");
    const auto after = outside();
    FUZZ_CHECK(after == before, "batch: " + shown(batch) + "\noutside before:\n" + describe(before) +
                                    "outside after:\n" + describe(after));
    for (const auto& [name, what] : snapshot(in))
        if (what != "<folder>")
            FUZZ_CHECK(contents.count(what) == 1,
                       "batch: " + shown(batch) + "\n" + shown(name) + " holds " + shown(what));
    return 0;
}
