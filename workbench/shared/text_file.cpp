#include "text_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "errors.h"
#include "platform/platform.h"

namespace tarnix {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const std::string& path, const char* mode) { return File(std::fopen(platform::systemPath(path).c_str(), mode)); }

// Reads the stream to its end; false on a read error. The room for a file is taken at once,
// so a large file is held once, not grown through copies of twice its size.
bool readAll(std::FILE* f, std::string& out)
{
    const long at = std::ftell(f);
    if (at >= 0 && std::fseek(f, 0, SEEK_END) == 0) {
        const long end = std::ftell(f);
        if (end > at) {
            const auto more = static_cast<std::size_t>(end - at);
            out.reserve(out.size() + more + 1);
            if (more >= (8 << 20))
                platform::adviseLargePages(out.data() + out.size(), more);
        }
        std::fseek(f, at, SEEK_SET);
    }
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        out.append(buffer, n);
    return !std::ferror(f);
}

// Reads lines until `maxLines` are read or the file ends, a block at a time: at most one block
// past the last line needed is read. Bytes of a line beyond `maxLineLength` are read past and
// dropped.
bool readSomeLines(std::FILE* f, std::size_t maxLines, std::size_t maxLineLength, Lines& lines)
{
    std::string line;
    bool open = false;  // a line has begun and has not ended yet
    bool cut = false;   // bytes of this line were dropped, so a CR kept is not the one before LF
    char buffer[1 << 16];
    while (lines.size() < maxLines) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        if (n == 0)
            break;
        for (std::size_t start = 0; start < n && lines.size() < maxLines;) {
            const auto* lf = static_cast<const char*>(std::memchr(buffer + start, '\n', n - start));
            const std::size_t end = lf ? static_cast<std::size_t>(lf - buffer) : n;
            const std::size_t room = maxLineLength - line.size();
            line.append(buffer + start, std::min(end - start, room));
            cut = cut || end - start > room;
            open = true;
            if (!lf)
                break;
            if (!cut && !line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(std::move(line));
            line.clear();
            open = cut = false;
            start = end + 1;
        }
    }
    if (open && lines.size() < maxLines)
        lines.push_back(std::move(line));
    return !std::ferror(f);
}

}  // namespace

Lines splitLines(std::string_view bytes, std::size_t maxLines)
{
    Lines lines;
    std::size_t start = 0;
    while (start < bytes.size() && lines.size() < maxLines) {
        std::size_t end = bytes.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last)
            end = bytes.size();
        std::size_t stop = end;
        if (!last && stop > start && bytes[stop - 1] == '\r')
            --stop;
        lines.emplace_back(bytes.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::string joinLines(const Lines& lines)
{
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

Lines readLines(const std::string& path, std::size_t maxLines, std::size_t maxLineLength)
{
    File f = openFile(path, "rb");
    if (!f)
        throwIoError(false);
    Lines lines;
    if (!readSomeLines(f.get(), maxLines, maxLineLength, lines))
        throwIoError(false);
    return lines;
}

void writeLines(const std::string& path, const Lines& lines) { writeBytes(path, joinLines(lines)); }

void writeBytes(const std::string& path, std::string_view bytes)
{
    // The exchange and parameter files are written anew before every engine start; waiting for
    // the disk would slow every call for files that are worth nothing after a crash.
    if (!platform::writeFile(path, bytes, platform::Durability::Unsynced))
        throwIoError(true);
}

std::string loadFileBytes(const std::string& path)
{
    File f = openFile(path, "rb");
    if (!f)
        throw FileOpenError(path, platform::lastSystemErrorText());
    std::string bytes;
    if (!readAll(f.get(), bytes))
        throw FileOpenError(path, platform::lastSystemErrorText());
    return bytes;
}

std::optional<std::string> loadFileBytesFrom(const std::string& path, std::size_t offset)
{
    File f = openFile(path, "rb");
    if (!f || std::fseek(f.get(), 0, SEEK_END) != 0)
        return std::nullopt;
    const long size = std::ftell(f.get());
    if (size < 0 || static_cast<std::size_t>(size) < offset || std::fseek(f.get(), static_cast<long>(offset), SEEK_SET) != 0)
        return std::nullopt;
    std::string bytes;
    if (!readAll(f.get(), bytes))
        return std::nullopt;
    return bytes;
}

void saveFileAtomically(const std::string& path, std::string_view bytes)
{
    if (platform::writeFile(path, bytes))
        return;
    std::string reason = platform::lastSystemErrorText();
    const std::string copy = platform::damagedFileCopy();
    if (!copy.empty())
        reason += std::string(reason.ends_with('.') ? " " : ". ") + "The file is damaged; its old content is kept in " + copy;
    throw FileCreateError(path, reason);
}

std::string fileNamePart(const std::string& path)
{
    for (std::size_t i = path.size(); i > 0; --i)
        if (platform::isSeparator(path[i - 1]))
            return path.substr(i);
    return path;
}

std::string folderPart(const std::string& path) { return path.substr(0, path.size() - fileNamePart(path).size()); }

std::string withTrailingSeparator(const std::string& dir)
{
    if (dir.empty() || platform::isSeparator(dir.back()))
        return dir;
    return dir + platform::separator();
}

std::string cp1251(std::string_view utf8) { return platform::utf8ToCp1251(utf8); }

}  // namespace tarnix
