// Profile (INI) files, read and written one key at a time the way the Windows profile
// functions do it: names compare without regard to case, a write touches only its own line.
#include "platform.h"
#include "platform_internal.h"

#include <cerrno>
#include <optional>
#include <utility>

namespace tarnix::platform {
namespace {

struct Line {
    std::size_t begin;  // first byte of the line
    std::size_t end;    // end of its content: before the CR LF or LF
    std::size_t next;   // first byte of the following line
    bool terminated;
};

// A file that begins with the UTF-8 byte-order mark holds UTF-8, as Windows' profile functions
// take it: names and values are converted on their way in and out. Others hold code page 1251.
constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
bool isUtf8(const std::string& text) { return text.compare(0, Utf8Mark.size(), Utf8Mark) == 0; }

// A file that begins with the UTF-16 byte-order mark (little-endian, as Windows writes it) is
// worked on as UTF-8. `Damaged` is such a file that would not come back byte for byte (an odd
// length, a lone surrogate): it reads as Windows reads it, but is not written, since writing
// one key would change bytes far from it.
constexpr std::string_view Utf16Mark = "\xFF\xFE";
enum class Utf16 { No, Whole, Damaged };
Utf16 fromUtf16(std::string& text) {
    if (text.compare(0, Utf16Mark.size(), Utf16Mark) != 0) return Utf16::No;
    const std::string_view body = std::string_view(text).substr(Utf16Mark.size());
    std::string utf8 = utf16leToUtf8(body);
    const Utf16 kind = utf8ToUtf16le(utf8) == body ? Utf16::Whole : Utf16::Damaged;
    text = std::string(Utf8Mark) + std::move(utf8);
    return kind;
}

std::vector<Line> splitLines(const std::string& text) {
    std::vector<Line> lines;
    // The byte-order mark is no part of the first line's content.
    std::size_t pos = isUtf8(text) ? 3 : 0;
    while (pos < text.size()) {
        // CR LF, LF and a lone CR each end a line, as for the Windows profile functions.
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back({pos, text.size(), text.size(), false});
            break;
        }
        const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        lines.push_back({pos, end, next, true});
        pos = next;
    }
    return lines;
}

using detail::isProfileBlank;

std::string_view trim(std::string_view s) {
    while (!s.empty() && isProfileBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isProfileBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view content(const std::string& text, const Line& line) {
    return std::string_view(text).substr(line.begin, line.end - line.begin);
}

// A value as the Windows profile functions hand it out: up to a NUL byte, without trailing
// blanks and without one pair of enclosing quotes.
std::string cleanValue(std::string_view value) {
    value = value.substr(0, value.find('\0'));
    while (!value.empty() && isProfileBlank(value.back())) value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// The name of a section header line ("[Files]"), or nothing for other lines. The name ends
// at the line's last "]"; a line without one is no header.
std::optional<std::string_view> sectionOf(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(line.substr(1, close - 1));
}

// A "key=value" line: the key and the offset of the value's first byte within the line.
struct KeyLine {
    std::string_view key;
    std::size_t valueAt;
};

std::optional<KeyLine> keyOf(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = trim(line.substr(0, eq));
    if (key.empty() || key.front() == ';') return std::nullopt;  // comment lines hold no key
    std::size_t at = eq + 1;
    while (at < line.size() && isProfileBlank(line[at])) ++at;
    return KeyLine{key, at};
}

// Where a key was found: its line, and the line index range of its section.
struct Found {
    std::optional<std::size_t> sectionLine;
    std::size_t sectionLast = 0;  // last non-blank line of that section
    std::optional<std::size_t> keyLine;
};

Found locate(const std::string& text, const std::vector<Line>& lines, std::string_view section,
             std::string_view key) {
    const bool utf8 = isUtf8(text);
    const auto sameName = [utf8](std::string_view inFile, std::string_view asked) {
        return utf8 ? equalsNoCase(utf8ToCp1251(inFile), asked) : equalsNoCase(inFile, asked);
    };
    Found found;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = content(text, lines[i]);
        if (const auto name = sectionOf(line)) {
            if (found.sectionLine) break;  // only the first section of that name counts
            inside = sameName(*name, section);
            if (inside) found.sectionLine = found.sectionLast = i;
            continue;
        }
        if (!inside) continue;
        if (!trim(line).empty()) found.sectionLast = i;
        if (const auto k = keyOf(line); k && sameName(k->key, key)) {
            found.keyLine = i;
            break;
        }
    }
    return found;
}

}  // namespace

std::string profileRead(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& defaultValue) {
    std::string text;
    if (!detail::readWholeFile(detail::nativePath(file), text)) return defaultValue;
    fromUtf16(text);
    const auto lines = splitLines(text);
    const Found found = locate(text, lines, trim(section), trim(key));
    if (!found.keyLine) return defaultValue;
    const std::string_view line = content(text, lines[*found.keyLine]);
    const std::string value = cleanValue(line.substr(keyOf(line)->valueAt));
    return isUtf8(text) ? utf8ToCp1251(value) : value;
}

bool profileWrite(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value) {
    if (!detail::profileEntryWritable(section, key, value)) {
        errno = EINVAL;
        return false;
    }
    const std::string native = detail::nativePath(file);
    std::string text;
    if (!detail::readWholeFile(native, text)) {
        if (errno != ENOENT) return false;
        text.clear();
    }
    const Utf16 utf16 = fromUtf16(text);
    if (utf16 == Utf16::Damaged) {
        errno = EILSEQ;
        return false;
    }
    const auto inFile = [utf8 = isUtf8(text)](const std::string& s) { return utf8 ? cp1251ToUtf8(s) : s; };
    // Leading blanks could not be read back; Windows drops them as well.
    std::size_t from = 0;
    while (from < value.size() && isProfileBlank(value[from])) ++from;
    const std::string written = inFile(value.substr(from));
    const auto lines = splitLines(text);
    const Found found = locate(text, lines, section, key);
    if (found.keyLine) {
        const Line& line = lines[*found.keyLine];
        // The blanks between "=" and the old value stay.
        const std::size_t valueAt = line.begin + keyOf(content(text, line))->valueAt;
        text.replace(valueAt, line.end - valueAt, written);
    } else if (found.sectionLine) {
        const Line& last = lines[found.sectionLast];
        text.insert(last.next, (last.terminated ? "" : "\r\n") + inFile(key) + '=' + written + "\r\n");
    } else {
        if (!lines.empty() && !lines.back().terminated) text += "\r\n";
        text += '[' + inFile(section) + "]\r\n" + inFile(key) + '=' + written + "\r\n";
    }
    if (utf16 == Utf16::Whole) text = std::string(Utf16Mark) + utf8ToUtf16le(std::string_view(text).substr(Utf8Mark.size()));
    return detail::writeNativeFile(native, text, Durability::Synced);
}

}  // namespace tarnix::platform
