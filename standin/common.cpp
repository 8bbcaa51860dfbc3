#include "common.h"

#include "platform.h"
#include "text_file.h"

#include <cstdio>
#include <memory>

namespace tarnix::standin {

namespace p = tarnix::platform;

std::string Session::setting(const std::string& key, const std::string& defaultValue) const {
    return p::profileRead(homeDir + "Ordo.ini", "Files", key, defaultValue);
}

std::string cp(std::string_view utf8) { return p::utf8ToCp1251(utf8); }

std::optional<std::string> readBytes(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(p::systemPath(path).c_str(), "rb"), &std::fclose);
    if (!f) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) bytes.append(buffer, n);
    return bytes;
}

std::optional<std::vector<std::string>> readLines(const std::string& path) {
    const auto bytes = readBytes(path);
    if (!bytes) return std::nullopt;
    return splitLines(*bytes);
}

bool writeBytes(const std::string& path, const std::string& bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(p::systemPath(path).c_str(), "wb"), &std::fclose);
    return f && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size() && std::fflush(f.get()) == 0;
}

bool writeLines(const std::string& path, const std::vector<std::string>& lines) {
    return writeBytes(path, joinLines(lines));
}

bool appendLogLine(const std::string& path, const std::string& line) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(p::systemPath(path).c_str(), "ab"), &std::fclose);
    const std::string bytes = line + "\n";
    return f && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
}

std::string trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

std::optional<long> toInteger(std::string_view text) {
    const std::string t = trim(text);
    if (t.empty() || t.size() > 10) return std::nullopt;
    std::size_t i = (t[0] == '-') ? 1 : 0;
    if (i == t.size()) return std::nullopt;
    long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
        value = value * 10 + (t[i] - '0');
    }
    return t[0] == '-' ? -value : value;
}

std::string unquote(std::string_view text) {
    std::string t = trim(text);
    if (t.size() >= 2 && t.front() == '\'' && t.back() == '\'') return t.substr(1, t.size() - 2);
    return t;
}

std::vector<std::string> splitTopLevel(std::string_view text, char separator) {
    const std::string t = trim(text);
    std::vector<std::string> parts;
    if (trim(t).empty()) return parts;
    int depth = 0;
    bool quoted = false;
    std::string part;
    for (const char c : t) {
        if (c == '\'') quoted = !quoted;
        if (!quoted) {
            if (c == '(' || c == '[' || c == '{') ++depth;
            if (c == ')' || c == ']' || c == '}') --depth;
            if (c == separator && depth == 0) {
                parts.push_back(trim(part));
                part.clear();
                continue;
            }
        }
        part += c;
    }
    parts.push_back(trim(part));
    return parts;
}

std::vector<std::string> listElements(std::string_view text) {
    std::string t = trim(text);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') t = t.substr(1, t.size() - 2);
    return splitTopLevel(t);
}

std::optional<std::vector<std::string>> termArguments(std::string_view text, std::string_view name) {
    std::string t = trim(text);
    if (!t.empty() && t.back() == '.') t.pop_back();
    t = trim(t);
    if (t.size() < name.size() + 2 || t.compare(0, name.size(), name) != 0 || t[name.size()] != '(' ||
        t.back() != ')')
        return std::nullopt;
    return splitTopLevel(std::string_view(t).substr(name.size() + 1, t.size() - name.size() - 2));
}

}  // namespace tarnix::standin
