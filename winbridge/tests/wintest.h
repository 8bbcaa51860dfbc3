// Harness of the Windows test programs of winbridge and dlgbridge: named groups of checks, a
// watchdog so that no run waits forever, message pumping, helpers that answer the windows a modal
// call puts up, child processes, the export and import tables of a DLL file, and import swapping.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace wintest {

inline int failures;

inline void report(const char *file, int line, const std::string &what)
{
    ++failures;
    std::printf("%s:%d: FAILED: %s\n", file, line, what.c_str());
    std::fflush(stdout);
}

template <class T> std::string show(const T &value)
{
    std::ostringstream out;
    if constexpr (std::is_integral_v<T>)
        out << static_cast<long long>(value);
    else
        out << value;
    return out.str();
}
inline std::string show(const std::string &text) { return '"' + text + '"'; }
inline std::string show(const char *text) { return text ? show(std::string(text)) : "(null)"; }

template <class A, class B>
bool check_equal(const A &actual, const B &expected, const char *text, const char *file, int line)
{
    if (actual == expected)
        return true;
    report(file, line, std::string(text) + " (got " + show(actual) + ", want " + show(expected) + ")");
    return false;
}

} // namespace wintest

#define CHECK(condition) ((condition) ? true : (::wintest::report(__FILE__, __LINE__, #condition), false))
#define CHECK_EQ(actual, expected) \
    ::wintest::check_equal((actual), (expected), #actual " == " #expected, __FILE__, __LINE__)

namespace wintest {

struct Group {
    const char *name;
    void (*run)();
};

// Ends the process with code 2 when it runs longer than the given time.
inline void start_watchdog(DWORD milliseconds)
{
    static DWORD limit;
    limit = milliseconds;
    struct Watchdog {
        static DWORD WINAPI run(LPVOID)
        {
            Sleep(limit);
            std::printf("FAILED: still running after %lu ms\n", static_cast<unsigned long>(limit));
            std::fflush(stdout);
            ExitProcess(2);
        }
    };
    if (HANDLE thread = CreateThread(nullptr, 0, Watchdog::run, nullptr, 0, nullptr))
        CloseHandle(thread);
}

// Runs the groups named on the command line, or all; exit code 0 when every check passed.
inline int run_groups(const std::vector<std::string> &wanted, const std::vector<Group> &groups)
{
    start_watchdog(60000);
    int ran = 0;
    for (const Group &group : groups) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), group.name) == wanted.end())
            continue;
        int before = failures;
        DWORD start = GetTickCount();
        group.run();
        ++ran;
        std::printf("%-10s %-6s %5lu ms\n", group.name, failures == before ? "ok" : "FAILED",
                    static_cast<unsigned long>(GetTickCount() - start));
        std::fflush(stdout);
    }
    std::printf("%d groups, %d failed checks\n", ran, failures);
    return ran > 0 && failures == 0 ? 0 : 1;
}

// Dispatches this thread's messages until the queue is empty, and on for the given time.
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

// A click by the mouse messages the system sends, at a point of a control (its middle by default).
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

// The first visible top-level window of a thread that satisfies a condition, waiting up to the
// given time for it to appear.
inline HWND wait_for_window(DWORD thread, const std::function<bool(HWND)> &wanted,
                            DWORD milliseconds = 10000)
{
    struct Search {
        const std::function<bool(HWND)> &wanted;
        HWND found;
        static BOOL CALLBACK match(HWND window, LPARAM data)
        {
            auto *search = reinterpret_cast<Search *>(data);
            if (IsWindowVisible(window) && search->wanted(window))
                search->found = window;
            return !search->found;
        }
    } search{wanted, nullptr};
    for (DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(20))
        if (!EnumThreadWindows(thread, Search::match, reinterpret_cast<LPARAM>(&search)) || search.found)
            return search.found;
    return nullptr;
}

inline HWND wait_for_dialog(DWORD thread, DWORD milliseconds = 10000)
{
    return wait_for_window(thread, [](HWND w) { return class_of(w) == "#32770"; }, milliseconds);
}

// Runs `modal` on this thread while `helper` runs on a second one, typically to find and answer
// the window that the modal call shows.
inline void run_beside(const std::function<void()> &helper, const std::function<void()> &modal)
{
    struct Thread {
        static DWORD WINAPI run(LPVOID function)
        {
            (*static_cast<const std::function<void()> *>(function))();
            return 0;
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, Thread::run, const_cast<std::function<void()> *>(&helper), 0,
                                 nullptr);
    if (!CHECK(thread != nullptr))
        return;
    modal();
    CHECK(WaitForSingleObject(thread, 15000) == WAIT_OBJECT_0);
    CloseHandle(thread);
}

// Full path of a file in the folder of this program.
inline std::string beside_program(const char *name)
{
    char path[MAX_PATH];
    std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

// A host path (/build/x.dll) in Windows form (Z:\build\x.dll).
inline std::string windows_path(std::string path)
{
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Starts a program and returns its exit code; -1 when it cannot be started, 3 when it still runs
// after the given time (it is then ended). Given `running`, returns 0 at once and leaves it running.
inline long run_program(const std::string &program, const std::string &arguments,
                        DWORD milliseconds = 20000, PROCESS_INFORMATION *running = nullptr)
{
    std::string command = '"' + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    if (running) {
        *running = process;
        return 0;
    }
    DWORD code = 3;
    if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 3);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

// Checks a DLL file: a 32-bit x86 DLL whose export directory names the module and lists exactly the
// given names with ordinals 1, 2, ... in order, importing from system DLLs only.
inline void check_dll_file(const std::string &path, const char *module_name,
                           const std::vector<const char *> &exports)
{
    std::vector<unsigned char> file;
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    file.resize(handle == INVALID_HANDLE_VALUE ? 0 : GetFileSize(handle, nullptr));
    if (handle != INVALID_HANDLE_VALUE) {
        ReadFile(handle, file.data(), static_cast<DWORD>(file.size()), &got, nullptr);
        CloseHandle(handle);
    }
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(
        file.data() + (got > 0x100 ? reinterpret_cast<const IMAGE_DOS_HEADER *>(file.data())->e_lfanew : 0));
    if (!CHECK(got > 0x400 && nt->Signature == IMAGE_NT_SIGNATURE &&
               nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC))
        return;
    CHECK_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    CHECK(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);

    // Addresses in the image are relative to where the sections are loaded; find them in the file.
    auto sections = IMAGE_FIRST_SECTION(nt);
    auto at = [&](DWORD rva) -> const unsigned char * {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; i++)
            if (rva >= sections[i].VirtualAddress && rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
                return file.data() + rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return nullptr;
    };
    const IMAGE_DATA_DIRECTORY *directories = nt->OptionalHeader.DataDirectory;
    auto directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(
        at(directories[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress));
    if (!CHECK(directory != nullptr))
        return;
    CHECK_EQ(std::string(reinterpret_cast<const char *>(at(directory->Name))), module_name);
    CHECK_EQ(directory->Base, 1ul);
    CHECK_EQ(directory->NumberOfFunctions, exports.size());
    CHECK_EQ(directory->NumberOfNames, exports.size());
    auto names = reinterpret_cast<const DWORD *>(at(directory->AddressOfNames));
    auto indexes = reinterpret_cast<const WORD *>(at(directory->AddressOfNameOrdinals));
    for (DWORD i = 0; i < directory->NumberOfNames && names && indexes; i++) {
        std::string name = reinterpret_cast<const char *>(at(names[i]));
        auto listed = std::find_if(exports.begin(), exports.end(), [&](const char *e) { return name == e; });
        if (!CHECK(listed != exports.end()))
            std::printf("  unexpected export %s\n", name.c_str());
        else
            CHECK_EQ(directory->Base + indexes[i], static_cast<DWORD>(listed - exports.begin() + 1));
    }

    auto import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(
        at(directories[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress));
    for (; import && import->Name; import++) {
        std::string dll = reinterpret_cast<const char *>(at(import->Name));
        std::transform(dll.begin(), dll.end(), dll.begin(), [](char c) { return std::tolower(c); });
        if (!CHECK(dll == "kernel32.dll" || dll == "user32.dll" || dll == "gdi32.dll" ||
                   dll == "comdlg32.dll" || dll == "msvcrt.dll"))
            std::printf("  imports from %s, which is not a system DLL\n", dll.c_str());
    }
}

// Loads a DLL and checks that every export is found by name and by its ordinal, the same function.
inline HMODULE load_and_check_exports(const char *dll, const std::vector<const char *> &exports)
{
    HMODULE module = LoadLibraryA(dll);
    for (size_t i = 0; module && i < exports.size(); i++) {
        FARPROC by_name = GetProcAddress(module, exports[i]);
        if (!CHECK(by_name && by_name == GetProcAddress(module, MAKEINTRESOURCEA(i + 1))))
            std::printf("  export %s differs from ordinal %u\n", exports[i], static_cast<unsigned>(i + 1));
    }
    CHECK(module != nullptr);
    return module;
}

// Replaces, while it lives, the function behind the slot of a module's import table through which
// the module calls a system function: lets a test watch or refuse a library's system calls.
class ImportSwap {
public:
    ImportSwap(HMODULE module, const char *dll, const char *function, void *replacement)
    {
        auto base = reinterpret_cast<unsigned char *>(module);
        auto nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
        auto import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(
            base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        void *target = reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA(dll), function));
        for (; target && !slot_ && import->Name; import++)
            if (lstrcmpiA(reinterpret_cast<char *>(base + import->Name), dll) == 0)
                for (auto slot = reinterpret_cast<void **>(base + import->FirstThunk); *slot; slot++)
                    if (*slot == target)
                        slot_ = slot;
        if (!CHECK(slot_ != nullptr))
            return;
        original_ = *slot_;
        write(replacement);
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
    void **slot_ = nullptr;
    void *original_ = nullptr;
};

// The exports of a loaded DLL, typed as the header declares them.
template <class F> F export_of(HMODULE module, const char *name)
{
    FARPROC address = GetProcAddress(module, name);
    F function;
    static_assert(sizeof function == sizeof address, "function pointers differ in size");
    std::memcpy(&function, &address, sizeof function);
    return function;
}

// The command line: group names, and --dll-file=PATH for the DLL file whose tables are checked.
inline std::vector<std::string> parse_arguments(int argc, char **argv, std::string &dll_file)
{
    std::vector<std::string> groups;
    for (int i = 1; i < argc; i++) {
        std::string argument = argv[i];
        if (argument.rfind("--dll-file=", 0) == 0)
            dll_file = windows_path(argument.substr(11));
        else
            groups.push_back(argument);
    }
    return groups;
}

} // namespace wintest
