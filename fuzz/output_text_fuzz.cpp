// Output text: the line index of a file read whole, and of the same file as it grows in pieces,
// gives the lines of the file (split at CR LF, LF and a CR alone, the last terminator starting
// no line); every line maps back to itself through lineOf; a search finds what a plain scan
// finds, forwards and backwards, with and without letter case.
#include "fuzz_support.h"
#include "output_text.h"

#include <algorithm>

namespace {

using namespace tarnix;
using namespace tarnix::fuzz;

std::vector<std::string> linesOf(const OutputText& text)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < text.lineCount(); ++i) lines.emplace_back(text.line(i));
    return lines;
}

// The first (last) place at or after (before) `from` where `needle` matches, byte by byte.
std::size_t scan(std::string_view bytes, std::string_view needle, bool matchCase, std::size_t from, bool backwards)
{
    const auto at = [&](std::size_t p) {
        for (std::size_t k = 0; k < needle.size(); ++k) {
            const auto a = static_cast<unsigned char>(bytes[p + k]), b = static_cast<unsigned char>(needle[k]);
            if (matchCase ? a != b : LowerCase1251(a) != LowerCase1251(b)) return false;
        }
        return true;
    };
    if (needle.empty() || needle.size() > bytes.size()) return NotFound;
    const std::size_t last = bytes.size() - needle.size();
    if (!backwards) {
        for (std::size_t p = from; p <= last; ++p)
            if (at(p)) return p;
        return NotFound;
    }
    for (std::size_t p = std::min(from, last + 1); p-- > 0;)
        if (at(p)) return p;
    return NotFound;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const std::size_t piece = data[0] % 7 + 1;   // the size of the pieces the file grows by
    const std::size_t needleSize = data[1] % 5 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

    OutputText whole, growing;
    whole.assign(std::string(bytes));
    for (std::size_t at = 0; at < bytes.size(); at += piece) growing.append(bytes.substr(at, piece));
    const auto expected = breakLines(bytes);
    if (linesOf(whole) != expected || linesOf(growing) != expected)
        fail("the lines of the file, read whole and growing", "file: " + shown(bytes));
    for (std::size_t i = 0; i < whole.lineCount(); ++i)
        if (whole.lineOf(whole.lineStart(i)) != i || growing.lineStart(i) != whole.lineStart(i))
            fail("lineOf(lineStart(i)) == i", "file: " + shown(bytes) + " line " + std::to_string(i));

    // The needle is taken from the middle of the text, so it is often there.
    const std::string_view needle = bytes.substr(bytes.size() / 2, needleSize);
    for (const bool matchCase : {false, true})
        for (const bool backwards : {false, true})
            for (const std::size_t from : {std::size_t{0}, bytes.size() / 3, bytes.size()}) {
                const std::size_t found = FindBytes(bytes, needle, matchCase, from, backwards);
                if (found != scan(bytes, needle, matchCase, from, backwards))
                    fail("FindBytes finds what a plain scan finds",
                         "file: " + shown(bytes) + "\nneedle: " + shown(needle) + " from " + std::to_string(from));
            }
    return 0;
}
