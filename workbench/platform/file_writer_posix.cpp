// The one writer of files on POSIX: a file is replaced whole or not at all.
#include "platform.h"
#include "platform_internal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace tarnix::platform {
namespace detail {

WriteFault writeFault = nullptr;

}  // namespace detail

namespace {

using detail::WriteStep;

// The copy of the old bytes of a file left damaged by the last write, if any.
thread_local std::string damagedCopy;

// The errno a test wants `step` to fail with, or 0.
int injected(WriteStep step) { return detail::writeFault ? detail::writeFault(step) : 0; }

bool fail(int error) {
    errno = error;
    return false;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The name of the file that `path` finally names, symbolic links followed; a link may name a
// file still to be made. Nothing (errno set) when a link cannot be read or links loop.
std::optional<std::string> followLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return std::nullopt;
        if (static_cast<std::size_t>(n) >= target.size()) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : folderOf(path) + target;
    }
    errno = ELOOP;
    return std::nullopt;
}

// Writes all of `bytes` at `offset`. A write that fails part-way leaves what it wrote.
bool writeAt(int fd, std::string_view bytes, off_t offset, WriteStep step) {
    if (const int error = injected(step)) {
        if (::pwrite(fd, bytes.data(), bytes.size() / 2, offset) < 0) {}
        return fail(error);
    }
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return fail(ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

bool readAll(int fd, std::string& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool syncToDisk(int fd, Durability durability) {
    if (durability == Durability::Unsynced) return true;
    if (const int error = injected(WriteStep::Sync)) return fail(error);
    return ::fsync(fd) == 0;
}

// Closing is where some file systems (NFS) report a write that failed late.
bool closeFile(int fd) {
    const int error = injected(WriteStep::Flush);
    return ::close(fd) == 0 && (error == 0 || fail(error));
}

// Reserves disk space for `length` bytes past the end of the file without changing its size,
// so that a full disk shows before any old byte is overwritten. Where the file system cannot
// reserve, the caller's writing the new tail first does the same.
bool reserve(int fd, off_t end, off_t length) {
    if (const int error = injected(WriteStep::Reserve)) return fail(error);
#ifdef FALLOC_FL_KEEP_SIZE
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, end, length) == 0) return true;
    return errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL;
#else
    (void)fd, (void)end, (void)length;
    return true;
#endif
}

// Puts the old bytes back after a failed rewrite. A passing fault (a moment's I/O error) may
// let a later attempt succeed where the first one failed, so it tries more than once. False
// when the file is left damaged.
bool restore(int fd, const std::string& old) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (writeAt(fd, old, 0, WriteStep::Restore) && ::ftruncate(fd, static_cast<off_t>(old.size())) == 0) {
            ::fsync(fd);
            return true;
        }
    }
    return false;
}

// Rewrites an open file with `bytes`, whose old content is `old`: the part past the old end
// first (after reserving its space), then the rest, then the length. Returns 0, or the errno
// of the failure after the old content has been put back (`restored` false when it could not).
int rewrite(int fd, const std::string& old, std::string_view bytes, Durability durability, bool& restored) {
    const auto oldSize = static_cast<off_t>(old.size());
    const auto newSize = static_cast<off_t>(bytes.size());
    if (newSize > oldSize) {
        if (!reserve(fd, oldSize, newSize - oldSize) ||
            !writeAt(fd, bytes.substr(old.size()), oldSize, WriteStep::Write)) {
            const int error = errno;
            if (::ftruncate(fd, oldSize) != 0) restored = restore(fd, old);
            return error;
        }
        bytes = bytes.substr(0, old.size());
    }
    if (writeAt(fd, bytes, 0, WriteStep::Write) && (newSize >= oldSize || ::ftruncate(fd, newSize) == 0) &&
        syncToDisk(fd, durability))
        return 0;
    const int error = errno;
    restored = restore(fd, old);
    return error;
}

// Writes all of `bytes` to a new file "<name>.old" (or ".old2" ...) of `folder`, for the user to
// find; no test fault applies, as this is the safety net. Its path, or empty when the folder
// takes no new file.
std::string writeNewFile(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::string path;
    int fd = -1;
    for (int n = 1; n <= 100 && fd < 0; ++n) {
        path = folder + name + ".old" + (n > 1 ? std::to_string(n) : "");
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return {};
    }
    if (fd < 0) return {};
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    const bool whole = rest.empty() && ::fsync(fd) == 0;
    ::close(fd);
    if (!whole) {
        ::unlink(path.c_str());
        return {};
    }
    return path;
}

// A copy of a file's old bytes, kept until its rewrite or the putting back has succeeded:
// beside it, or in the temporary folder when its folder takes no new file.
std::string keepCopy(const std::string& target, const std::string& old) {
    const int saved = errno;
    const std::string name = target.substr(folderOf(target).size());
    std::string copy = writeNewFile(folderOf(target), name, old);
    if (copy.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string folder = tmp && *tmp ? tmp : "/tmp";
        if (folder.back() != '/') folder += '/';
        copy = writeNewFile(folder, name, old);
    }
    errno = saved;
    return copy;
}

// Writes a file through its own name, for a file that cannot be replaced by a new one: it has
// several hard links, or its folder takes no new file. The old bytes stay in memory until the
// new ones are all written, so that a failure can put them back.
bool writeInPlace(const std::string& target, std::string_view bytes, Durability durability) {
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    std::string old;
    if (!readAll(fd, old)) {
        const int error = errno;
        ::close(fd);
        return fail(error);
    }
    const std::string copy = keepCopy(target, old);
    bool restored = true;
    const int error = rewrite(fd, old, bytes, durability, restored);
    ::close(fd);  // what was written is synced, or was not asked to be
    if (!restored)
        damagedCopy = copy;
    else if (!copy.empty())
        ::unlink(copy.c_str());
    return error == 0 || fail(error);
}

// Creates a new file of a name no entry of `folder` has, and answers its descriptor and name.
// The name is short, so that a target name of any length leaves room for it.
int createTemporary(const std::string& folder, mode_t mode, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const auto seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char unique[64];
        std::snprintf(unique, sizeof unique, ".~tnx%ld-%u-%x", static_cast<long>(::getpid()), ++counter, seed);
        name = folder + unique;
        if (const int error = injected(WriteStep::Create)) {
            errno = error;
            return -1;
        }
        // O_EXCL never opens what is there already, and never follows a link.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

namespace detail {

bool writeNativeFile(const std::string& nativeName, std::string_view bytes, Durability durability) {
    const auto resolved = followLinks(nativeName);
    if (!resolved) return false;
    const std::string& target = *resolved;
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (!existed && errno != ENOENT) return false;
    if (existed) {
        if (S_ISDIR(old.st_mode)) return fail(EISDIR);
        if (!S_ISREG(old.st_mode)) return fail(EINVAL);
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
        if (old.st_nlink > 1) return writeInPlace(target, bytes, durability);
    }
    const std::string folder = folderOf(target);
    std::string temporary;
    const int fd = createTemporary(folder, existed ? 0600 : 0666, temporary);
    if (fd < 0) {
        if (existed && (errno == EACCES || errno == EPERM || errno == EROFS))
            return writeInPlace(target, bytes, durability);
        return false;
    }
    if (existed) {
        // Owner first: a change of owner clears the set-id bits that the mode then restores.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {}
        ::fchmod(fd, old.st_mode & 07777);
    }
    int error = 0;
    if (!writeAt(fd, bytes, 0, WriteStep::Write) || !syncToDisk(fd, durability)) error = errno;
    if (!closeFile(fd) && error == 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return fail(error);
    }
    error = injected(WriteStep::Rename);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        // A folder with the sticky bit lets only a file's owner replace it; whoever may write
        // the file may still rewrite it.
        if (existed && (error == EPERM || error == EACCES)) return writeInPlace(target, bytes, durability);
        return fail(error);
    }
    if (durability == Durability::Synced) {
        // The new name itself reaches the disk with the folder.
        const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    return true;
}

}  // namespace detail

bool writeFile(const std::string& path, std::string_view bytes, Durability durability) {
    damagedCopy.clear();
    return detail::writeNativeFile(detail::nativePath(path), bytes, durability);
}

std::string damagedFileCopy() { return damagedCopy; }

bool fileWritable(const std::string& path) {
    return ::faccessat(AT_FDCWD, detail::nativePath(path).c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace tarnix::platform
