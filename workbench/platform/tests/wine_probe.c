/* A Windows console program for the tests that start Windows programs through Wine. It writes
   into "probe.txt" in its current folder, one per line: that folder, the number of its
   arguments, whether it has a console window, and how many windows of its own are visible.
   Then it exits with the status PROBE_EXIT gives, or with PROBE_HANG set waits for ever. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

static BOOL CALLBACK countVisible(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window))
        ++*(int*)count;
    return TRUE;
}

int main(int argc, char** argv)
{
    char folder[MAX_PATH];
    int visible = 0;
    FILE* out;
    (void)argv;
    if (!GetCurrentDirectoryA(sizeof folder, folder))
        return 100;
    EnumWindows(countVisible, (LPARAM)&visible);
    out = fopen("probe.txt", "w");
    if (!out)
        return 101;
    fprintf(out, "%s\n%d\n%d\n%d\n", folder, argc - 1, GetConsoleWindow() != NULL, visible);
    fclose(out);
    if (getenv("PROBE_HANG"))
        Sleep(INFINITE);
    return getenv("PROBE_EXIT") ? atoi(getenv("PROBE_EXIT")) : 0;
}
