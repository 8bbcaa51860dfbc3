// A rule's trace file: after its three heading lines, its sections are the runs of lines up to
// each separator (a line shorter than two characters or beginning with "--"); no section holds
// a separator, and the sections with their separators are the file's lines in order.
#include "fuzz_support.h"
#include "rule_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnix;
    using namespace tarnix::fuzz;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto what = [&] { return "trace file: " + shown(bytes.substr(0, 400)); };
    const Lines lines = splitLines(bytes);
    const auto sections = TraceSections(lines);

    const auto separator = [](const std::string& l) { return l.size() < 2 || l.rfind("--", 0) == 0; };
    std::size_t i = 3;
    for (const Lines& section : sections) {
        for (const std::string& line : section) {
            FUZZ_CHECK(!separator(line), "a separator inside a section\n" + what());
            FUZZ_CHECK(i < lines.size() && lines[i] == line, "line " + std::to_string(i) + "\n" + what());
            ++i;
        }
        FUZZ_CHECK(i >= lines.size() || separator(lines[i]), "a section ends early\n" + what());
        ++i;
    }
    return 0;
}
