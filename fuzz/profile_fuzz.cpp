// Profile files: writing one key changes that key and nothing else, reads back as written,
// keeps the file's mode and link, and a second identical write changes no byte.
// Input: section NUL key NUL value NUL flags NUL file bytes; flags: 'l' the file is a
// link to another file, 'r' the file is read-only.
#include "fuzz_support.h"
#include "platform.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {

using namespace tarnix;
using namespace tarnix::fuzz;

bool blank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool hasBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// A file with the UTF-16 mark whose rest is no whole UTF-16: read, but never written to.
bool damagedUtf16(const std::string& bytes) {
    if (bytes.compare(0, 2, "\xFF\xFE") != 0) return false;
    const std::string_view body = std::string_view(bytes).substr(2);
    return platform::utf8ToUtf16le(platform::utf16leToUtf8(body)) != body;
}

// Names a reader of profile files could look up in `text`: every section header and every
// "key=" line, paired with the section it stands in. Only the first 24, to stay quick.
std::vector<std::pair<std::string, std::string>> probes(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> out;
    std::string section;
    std::size_t pos = 0;
    while (pos < text.size() && out.size() < 24) {
        auto end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string_view line = trimmed(std::string_view(text).substr(pos, end - pos));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() == '[') {
            const auto close = line.find(']');
            section = std::string(trimmed(line.substr(1, close == std::string_view::npos ? close : close - 1)));
        } else if (const auto eq = line.find('='); eq != std::string_view::npos) {
            out.emplace_back(section, std::string(trimmed(line.substr(0, eq))));
        }
        pos = end + 1;
    }
    return out;
}

std::string report(const std::vector<std::string>& f, const std::string& before, const std::string& after)
{
    return "section [" + shown(f[0]) + "] key [" + shown(f[1]) + "] value [" + shown(f[2]) + "] flags [" +
           shown(f[3]) + "]\nbefore: " + shown(before) + "\nafter:  " + shown(after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchFolder scratch;
    const auto f = fields(data, size, 5);
    const std::string &section = f[0], &key = f[1], &value = f[2], &flags = f[3], &before = f[4];
    const bool linked = flags.find('l') != std::string::npos;
    const bool readOnly = flags.find('r') != std::string::npos && ::geteuid() != 0;  // root may write anyway

    const std::string folder = scratch.fresh();
    const std::string real = folder + (linked ? "real.ini" : "Ordo.ini");
    const std::string file = folder + "Ordo.ini";
    writeFile(real, before);
    ::chmod(real.c_str(), readOnly ? 0440 : 0640);
    if (linked && ::symlink("real.ini", file.c_str()) != 0)
        fail("the link can be made", file);

    // What every other key reads before the write.
    std::vector<std::pair<std::pair<std::string, std::string>, std::string>> others;
    for (auto& [s, k] : probes(before))
        if (!(platform::equalsNoCase(s, section) && platform::equalsNoCase(k, key)))
            others.push_back({{s, k}, platform::profileRead(file, s, k, "\x01unset")});

    const bool valid = !section.empty() && !key.empty() && !hasBreak(section) && !hasBreak(key) &&
                       !hasBreak(value) && key.find('=') == std::string::npos &&
                       section.find(']') == std::string::npos && trimmed(key) == key &&
                       trimmed(section) == section && key.front() != ';' && key.front() != '[' &&
                       section.size() <= platform::ProfileTextMax && key.size() <= platform::ProfileTextMax &&
                       value.size() <= platform::ProfileTextMax && !damagedUtf16(before);
    const bool written = platform::profileWrite(file, section, key, value);
    const std::string after = readFile(real);
    const auto r = [&] { return report(f, before, after); };

    FUZZ_CHECK(!written || valid, "a key or value that would break the file's lines was written\n" + r());
    if (readOnly) {
        FUZZ_CHECK(!written, "a read-only file was written\n" + r());
    } else if (valid) {
        FUZZ_CHECK(written, "a valid key could not be written\n" + r());
    }
    if (!written) {
        FUZZ_CHECK(after == before, "a refused write changed the file\n" + r());
        return 0;
    }

    // Reads back as written (a value the reader trims or unquotes is not comparable).
    const std::string_view v = value;
    const bool quoted = v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    if (trimmed(v) == v && !quoted)
        FUZZ_CHECK(platform::profileRead(file, section, key, "\x01unset") == value, "the key does not read back\n" + r());

    // Only the key's own line changed, or lines were added: old = A X B, new = A Y B with X
    // inside one line.
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const std::string_view removed = std::string_view(before).substr(prefix, before.size() - prefix - suffix);
    FUZZ_CHECK(removed.find('\n') == std::string_view::npos, "bytes beyond the key's line changed\n" + r());

    for (const auto& [name, old] : others)
        FUZZ_CHECK(platform::profileRead(file, name.first, name.second, "\x01unset") == old,
                   "another key [" + shown(name.first) + "] " + shown(name.second) + " changed\n" + r());

    FUZZ_CHECK((modeOf(real) & 07777) == 0640, "the file's mode changed\n" + r());
    if (linked)
        FUZZ_CHECK(S_ISLNK(modeOf(file)), "the link was replaced by a file\n" + r());
    FUZZ_CHECK(platform::profileWrite(file, section, key, value) && readFile(real) == after,
               "writing the same value again changed the file\n" + r());
    return 0;
}
