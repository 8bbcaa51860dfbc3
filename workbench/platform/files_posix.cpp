// Files and folders on POSIX: names compare without regard to letter case, as on Windows.
#include "platform.h"
#include "platform_internal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <memory>

namespace tarnix::platform {
namespace detail {

std::string nativePath(const std::string& path) { return cp1251ToUtf8(resolvePath(path)); }

std::string joinPath(const std::string& base, const std::string& name) {
    if (name.empty() || name.front() == '/' || base.empty()) return name;
    return base.back() == '/' ? base + name : base + '/' + name;
}

bool readWholeFile(const std::string& nativeName, std::string& bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(nativeName.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    bytes.clear();
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) bytes.append(buffer, n);
    return !std::ferror(f.get());
}

}  // namespace detail

namespace {

bool entryExists(const std::string& native) {
    struct stat st {};
    return ::lstat(native.c_str(), &st) == 0;
}

// The entry of `folder` (UTF-8; empty = current folder) whose name equals `wanted` (code
// page 1251) without regard to case, in code page 1251; empty when there is none. Of
// several such entries the first in byte order is taken, so the answer does not depend on
// the order of the folder. Names that code page 1251 cannot hold never match.
std::string findNoCase(const std::string& folder, const std::string& wanted) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), &::closedir);
    if (!dir) return {};
    std::string best;
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string native = e->d_name;
        if (native == "." || native == "..") continue;
        const std::string name = utf8ToCp1251(native);
        if (!equalsNoCase(name, wanted) || cp1251ToUtf8(name) != native) continue;
        if (best.empty() || name < best) best = name;
    }
    return best;
}

}  // namespace

std::string resolvePath(const std::string& path) {
    if (path.empty() || entryExists(cp1251ToUtf8(path))) return path;
    std::string resolved;
    bool folderExists = true;  // the folder `resolved` names
    std::size_t pos = 0;
    while (pos < path.size()) {
        const std::size_t slash = path.find('/', pos);
        const std::size_t end = slash == std::string::npos ? path.size() : slash;
        std::string part = path.substr(pos, end - pos);
        if (!part.empty() && part != "." && part != ".." &&
            !(folderExists && entryExists(cp1251ToUtf8(resolved + part)))) {
            // As on Windows, trailing dots and blanks of the last name do not count, unless
            // the name is nothing else.
            const std::size_t kept = part.find_last_not_of(". ");
            const bool last = slash == std::string::npos;
            const std::string bare = !last || kept == std::string::npos ? part : part.substr(0, kept + 1);
            std::string found;
            if (folderExists) {
                found = findNoCase(cp1251ToUtf8(resolved), part);
                if (found.empty() && bare != part)
                    found = entryExists(cp1251ToUtf8(resolved + bare)) ? bare : findNoCase(cp1251ToUtf8(resolved), bare);
            }
            folderExists = !found.empty();
            part = folderExists ? found : bare;  // a new name is spelt as given
        }
        resolved += part;
        if (slash == std::string::npos) break;
        resolved += '/';
        pos = slash + 1;
    }
    return resolved;
}

std::string systemPath(const std::string& path) { return detail::nativePath(path); }

void adviseLargePages(void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(detail::nativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool directoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(detail::nativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool deleteFile(const std::string& path) {
    const std::string native = detail::nativePath(path);
    struct stat st {};
    if (::lstat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    // A file nobody may write is read-only, as Windows sees it, and Windows does not delete it.
    if (S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        errno = EACCES;
        return false;
    }
    return ::unlink(native.c_str()) == 0;
}

bool renameFile(const std::string& from, const std::string& to) {
    const std::string source = detail::nativePath(from);
    const std::string target = detail::nativePath(to);
    struct stat a {}, b {};
    if (::lstat(source.c_str(), &a) != 0) return false;
    if (::lstat(target.c_str(), &b) == 0) {
        // Only a change of letter case may name the same entry again, as on Windows.
        if (a.st_dev != b.st_dev || a.st_ino != b.st_ino) {
            errno = EEXIST;
            return false;
        }
        const std::string given = cp1251ToUtf8(to);
        const auto slash = target.rfind('/');
        const auto givenSlash = given.rfind('/');
        const std::string newName = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                                    (givenSlash == std::string::npos ? given : given.substr(givenSlash + 1));
        return ::rename(source.c_str(), newName.c_str()) == 0;
    }
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // The file system cannot refuse to replace by itself: link and unlink never replace.
    if (::link(source.c_str(), target.c_str()) == 0) {
        ::unlink(source.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    return ::lstat(target.c_str(), &b) != 0 && ::rename(source.c_str(), target.c_str()) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return ::rename(detail::nativePath(from).c_str(), detail::nativePath(to).c_str()) == 0;
}

bool makeDirectory(const std::string& path) { return ::mkdir(detail::nativePath(path).c_str(), 0777) == 0; }

std::vector<std::string> findFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    const std::string native = folder.empty() ? std::string(".") : detail::nativePath(folder);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(native.c_str()), &::closedir);
    if (!dir) return names;
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string entry = e->d_name;
        if (entry == "." || entry == "..") continue;
        std::string name = utf8ToCp1251(entry);
        if (wildcardMatch(pattern, name)) names.push_back(std::move(name));
    }
    return names;
}

std::string lastSystemErrorText() {
    switch (errno) {
        case 0: return "The operation completed successfully.";
        case ENOENT: return "The system cannot find the file specified.";
        case ENOTDIR: return "The system cannot find the path specified.";
        case EACCES: case EPERM: case EROFS: case EISDIR: case ETXTBSY:
            return "Access is denied.";
        case EBUSY: return "The process cannot access the file because it is being used by another process.";
        case ENOSPC: case EDQUOT: case EFBIG: return "There is not enough space on the disk.";
        case EEXIST: case ENOTEMPTY: return "Cannot create a file when that file already exists.";
        case ENAMETOOLONG: return "The filename or extension is too long.";
        case EINVAL: case EILSEQ: return "The filename, directory name, or volume label syntax is incorrect.";
        case EMFILE: case ENFILE: return "The system cannot open the file.";
        case ENOEXEC: return "The specified executable is not a valid application for this OS platform.";
        case ENOMEM: return "Not enough memory resources are available to process this command.";
        case EXDEV: return "The system cannot move the file to a different disk drive.";
        case EIO: return "The request could not be performed because of an I/O device error.";
        default: {
            std::string text = std::strerror(errno);
            if (!text.empty() && text.back() != '.') text += '.';
            return text;
        }
    }
}

std::string lastIoErrorText(bool writing) {
    switch (errno) {
        // Writing a file creates it, so a missing name means a missing folder: Windows
        // answers "path not found", which the I/O error texts call an invalid file name.
        case ENOENT: return writing ? "Invalid filename" : "File not found";
        case ENOTDIR: case ENAMETOOLONG: case EINVAL: case EILSEQ: return "Invalid filename";
        case EACCES: case EPERM: case EROFS: case EISDIR: case ETXTBSY: case EBUSY:
            return "File access denied";
        case ENOSPC: case EDQUOT: case EFBIG: return "Disk full";
        case EMFILE: case ENFILE: return "Too many open files";
        default: return "I/O error " + std::to_string(errno);
    }
}

}  // namespace tarnix::platform
