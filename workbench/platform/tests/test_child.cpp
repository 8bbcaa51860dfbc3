// The program the Windows process tests start. It takes no arguments: what to do is the first
// line of "child.txt" in its current folder, and it tells how it was started in "report.txt"
// there (current folder, command line, whether it was asked to show no window).
//   exit N    ends with exit status N (also an exception code such as 3221225477)
//   sleep     waits forever
//   spawn     starts itself in the folder "grand" (with "sleep"), writes that program's
//             process id to "grand.pid", and waits forever
//   quick     ends after a moment
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string read(const char* name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

}  // namespace

int main() {
    char folder[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    STARTUPINFOA startup{};
    ::GetStartupInfoA(&startup);
    const bool hidden = (startup.dwFlags & STARTF_USESHOWWINDOW) && startup.wShowWindow == SW_HIDE;
    write("report.txt", std::string(folder) + "\n" + ::GetCommandLineA() + "\n" + (hidden ? "hidden" : "shown") + "\n");

    std::istringstream order(read("child.txt"));
    std::string command;
    unsigned long number = 0;
    order >> command >> number;
    if (command == "exit") ::ExitProcess(static_cast<UINT>(number));
    if (command == "quick") ::Sleep(300);
    if (command == "spawn") {
        char self[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        ::CreateDirectoryA("grand", nullptr);
        write("grand\\child.txt", "sleep\n");
        STARTUPINFOA child{};
        child.cb = sizeof child;
        PROCESS_INFORMATION started{};
        if (!::CreateProcessA(self, nullptr, nullptr, nullptr, FALSE, 0, nullptr, "grand", &child, &started))
            return 2;
        write("grand.pid.tmp", std::to_string(started.dwProcessId));
        ::MoveFileA("grand.pid.tmp", "grand.pid");  // whole when it appears
        ::Sleep(INFINITE);
    }
    if (command == "sleep") ::Sleep(INFINITE);
    return 0;
}
