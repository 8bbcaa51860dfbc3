// Profile (INI) files, read and written one key at a time the way the Windows profile
// functions do it: names compare without regard to case, a write touches only its own line.
#include "platform.h"
#include "platform_internal.h"

#include <cerrno>
#include <optional>

namespace tarnix::platform {
namespace {

struct Line {
    std::size_t begin;  // first byte of the line
    std::size_t end;    // end of its content: before the CR LF or LF
    std::size_t next;   // first byte of the following line
    bool terminated;
};

std::vector<Line> splitLines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    // A byte-order mark is no part of the first line's content.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        if (lf == std::string::npos) {
            lines.push_back({pos, text.size(), text.size(), false});
            break;
        }
        const std::size_t end = (lf > pos && text[lf - 1] == '\r') ? lf - 1 : lf;
        lines.push_back({pos, end, lf + 1, true});
        pos = lf + 1;
    }
    return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view content(const std::string& text, const Line& line) {
    return std::string_view(text).substr(line.begin, line.end - line.begin);
}

// The name of a section header line ("[Files]"), or nothing for other lines.
std::optional<std::string_view> sectionOf(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const auto close = line.find(']');
    return trim(close == std::string_view::npos ? line : line.substr(0, close));
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
    while (at < line.size() && isBlank(line[at])) ++at;
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
    Found found;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = content(text, lines[i]);
        if (const auto name = sectionOf(line)) {
            if (found.sectionLine) break;  // only the first section of that name counts
            inside = equalsNoCase(*name, section);
            if (inside) found.sectionLine = found.sectionLast = i;
            continue;
        }
        if (!inside) continue;
        if (!trim(line).empty()) found.sectionLast = i;
        if (const auto k = keyOf(line); k && equalsNoCase(k->key, key)) {
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
    const auto lines = splitLines(text);
    const Found found = locate(text, lines, section, key);
    if (!found.keyLine) return defaultValue;
    const std::string_view line = content(text, lines[*found.keyLine]);
    std::string_view value = trim(line.substr(keyOf(line)->valueAt));
    // As GetPrivateProfileString does, one pair of enclosing quotes is dropped.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
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
    const auto lines = splitLines(text);
    const Found found = locate(text, lines, section, key);
    if (found.keyLine) {
        const Line& line = lines[*found.keyLine];
        // The blanks between "=" and the old value stay, unless the new value brings blanks of
        // its own: they would otherwise add up with every write.
        const std::string_view old = content(text, line);
        const std::size_t valueAt =
            line.begin + (!value.empty() && isBlank(value.front()) ? old.find('=') + 1 : keyOf(old)->valueAt);
        text.replace(valueAt, line.end - valueAt, value);
    } else if (found.sectionLine) {
        const Line& last = lines[found.sectionLast];
        text.insert(last.next, (last.terminated ? "" : "\r\n") + key + '=' + value + "\r\n");
    } else {
        if (!text.empty() && text.back() != '\n') text += "\r\n";
        text += '[' + section + "]\r\n" + key + '=' + value + "\r\n";
    }
    return detail::writeNativeFile(native, text, Durability::Synced);
}

}  // namespace tarnix::platform
