// Text files: the line splitter and joiner lose no byte and agree with the readers and
// writers of files; the atomic save leaves the new bytes, the file's mode, its link and its
// other hard links, and nothing else in the folder.
#include "common.h"
#include "fuzz_support.h"
#include "platform.h"
#include "text_file.h"

namespace {

using namespace tarnix;
using namespace tarnix::fuzz;

// What joining the lines of `bytes` must give: every line ended by CR LF, nothing else
// changed. A lone LF gains its CR, a last line without a terminator gains one.
std::string normalised(std::string_view bytes)
{
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) out += '\r';
        out += bytes[i];
    }
    if (!bytes.empty() && bytes.back() != '\n') out += "\r\n";
    return out;
}

std::string listed(const Lines& lines)
{
    std::string out;
    for (const auto& l : lines) out += "  [" + shown(l) + "]\n";
    return out;
}

// How the file to be replaced is laid out, chosen by the input's length.
enum class Layout { PrivateFile, Link, HardLinks };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchFolder scratch;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto what = [&] { return "input: " + shown(bytes); };

    // Splitting and joining.
    const Lines lines = splitLines(bytes);
    FUZZ_CHECK(joinLines(lines) == normalised(bytes), what() + "\nlines:\n" + listed(lines));
    FUZZ_CHECK(splitLines(joinLines(lines)) == lines, what());
    const std::size_t some = size % 7;
    const Lines first = splitLines(bytes, some);
    FUZZ_CHECK(first == Lines(lines.begin(), lines.begin() + std::min(some, lines.size())), what());

    // Any lines without a line feed come back whole from their joined bytes.
    Lines chosen;
    for (std::string_view rest = bytes;;) {
        const auto nul = rest.find('\0');
        std::string line(rest.substr(0, nul));
        std::erase(line, '\n');
        chosen.push_back(line);
        if (nul == std::string_view::npos) break;
        rest.remove_prefix(nul + 1);
    }
    FUZZ_CHECK(splitLines(joinLines(chosen)) == chosen, "lines:\n" + listed(chosen));

    // The file readers and writers say the same as the splitter and joiner.
    const std::string folder = scratch.fresh();
    const std::string file = folder + "text.txt";
    writeBytes(file, bytes);
    FUZZ_CHECK(readFile(file) == bytes, what());
    FUZZ_CHECK(loadFileBytes(file) == bytes, what());
    FUZZ_CHECK(readLines(file) == lines, what());
    FUZZ_CHECK(readLines(file, some) == first, what());
    FUZZ_CHECK(standin::readLines(file) == lines, what());
    writeLines(file, chosen);
    FUZZ_CHECK(readFile(file) == joinLines(chosen), "lines:\n" + listed(chosen));

    // The atomic save over an existing file.
    const auto layout = static_cast<Layout>(size % 3);
    const std::string real = folder + "real.txt", other = folder + "other.txt";
    std::filesystem::remove(file);
    writeFile(real, "old\r\n");
    ::chmod(real.c_str(), 0600);
    std::string target = real;
    if (layout == Layout::Link) {
        ::symlink("real.txt", file.c_str());
        target = file;
    } else if (layout == Layout::HardLinks) {
        ::link(real.c_str(), other.c_str());
    }
    const auto before = snapshot(folder);
    saveFileAtomically(target, bytes);
    const auto after = snapshot(folder);
    FUZZ_CHECK(readFile(real) == bytes, what());
    FUZZ_CHECK((modeOf(real) & 07777) == 0600, what() + "\nthe mode was " + std::to_string(modeOf(real) & 07777));
    if (layout == Layout::Link) FUZZ_CHECK(S_ISLNK(modeOf(file)), "the link was replaced by a file\n" + what());
    if (layout == Layout::HardLinks) FUZZ_CHECK(readFile(other) == bytes, "the other hard link kept the old bytes\n" + what());
    FUZZ_CHECK(after.size() == before.size(), "entries before:\n" + describe(before) + "after:\n" + describe(after));
    return 0;
}
