// Harness of the Windows test programs of winbridge and dlgbridge: named groups of checks, a
// watchdog so that no run waits forever, message pumping, helpers that answer the windows a modal
// call puts up, child processes, and a reader for a DLL file's export and import tables.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace wintest {

inline int &failure_count()
{
    static int count;
    return count;
}

inline void report(const char *file, int line, const std::string &what)
{
    ++failure_count();
    std::printf("%s:%d: FAILED: %s\n", file, line, what.c_str());
    std::fflush(stdout);
}

inline std::string show(long long value) { return std::to_string(value); }
inline std::string show(const std::string &text) { return '"' + text + '"'; }
inline std::string show(const char *text) { return text ? show(std::string(text)) : "(null)"; }
inline std::string show(const void *pointer)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}
template <class T> std::string show(T *pointer) { return show(static_cast<const void *>(pointer)); }
inline std::string show(char *text) { return show(static_cast<const char *>(text)); }
inline std::string show(int value) { return show(static_cast<long long>(value)); }
inline std::string show(long value) { return show(static_cast<long long>(value)); }
inline std::string show(unsigned value) { return show(static_cast<long long>(value)); }
inline std::string show(unsigned long value) { return show(static_cast<long long>(value)); }
inline std::string show(unsigned long long value) { return show(static_cast<long long>(value)); }

template <class A, class B>
bool check_equal(const A &actual, const B &expected, const char *actual_text, const char *expected_text,
                 const char *file, int line)
{
    if (actual == expected)
        return true;
    report(file, line,
           std::string(actual_text) + " == " + expected_text + " (got " + show(actual) + ", want " +
               show(expected) + ")");
    return false;
}

inline bool same_text(const char *a, const char *b) { return a && b && std::strcmp(a, b) == 0; }

} // namespace wintest

#define CHECK(condition) \
    ((condition) ? true : (::wintest::report(__FILE__, __LINE__, #condition), false))
#define CHECK_EQ(actual, expected) \
    ::wintest::check_equal((actual), (expected), #actual, #expected, __FILE__, __LINE__)
#define CHECK_TEXT(actual, expected) \
    ((::wintest::same_text((actual), (expected))) \
         ? true \
         : (::wintest::report(__FILE__, __LINE__, \
                              std::string(#actual) + " is " + ::wintest::show(actual) + ", want " + \
                                  ::wintest::show(expected)), \
            false))

namespace wintest {

struct Group {
    const char *name;
    void (*run)();
};

inline DWORD &watchdog_limit()
{
    static DWORD limit;
    return limit;
}

inline DWORD WINAPI watchdog(LPVOID)
{
    Sleep(watchdog_limit());
    std::printf("FAILED: still running after %lu ms\n", static_cast<unsigned long>(watchdog_limit()));
    std::fflush(stdout);
    ExitProcess(2);
}

// Ends the process with code 2 when a run takes longer than the given time.
inline void start_watchdog(DWORD milliseconds)
{
    watchdog_limit() = milliseconds;
    HANDLE thread = CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr);
    if (thread)
        CloseHandle(thread);
}

// Runs the groups named on the command line (all when none is named); exit code 0 when every
// check passed.
inline int run_groups(int argc, char **argv, const std::vector<Group> &groups)
{
    start_watchdog(60000);
    std::vector<std::string> wanted(argv + 1, argv + argc);
    int ran = 0;
    for (const Group &group : groups) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), group.name) == wanted.end())
            continue;
        int before = failure_count();
        DWORD start = GetTickCount();
        group.run();
        ++ran;
        std::printf("%-10s %-6s %5lu ms\n", group.name, failure_count() == before ? "ok" : "FAILED",
                    static_cast<unsigned long>(GetTickCount() - start));
        std::fflush(stdout);
    }
    if (ran == 0) {
        std::printf("no such group\n");
        return 1;
    }
    std::printf("%d groups, %d failed checks\n", ran, failure_count());
    return failure_count() == 0 ? 0 : 1;
}

// Dispatches this thread's messages until the queue is empty, then for the given time.
inline void pump(DWORD milliseconds = 0)
{
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (milliseconds)
            Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

// A click by mouse messages, as the system sends them, at a point of a control's client area
// (its middle by default).
inline void click(HWND control, int x = -1, int y = -1)
{
    RECT area;
    GetClientRect(control, &area);
    LPARAM point = MAKELPARAM(x < 0 ? area.right / 2 : x, y < 0 ? area.bottom / 2 : y);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(control, WM_LBUTTONUP, 0, point);
}

inline std::string class_of(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

inline std::string text_of(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct WindowSearch {
    const std::function<bool(HWND)> *wanted;
    HWND found;
};

inline BOOL CALLBACK match_window(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<WindowSearch *>(data);
    if (IsWindowVisible(window) && (*search->wanted)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The first visible top-level window of a thread that satisfies a condition, waiting up to the
// given time for it to appear.
inline HWND wait_for_window(DWORD thread, const std::function<bool(HWND)> &wanted,
                            DWORD milliseconds = 10000)
{
    WindowSearch search{&wanted, nullptr};
    DWORD start = GetTickCount();
    do {
        EnumThreadWindows(thread, match_window, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

inline HWND wait_for_dialog(DWORD thread, DWORD milliseconds = 10000)
{
    return wait_for_window(thread, [](HWND w) { return class_of(w) == "#32770"; }, milliseconds);
}

inline DWORD WINAPI run_function(LPVOID function)
{
    (*static_cast<const std::function<void()> *>(function))();
    return 0;
}

// Runs `modal` on this thread while `helper` runs on a second thread, typically to find and
// answer the window that the modal call shows. Waits for the helper afterwards.
inline void run_beside(const std::function<void()> &helper, const std::function<void()> &modal)
{
    HANDLE thread = CreateThread(nullptr, 0, run_function, const_cast<std::function<void()> *>(&helper),
                                 0, nullptr);
    if (!thread) {
        report(__FILE__, __LINE__, "cannot start a helper thread");
        return;
    }
    modal();
    if (WaitForSingleObject(thread, 15000) != WAIT_OBJECT_0)
        report(__FILE__, __LINE__, "helper thread did not finish");
    CloseHandle(thread);
}

// Full path of a file in the folder of this program.
inline std::string beside_program(const char *name)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

// A path given on the command line as a host path (/build/x.dll) in Windows form (Z:\build\x.dll).
inline std::string windows_path(std::string path)
{
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// Starts a program with arguments and returns its exit code; -1 when it cannot be started, -2
// when it is still running after the given time (it is then ended).
inline long run_program(const std::string &program, const std::string &arguments,
                        DWORD milliseconds = 20000)
{
    std::string command = '"' + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 3);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

// What a DLL file declares: machine, export directory and the DLLs it imports from.
struct PeFile {
    bool valid = false;
    WORD machine = 0;
    WORD characteristics = 0;
    std::string module_name;
    DWORD ordinal_base = 0;
    DWORD function_count = 0;
    std::vector<std::pair<std::string, DWORD>> names; // exported name and its ordinal
    std::vector<std::string> imports;
};

inline PeFile read_pe_file(const std::string &path)
{
    PeFile pe;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return pe;
    std::vector<unsigned char> bytes(GetFileSize(file, nullptr));
    DWORD got = 0;
    BOOL read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    if (!read || got != bytes.size() || bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return pe;

    auto at = [&](size_t offset, size_t size) -> const unsigned char * {
        return offset <= bytes.size() && size <= bytes.size() - offset ? bytes.data() + offset : nullptr;
    };
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(bytes.data());
    size_t nt_offset = static_cast<size_t>(dos->e_lfanew);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(at(nt_offset, sizeof(IMAGE_NT_HEADERS32)));
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || !nt || nt->Signature != IMAGE_NT_SIGNATURE)
        return pe;
    pe.machine = nt->FileHeader.Machine;
    pe.characteristics = nt->FileHeader.Characteristics;

    const IMAGE_DATA_DIRECTORY *directories;
    if (nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        directories = nt->OptionalHeader.DataDirectory;
    else
        directories = reinterpret_cast<const IMAGE_NT_HEADERS64 *>(nt)->OptionalHeader.DataDirectory;
    size_t sections_offset = nt_offset + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                             nt->FileHeader.SizeOfOptionalHeader;
    auto sections = reinterpret_cast<const IMAGE_SECTION_HEADER *>(
        at(sections_offset, nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER)));
    if (!sections)
        return pe;
    auto file_offset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; i++) {
            const IMAGE_SECTION_HEADER &s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return bytes.size();
    };
    auto text_at = [&](DWORD rva) -> std::string {
        size_t offset = file_offset(rva);
        std::string text;
        while (offset < bytes.size() && bytes[offset])
            text += static_cast<char>(bytes[offset++]);
        return text;
    };

    const IMAGE_DATA_DIRECTORY &export_entry = directories[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(
        at(file_offset(export_entry.VirtualAddress), sizeof(IMAGE_EXPORT_DIRECTORY)));
    if (export_entry.Size && exports) {
        pe.module_name = text_at(exports->Name);
        pe.ordinal_base = exports->Base;
        pe.function_count = exports->NumberOfFunctions;
        auto name_rvas = reinterpret_cast<const DWORD *>(
            at(file_offset(exports->AddressOfNames), exports->NumberOfNames * sizeof(DWORD)));
        auto indexes = reinterpret_cast<const WORD *>(
            at(file_offset(exports->AddressOfNameOrdinals), exports->NumberOfNames * sizeof(WORD)));
        if (!name_rvas || !indexes)
            return pe;
        for (DWORD i = 0; i < exports->NumberOfNames; i++)
            pe.names.emplace_back(text_at(name_rvas[i]), exports->Base + indexes[i]);
    }

    const IMAGE_DATA_DIRECTORY &import_entry = directories[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (size_t offset = file_offset(import_entry.VirtualAddress); import_entry.Size;
         offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        auto descriptor =
            reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(at(offset, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        if (!descriptor || !descriptor->Name)
            break;
        pe.imports.push_back(text_at(descriptor->Name));
    }
    pe.valid = true;
    return pe;
}

// Checks that a DLL file is a 32-bit x86 DLL whose export directory names the module and lists
// exactly the given names with ordinals 1, 2, ... in order, and that it needs system DLLs only.
inline void check_dll_file(const std::string &path, const char *module_name,
                           const std::vector<const char *> &exports)
{
    static const char *const system_dlls[] = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                              "comdlg32.dll", "msvcrt.dll"};
    PeFile pe = read_pe_file(path);
    if (!CHECK(pe.valid)) {
        std::printf("  cannot read %s\n", path.c_str());
        return;
    }
    CHECK_EQ(pe.machine, IMAGE_FILE_MACHINE_I386);
    CHECK(pe.characteristics & IMAGE_FILE_DLL);
    CHECK_EQ(pe.module_name, std::string(module_name));
    CHECK_EQ(pe.ordinal_base, 1u);
    CHECK_EQ(pe.function_count, exports.size());
    CHECK_EQ(pe.names.size(), exports.size());
    for (size_t i = 0; i < exports.size(); i++) {
        bool found = false;
        for (const auto &name : pe.names)
            if (name.first == exports[i]) {
                found = true;
                CHECK_EQ(name.second, i + 1);
            }
        if (!found)
            report(__FILE__, __LINE__, std::string("no export named ") + exports[i]);
    }
    for (const std::string &import : pe.imports) {
        bool system = false;
        for (const char *dll : system_dlls)
            system = system || lstrcmpiA(import.c_str(), dll) == 0;
        if (!system)
            report(__FILE__, __LINE__, "imports from " + import + ", which is not a system DLL");
    }
}

// Loads a DLL and checks that every export is found by name and by its ordinal, the same function.
inline HMODULE load_and_check_exports(const char *dll, const std::vector<const char *> &exports)
{
    HMODULE module = LoadLibraryA(dll);
    if (!CHECK(module != nullptr))
        return nullptr;
    for (size_t i = 0; i < exports.size(); i++) {
        FARPROC by_name = GetProcAddress(module, exports[i]);
        FARPROC by_ordinal = GetProcAddress(module, MAKEINTRESOURCEA(i + 1));
        if (!by_name || by_name != by_ordinal)
            report(__FILE__, __LINE__, std::string("export ") + exports[i] + " by name and by ordinal " +
                                           std::to_string(i + 1) + " differ");
    }
    return module;
}

// The slot of a module's import address table through which it calls a system function, or
// nullptr. Swapping the slot's content lets a test watch or refuse the library's system calls.
inline void **import_slot(HMODULE module, const char *dll, const char *function)
{
    auto base = reinterpret_cast<unsigned char *>(module);
    auto dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    FARPROC target = GetProcAddress(GetModuleHandleA(dll), function);
    auto descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + entry.VirtualAddress);
    for (; target && descriptor->Name; descriptor++) {
        if (lstrcmpiA(reinterpret_cast<char *>(base + descriptor->Name), dll) != 0)
            continue;
        for (auto slot = reinterpret_cast<void **>(base + descriptor->FirstThunk); *slot; slot++)
            if (*slot == reinterpret_cast<void *>(target))
                return slot;
    }
    return nullptr;
}

// Replaces the function behind an import slot for as long as it lives.
class ImportSwap {
public:
    ImportSwap(HMODULE module, const char *dll, const char *function, void *replacement)
        : slot_(import_slot(module, dll, function))
    {
        if (slot_) {
            original_ = *slot_;
            write(replacement);
        } else {
            report(__FILE__, __LINE__, std::string("no import of ") + function);
        }
    }
    ~ImportSwap()
    {
        if (slot_)
            write(original_);
    }
    ImportSwap(const ImportSwap &) = delete;
    ImportSwap &operator=(const ImportSwap &) = delete;
    void *original() const { return original_; }

private:
    void write(void *function)
    {
        DWORD protection;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        *slot_ = function;
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    }
    void **slot_;
    void *original_ = nullptr;
};

} // namespace wintest
