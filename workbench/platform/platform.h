// The only code of the workbench that talks to the operating system.
//
// Every text here is a byte string in code page 1251, as everywhere inside the workbench;
// the POSIX half converts paths to UTF-8 before it calls the system. File names compare
// without regard to letter case: a name whose exact spelling is absent resolves to the one
// entry of its folder that differs from it only in case.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnix::platform {

// ---- the program's own folder --------------------------------------------------------------

// Folder of the running program, with its trailing separator.
std::string programDir();
// The same folder as the system spells it (UTF-8 on POSIX), for telling the user about it:
// when code page 1251 cannot hold its name (see fitsCp1251), programDir() names no real folder.
std::string programDirSystemName();
// Makes the program's folder `dir`, spelt as the system spells it (tests lay out a home folder
// of their own); empty undoes it.
void overrideProgramDir(const std::string& dir);

// The path separator of this system ('/' on POSIX, '\\' on Windows).
char separator();
// True when `c` separates folders in a path on this system.
bool isSeparator(char c);
// The user's home folder with a trailing separator (POSIX: $HOME, Windows: %USERPROFILE%).
std::string userHomeDir();

// ---- processes -----------------------------------------------------------------------------

// How a program ended.
struct ProcessEnd {
    enum class Kind {
        NotRun,     // never started, or already waited for
        Exited,     // ended by itself; `number` is its exit status
        // Killed by the system or another program; `number` is the signal (POSIX) or the
        // exception code (Windows: an exit code of 0xC0000000 and above, an NTSTATUS error).
        Signalled,
    };
    Kind kind = Kind::NotRun;
    int number = 0;

    static ProcessEnd exited(int status) { return {Kind::Exited, status}; }
    static ProcessEnd signalled(int signal) { return {Kind::Signalled, signal}; }
    bool operator==(const ProcessEnd&) const = default;
};
// What ended a program, in English for messages: "ended by signal 6 (Aborted)" (POSIX),
// "ended by exception 0xC0000005 (access violation)" (Windows), "ended with exit status 3",
// "did not run".
std::string describe(const ProcessEnd& end);

// What tells an event loop that a started program has ended: on POSIX a descriptor that
// becomes readable, on Windows the process handle, which becomes signalled.
using EndHandle = std::intptr_t;
inline constexpr EndHandle NoEndHandle = -1;

// A started program. It runs in a group of its own (a process group on POSIX, a job object on
// Windows), so that ending it also ends every program it started. wait() blocks until it has
// ended; endHandle() lets an event loop learn of its end without blocking.
class Process {
public:
    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    bool started() const {
#ifdef _WIN32
        return process_ != nullptr;
#else
        return pid_ > 0;
#endif
    }
    // Waits for the program to end (no time-out), releases it and tells how it ended
    // (NotRun when it was not started or has been waited for already).
    ProcessEnd wait();
    // The handle that tells of the program's end (NoEndHandle when not started); it stays
    // owned by the Process. Reading it is not needed: wait() then returns at once.
    EndHandle endHandle() const {
#ifdef _WIN32
        return process_ ? reinterpret_cast<EndHandle>(process_) : NoEndHandle;
#else
        return endFd_;
#endif
    }
    // Ends the program and everything in its process group: asks them to terminate, gives the
    // program `grace` to do so, then kills whatever of the group is left. Returns once the
    // program is gone, releasing it as wait() does.
    ProcessEnd endGroup(int graceMs = 300);

private:
    friend Process startProgram(const std::string&, const std::string&);
    friend Process prepareToStart(const std::string&);
    void release();
#ifdef _WIN32
    // The process, its first thread and the job object it was put in (each null when none).
    Process(void* process, void* thread, void* job) : process_(process), thread_(thread), job_(job) {}
    void* process_ = nullptr;
    void* thread_ = nullptr;
    void* job_ = nullptr;
#else
    explicit Process(std::intptr_t pid);
    std::intptr_t pid_ = 0;
    int endFd_ = -1;
#endif
};

// Waits until the end handle of a Process (endHandle()) tells of its end, at most `timeoutMs`
// (negative: no limit). True when the program has ended.
bool waitForEnd(EndHandle endHandle, int timeoutMs);

// Starts the program at `path` with no arguments, no shell, the environment inherited,
// `currentDir` as its current folder, standard streams to the null device, no window.
// The result's started() tells whether it could be started.
Process startProgram(const std::string& path, const std::string& currentDir);
// What must run, and be waited for, before the program at `path` may start: on POSIX, for a
// Windows program the first time Wine's prefix is used, Wine's own set-up of the prefix, in a
// process group of its own (so ending the program's group never ends it half-way). A Process
// not started when nothing needs to run.
Process prepareToStart(const std::string& path);

// Runs a batch file of `move` and `copy` lines with `currentDir` as its current folder
// (cmd-style quoting, names found without regard to case). Returns false when the batch
// file cannot be read. Failures of single commands are not reported, as with cmd.
bool runBatchFile(const std::string& path, const std::string& currentDir);

// ---- profile (INI) files -------------------------------------------------------------------

// Reads one key. Section and key names compare without regard to case or surrounding blanks;
// only the first section of a name counts. A missing file, section or key gives
// `defaultValue`, unchanged. The value is taken raw, with no escape processing, except that
// it ends at a NUL byte and loses its trailing blanks and one pair of enclosing quotes.
std::string profileRead(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& defaultValue);
// The longest name or value profileWrite writes: Windows' profile functions damage longer ones.
inline constexpr std::size_t ProfileTextMax = 32766;
// Writes one key, leaving every other byte of the file as it was; appends the section or the
// key when missing and creates the file at the first write. Leading blanks of the value are
// dropped. False when the file cannot be written, and for names or values the file could not
// hold as given (line breaks, a key with "=" or beginning with ";" or "[", a section name with
// "]", blanks around a name, one longer than ProfileTextMax).
bool profileWrite(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value);

// ---- files and folders ---------------------------------------------------------------------

// The spelling of `path` that exists on disk (resolving letter case), or `path` as given for
// what does not exist yet. As on Windows, trailing dots and blanks of the last name do not
// count: "a.txt. " names "a.txt", whether it exists or is about to be created.
std::string resolvePath(const std::string& path);
// The name to hand to the C and C++ library's file functions (fopen, fstream) for `path`:
// letter case resolved and, on POSIX, converted to UTF-8.
std::string systemPath(const std::string& path);
bool fileExists(const std::string& path);       // an entry that is not a folder
// Asks for large memory pages under the `size` bytes at `data`, about to be filled: a 100 MB
// file read into fresh memory otherwise spends most of its time on page faults. Only a hint.
void adviseLargePages(void* data, std::size_t size);
bool directoryExists(const std::string& path);
// False when absent or not deletable, a folder, or a file nobody may write (read-only).
bool deleteFile(const std::string& path);
// Renames `from` to `to`; never replaces an existing `to` (false then), as on Windows.
bool renameFile(const std::string& from, const std::string& to);
// Replaces `to` by `from` in one step.
bool replaceFile(const std::string& from, const std::string& to);
bool makeDirectory(const std::string& path);
// True when an existing file may be written (not read-only for this user).
bool fileWritable(const std::string& path);
// Names (without folder) of the entries of `folder` whose names match `pattern`
// (`*` and `?`, case-blind), folders included, in no particular order.
std::vector<std::string> findFiles(const std::string& folder, const std::string& pattern);
// True when `name` matches the wildcard `pattern` without regard to case.
bool wildcardMatch(std::string_view pattern, std::string_view name);

// The last system error as a short text in the manner of the Windows messages
// ("The system cannot find the file specified.").
std::string lastSystemErrorText();
// The last system error as a Pascal-style I/O error text ("File not found",
// "File access denied", "Invalid filename", "Disk full") for reading or for writing.
std::string lastIoErrorText(bool writing);

// ---- writing files -------------------------------------------------------------------------

// Whether a write waits until the new content has reached the disk. Exchange files, which the
// next engine start writes anew, may skip that wait; documents and settings do not.
enum class Durability { Synced, Unsynced };

// The one way the program writes a file: creates it or replaces its whole content with `bytes`
// so that it is whole, old or new, whatever fails on the way.
// - The new bytes go to a uniquely named file created beside it (exclusively, so nothing that
//   is already there is followed or overwritten), are synced, and then renamed over it.
// - A symbolic link is written through: the file it finally names gets the bytes, the link stays.
// - The file keeps its mode, and its owner where the process may set it.
// - A file with several hard links, or one in a folder that takes no new file, is rewritten in
//   place instead: its space is reserved first, and on a failure its old bytes are put back.
// - A file this user may not write is refused (EACCES), as is a folder (EISDIR).
// False on failure, with errno set for lastIoErrorText and lastSystemErrorText.
bool writeFile(const std::string& path, std::string_view bytes, Durability durability = Durability::Synced);
// After a write in place that failed and could not put the old bytes back either (the file is
// damaged): the file that holds a copy of those old bytes, kept beside it (or in the temporary
// folder). Empty after every other write.
std::string damagedFileCopy();

// ---- code pages ----------------------------------------------------------------------------

// Code page 1251 <-> UTF-16, lossless for all 256 byte values (0x98 <-> U+0098). A character
// code page 1251 cannot hold becomes '?'.
std::u16string cp1251ToUtf16(std::string_view text);
std::string utf16ToCp1251(std::u16string_view text);
// Code page 1251 <-> UTF-8, for file names on POSIX and for messages.
std::string cp1251ToUtf8(std::string_view text);
std::string utf8ToCp1251(std::string_view text);
// UTF-16 as little-endian bytes <-> UTF-8, for files that hold UTF-16. Every sequence of
// 16-bit units comes back the same (an unpaired surrogate is carried as its three-byte form);
// a last odd byte is no unit and is dropped, invalid UTF-8 becomes U+FFFD.
std::string utf16leToUtf8(std::string_view bytes);
std::string utf8ToUtf16le(std::string_view utf8);
// True when code page 1251 holds every character of the UTF-8 `text` (and it is valid UTF-8),
// so that converting it loses nothing.
bool fitsCp1251(std::string_view utf8);
// Upper case in code page 1251 (Latin and Cyrillic letters), for comparing names.
char upperCp1251(char c);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace tarnix::platform
