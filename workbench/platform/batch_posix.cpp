// A batch file of "move" and "copy" commands, run the way the Windows command interpreter
// would run it, for systems that have no such interpreter.
#include "platform.h"
#include "platform_internal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

namespace tarnix::platform {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Percent signs as in a batch file: "%%" is one '%', "%0".."%9" and "%*" are the (empty)
// arguments, "%NAME%" is the environment variable, a lone '%' vanishes.
std::string expandPercents(const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '%') {
            out += line[i];
            continue;
        }
        if (i + 1 >= line.size()) break;
        const char next = line[i + 1];
        if (next == '%') {
            out += '%';
            ++i;
        } else if ((next >= '0' && next <= '9') || next == '*') {
            ++i;
        } else {
            const auto close = line.find('%', i + 1);
            if (close == std::string::npos) continue;
            const std::string name = line.substr(i + 1, close - i - 1);
            if (const char* value = std::getenv(cp1251ToUtf8(name).c_str())) out += utf8ToCp1251(value);
            i = close;
        }
    }
    return out;
}

// Splits a command line into words: blanks separate, double quotes group (and are dropped),
// '^' outside quotes takes the next character literally. Nothing when the line uses what
// this interpreter does not do: command chaining, pipes and redirection.
std::optional<std::vector<std::string>> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') quoted = false;
            else word += c;
            continue;
        }
        if (isBlank(c)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '"') {
            quoted = true;
        } else if (c == '^') {
            if (i + 1 < line.size()) word += line[++i];
        } else if (c == '&' || c == '|' || c == '<' || c == '>') {
            return std::nullopt;
        } else {
            word += c;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

bool sameEntry(const std::string& a, const std::string& b) {
    struct stat x {}, y {};
    return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

std::string fileNamePart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The target of a move or copy: into a folder when the target names one.
std::string targetFor(const std::string& source, const std::string& target) {
    if (directoryExists(target)) return detail::joinPath(target, fileNamePart(resolvePath(source)));
    return target;
}

bool copyContents(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::stat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::string bytes;
    if (!detail::readWholeFile(from, bytes) || !detail::writeNativeFile(to, bytes, Durability::Synced)) return false;
    ::chmod(to.c_str(), st.st_mode & 0777);  // an executable stays executable
    return true;
}

bool moveCommand(const std::string& source, const std::string& target) {
    const std::string from = detail::nativePath(source);
    const std::string to = detail::nativePath(targetFor(source, target));
    if (::access(from.c_str(), F_OK) != 0) return false;
    if (sameEntry(from, to)) return true;
    if (directoryExists(utf8ToCp1251(to))) return false;  // a file never replaces a folder
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    return errno == EXDEV && copyContents(from, to) && ::unlink(from.c_str()) == 0;
}

bool copyCommand(const std::string& source, const std::string& target) {
    const std::string from = detail::nativePath(source);
    const std::string to = detail::nativePath(targetFor(source, target));
    // Copying a file onto itself would empty it; the command interpreter refuses, so do we.
    if (sameEntry(from, to)) return false;
    return copyContents(from, to);
}

void runLine(const std::string& line, const std::string& currentDir) {
    const auto words = splitWords(expandPercents(line));
    if (!words || words->empty()) return;
    std::vector<std::string> args(words->begin() + 1, words->end());
    std::string command = words->front();
    if (!command.empty() && command.front() == '@') command.erase(0, 1);
    std::erase_if(args, [](const std::string& a) { return equalsNoCase(a, "/y") || equalsNoCase(a, "/-y"); });
    if (args.size() != 2) return;
    const std::string source = detail::joinPath(currentDir, args[0]);
    const std::string target = detail::joinPath(currentDir, args[1]);
    if (equalsNoCase(command, "move")) moveCommand(source, target);
    else if (equalsNoCase(command, "copy")) copyCommand(source, target);
}

}  // namespace

bool runBatchFile(const std::string& path, const std::string& currentDir) {
    std::string text;
    if (!detail::readWholeFile(detail::nativePath(path), text)) return false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto lf = text.find('\n', pos);
        if (lf == std::string::npos) lf = text.size();
        std::string line = text.substr(pos, lf - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        runLine(line, currentDir);
        pos = lf + 1;
    }
    return true;
}

}  // namespace tarnix::platform
