// Tests of winbridge: the DLL is loaded with LoadLibraryA, its exports are taken by name, and real
// windows are driven with real messages. Each group loads the library afresh and unloads it at the
// end, so the registry and the polled values start empty in every group.
//
//   winbridge_tests [group...] [--dll-file=PATH]    PATH: the DLL file whose tables are checked
//   winbridge_tests child MODE                       a process for the close rules, see child()
#include "winbridge.h"
#include "wintest.h"

namespace {

const std::vector<const char *> kExports = {
    "PCreateWindow",      "PCreateScrollEdit",     "PDestroyWindow",     "PAddButton",
    "PAddMenu",           "PMessageBox",           "PCreateStaticText",  "PCreateEdit",
    "PCreateScrollBar",   "PCreateComboBox",       "PCreateListBox",     "PGetTextElement",
    "PSetTextElement",    "PAddItemToMenu",        "PComboBoxAddString", "PComboBoxGetString",
    "PComboBoxDeleteString", "PListBoxAddString",  "PListBoxGetString",  "PListBoxDeleteString",
    "PGetStateWindow",    "PGetMenuState",         "PStoreHandles",      "PLoadHandles",
    "PFindIndexOfHandle", "PSetTextFont",          "PGetLineEdit"};

std::string dll_file = wintest::beside_program("winbridge.dll");

// The library, loaded for one group; its exports are members of the same names. Windows of the
// class must be gone before it is unloaded.
struct Winbridge {
    HMODULE module = wintest::load_and_check_exports("winbridge.dll", kExports);
#define EXPORT(name) decltype(&::name) name = wintest::export_of<decltype(&::name)>(module, #name)
    EXPORT(PCreateWindow);
    EXPORT(PCreateScrollEdit);
    EXPORT(PDestroyWindow);
    EXPORT(PAddButton);
    EXPORT(PAddMenu);
    EXPORT(PCreateStaticText);
    EXPORT(PCreateEdit);
    EXPORT(PCreateScrollBar);
    EXPORT(PCreateComboBox);
    EXPORT(PCreateListBox);
    EXPORT(PGetTextElement);
    EXPORT(PSetTextElement);
    EXPORT(PAddItemToMenu);
    EXPORT(PComboBoxAddString);
    EXPORT(PComboBoxGetString);
    EXPORT(PComboBoxDeleteString);
    EXPORT(PListBoxAddString);
    EXPORT(PListBoxGetString);
    EXPORT(PListBoxDeleteString);
    EXPORT(PGetStateWindow);
    EXPORT(PGetMenuState);
    EXPORT(PStoreHandles);
    EXPORT(PLoadHandles);
    EXPORT(PFindIndexOfHandle);
    EXPORT(PSetTextFont);
    EXPORT(PGetLineEdit);
#undef EXPORT
    Winbridge() = default;
    Winbridge(const Winbridge &) = delete;
    Winbridge &operator=(const Winbridge &) = delete;
    ~Winbridge() { CHECK(module && FreeLibrary(module)); }
};

HWND handle(UINT_PTR value) { return reinterpret_cast<HWND>(value); }
const HWND none = nullptr;

void files()
{
    wintest::check_dll_file(dll_file, "WINBRIDGE.DLL", kExports);
}

void registry()
{
    Winbridge wb;
    HWND a = handle(0x1000), b = handle(0x2000);
    CHECK_EQ(wb.PFindIndexOfHandle(a), 0);

    // A handle under several numbers is found under the smallest, negative numbers first; storing
    // under a number already present replaces its handle.
    wb.PStoreHandles(a, 7);
    wb.PStoreHandles(a, 3);
    CHECK_EQ(wb.PFindIndexOfHandle(a), 3);
    wb.PStoreHandles(a, -5);
    CHECK_EQ(wb.PFindIndexOfHandle(a), -5);
    wb.PStoreHandles(b, -5);
    CHECK_EQ(wb.PLoadHandles(-5), b);
    CHECK_EQ(wb.PFindIndexOfHandle(a), 3);
    CHECK_EQ(wb.PFindIndexOfHandle(handle(0x3000)), 0);

    // Looking up an unknown number adds it with handle 0; one number stays one entry.
    CHECK_EQ(wb.PLoadHandles(42), none);
    CHECK_EQ(wb.PFindIndexOfHandle(none), 42);
    CHECK_EQ(wb.PLoadHandles(-7), none);
    CHECK_EQ(wb.PFindIndexOfHandle(none), -7);
    wb.PStoreHandles(a, -7);
    CHECK_EQ(wb.PFindIndexOfHandle(none), 42);
    CHECK_EQ(wb.PFindIndexOfHandle(a), -7);

    // Many numbers, stored in descending order, are each found again; so are the extremes of int.
    for (int n = 3000; n >= 1000; n--)
        wb.PStoreHandles(handle(0x10000 + n), n);
    wb.PStoreHandles(b, INT_MIN);
    wb.PStoreHandles(a, INT_MAX);
    int misplaced = 0;
    for (int n = 1000; n <= 3000; n++)
        misplaced += wb.PFindIndexOfHandle(handle(0x10000 + n)) != n;
    CHECK_EQ(misplaced, 0);
    CHECK_EQ(wb.PFindIndexOfHandle(b), INT_MIN);
    CHECK_EQ(wb.PLoadHandles(INT_MAX), a);
}

// The arguments of every window creation on this thread, as the system received them.
std::vector<std::pair<HWND, CREATESTRUCTA>> creations;

LRESULT CALLBACK watch_creation(int code, WPARAM wparam, LPARAM lparam)
{
    if (code == HCBT_CREATEWND)
        creations.emplace_back(reinterpret_cast<HWND>(wparam), *reinterpret_cast<CBT_CREATEWNDA *>(lparam)->lpcs);
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

void windows()
{
    Winbridge wb;
    HHOOK hook = SetWindowsHookExA(WH_CBT, watch_creation, nullptr, GetCurrentThreadId());
    HMENU bar = wb.PAddMenu(12345);
    HWND main = wb.PCreateWindow("Main", 10, 20, 400, 300, nullptr, bar, SW_SHOWNORMAL);
    const DWORD child = WS_CHILD | WS_VISIBLE, edit = child | WS_BORDER | ES_MULTILINE;
    const struct {
        HWND window;
        const char *class_name;
        DWORD style;
    } expected[] = {
        {main, WINBRIDGE_CLASS_NAME, WS_OVERLAPPEDWINDOW},
        {wb.PCreateScrollEdit("h", 1, 2, 50, 40, TRUE, FALSE, main), "Edit", edit | WS_HSCROLL},
        {wb.PCreateScrollEdit("v", 1, 2, 50, 40, FALSE, 7, main), "Edit", edit | WS_VSCROLL},
        {wb.PCreateScrollEdit("n", 1, 2, 50, 40, FALSE, FALSE, main), "Edit", edit},
        {wb.PAddButton("OK", 5, 6, 70, 24, main, BS_AUTOCHECKBOX, SW_SHOW), "Button", child | BS_AUTOCHECKBOX},
        {wb.PCreateStaticText("Label", 5, 40, 70, 20, main, SW_SHOW), "Static", child | WS_BORDER | SS_NOTIFY},
        {wb.PCreateEdit("Edit", 5, 70, 70, 20, main, SW_SHOW), "Edit", edit},
        {wb.PCreateScrollBar("", 5, 100, 70, 16, main, FALSE, SW_SHOW), "ScrollBar", child | SBS_BOTTOMALIGN},
        {wb.PCreateScrollBar("", 80, 100, 16, 70, main, TRUE, SW_SHOW), "ScrollBar",
         child | SBS_VERT | SBS_RIGHTALIGN},
        {wb.PCreateComboBox("", 100, 5, 100, 120, main, SW_SHOW), "ComboBox", child | CBS_DROPDOWNLIST},
        {wb.PCreateListBox("", 100, 40, 100, 80, main, SW_SHOW), "ListBox",
         child | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT},
    };
    UnhookWindowsHookEx(hook);

    // Class, style, parent, instance; controls carry identifier 0. The system itself adds
    // WS_EX_WINDOWEDGE to a window with a caption.
    for (const auto &e : expected) {
        auto c = std::find_if(creations.begin(), creations.end(), [&](const auto &c) { return c.first == e.window; });
        if (!CHECK(e.window && c != creations.end()))
            continue;
        const CREATESTRUCTA &arguments = c->second;
        CHECK_EQ(wintest::class_of(e.window), e.class_name);
        CHECK_EQ(static_cast<DWORD>(arguments.style), e.style);
        CHECK_EQ(arguments.dwExStyle & ~WS_EX_WINDOWEDGE, 0ul);
        CHECK_EQ(arguments.hInstance, GetModuleHandleA(nullptr));
        CHECK_EQ(arguments.hwndParent, e.window == main ? none : main);
        CHECK_EQ(arguments.hMenu, e.window == main ? bar : nullptr);
    }
    RECT place;
    GetWindowRect(main, &place);
    CHECK(place.left == 10 && place.top == 20 && place.right == 410 && place.bottom == 320);

    // The show command is applied, the scroll edit is always shown; failures give NULL.
    CHECK(IsWindowVisible(main) && IsWindowVisible(expected[3].window));
    HWND hidden = wb.PAddButton("hidden", 5, 5, 10, 10, main, BS_PUSHBUTTON, SW_HIDE);
    CHECK(hidden && !IsWindowVisible(hidden));
    HWND minimized = wb.PCreateWindow("Small", 0, 0, 200, 100, nullptr, nullptr, SW_SHOWMINIMIZED);
    CHECK(IsIconic(minimized));
    CHECK_EQ(wb.PAddButton("orphan", 0, 0, 10, 10, nullptr, 0, SW_SHOW), none);
    CHECK_EQ(wb.PCreateWindow("x", 0, 0, 10, 10, handle(0x7777), nullptr, SW_SHOW), none);

    DestroyWindow(minimized);
    DestroyWindow(main);
}

LPVOID WINAPI no_memory(HANDLE, DWORD, SIZE_T) { return nullptr; }

LRESULT CALLBACK refuse_text(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return message == WM_SETTEXT ? FALSE : DefWindowProcA(window, message, wparam, lparam);
}

void text()
{
    Winbridge wb;
    HWND main = wb.PCreateWindow("Main", 0, 0, 400, 300, nullptr, nullptr, SW_SHOW);
    HWND edit = wb.PCreateEdit("", 10, 10, 200, 60, main, SW_SHOW);

    // Appending to an empty control leaves exactly the text; appending again joins; 0 replaces.
    CHECK(wb.PSetTextElement(edit, "abc", TRUE));
    CHECK_EQ(wintest::text_of(edit), "abc");
    CHECK(wb.PSetTextElement(edit, "def", TRUE));
    CHECK_EQ(wintest::text_of(edit), "abcdef");
    CHECK(wb.PSetTextElement(edit, "xyz", FALSE));
    CHECK_EQ(wintest::text_of(edit), "xyz");
    // A window without a parent gets its text; the result reports no parent to update.
    CHECK_EQ(wb.PSetTextElement(main, "Title", FALSE), FALSE);
    CHECK_EQ(wb.PSetTextElement(main, " more", TRUE), FALSE);
    CHECK_EQ(wintest::text_of(main), "Title more");

    // The append buffer cannot be had, or the window refuses the text: the call fails and the
    // text stays.
    {
        wintest::ImportSwap out_of_memory(wb.module, "kernel32.dll", "HeapAlloc", reinterpret_cast<void *>(no_memory));
        CHECK_EQ(wb.PSetTextElement(edit, " more", TRUE), FALSE);
    }
    CHECK_EQ(wintest::text_of(edit), "xyz");
    HWND refusing = CreateWindowExA(0, "Static", "old", WS_CHILD, 0, 0, 10, 10, main, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(refusing, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refuse_text));
    CHECK_EQ(wb.PSetTextElement(refusing, "new", FALSE), FALSE);
    CHECK_EQ(wb.PSetTextElement(refusing, "new", TRUE), FALSE);

    // A line of a multi-line edit; the caller puts the buffer's size in its first word.
    wb.PSetTextElement(edit, "first\r\nsecond line", FALSE);
    char line[64] = {};
    *reinterpret_cast<WORD *>(line) = sizeof line - 1;
    CHECK_EQ(wb.PGetLineEdit(edit, 1, line), 11);
    CHECK_EQ(std::string(line), "second line");
    // No buffer: nothing is copied and nothing written.
    CHECK_EQ(wb.PGetLineEdit(edit, 1, nullptr), 0);
    CHECK_EQ(wb.PGetTextElement(edit, nullptr, 64), 0);

    // The font asks for "LinePiper" with the caller's attributes.
    CHECK(wb.PSetTextFont(edit, 20, 8, 0, 0, FW_BOLD, TRUE, FALSE, TRUE));
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
    CHECK_EQ(std::string(font.lfFaceName), "LinePiper");
    CHECK(font.lfHeight == 20 && font.lfWidth == 8 && font.lfWeight == FW_BOLD);
    CHECK(font.lfItalic && !font.lfUnderline && font.lfStrikeOut);
    CHECK(font.lfCharSet == ANSI_CHARSET && font.lfPitchAndFamily == (FF_MODERN | DEFAULT_PITCH));
    CHECK_EQ(wb.PSetTextFont(main, 12, 0, 0, 0, FW_NORMAL, 0, 0, 0), FALSE);

    DestroyWindow(main);
}

void lists()
{
    Winbridge wb;
    HWND main = wb.PCreateWindow("Main", 0, 0, 400, 300, nullptr, nullptr, SW_SHOW);
    HWND combo = wb.PCreateComboBox("", 10, 10, 150, 120, main, SW_SHOW);
    HWND list = wb.PCreateListBox("", 10, 50, 150, 100, main, SW_SHOW);
    wb.PStoreHandles(combo, 5);
    wb.PStoreHandles(list, -3);
    char buffer[WINBRIDGE_COMBO_TEXT_SIZE];

    // The combo box keeps the order of adding; its text is the selected item.
    CHECK_EQ(wb.PComboBoxAddString(5, "beta"), 0);
    CHECK_EQ(wb.PComboBoxAddString(5, "alpha"), 1);
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    CHECK_EQ(wb.PComboBoxGetString(5, buffer), 5);
    CHECK_EQ(std::string(buffer), "alpha");
    CHECK_EQ(wb.PComboBoxDeleteString(5, 0), 1);
    CHECK_EQ(wb.PComboBoxDeleteString(5, 4), CB_ERR);

    // The list box sorts.
    CHECK_EQ(wb.PListBoxAddString(-3, "pear"), 0);
    CHECK_EQ(wb.PListBoxAddString(-3, "apple"), 0);
    CHECK_EQ(wb.PListBoxAddString(-3, "zebra"), 2);
    CHECK_EQ(wb.PListBoxGetString(-3, 1, buffer), 4);
    CHECK_EQ(std::string(buffer), "pear");
    CHECK_EQ(wb.PListBoxGetString(-3, 9, buffer), LB_ERR);
    CHECK_EQ(wb.PListBoxDeleteString(-3, 0), 2);

    // A number never stored has no control: every call fails with the error code rather than a 0
    // that would read as "added at position 0" or "no items left". The number is then known with
    // handle 0. The same holds for a number whose control is gone.
    std::strcpy(buffer, "stale");
    CHECK_EQ(wb.PComboBoxAddString(77, "x"), CB_ERR);
    CHECK_EQ(wb.PComboBoxGetString(77, buffer), 0);
    CHECK_EQ(std::string(buffer), "");
    CHECK_EQ(wb.PComboBoxDeleteString(77, 0), CB_ERR);
    std::strcpy(buffer, "stale");
    CHECK_EQ(wb.PListBoxAddString(78, "x"), LB_ERR);
    CHECK_EQ(wb.PListBoxGetString(78, 0, buffer), LB_ERR);
    CHECK_EQ(std::string(buffer), "stale");
    CHECK_EQ(wb.PListBoxDeleteString(78, 0), LB_ERR);
    CHECK_EQ(wb.PFindIndexOfHandle(none), 77);
    // No buffer, with or without a live control: nothing is copied and nothing written.
    for (int number : {5, 77})
        CHECK_EQ(wb.PComboBoxGetString(number, nullptr), 0);
    for (int number : {-3, 78})
        CHECK_EQ(wb.PListBoxGetString(number, 0, nullptr), LB_ERR);
    DestroyWindow(list);
    CHECK_EQ(wb.PListBoxAddString(-3, "x"), LB_ERR);

    DestroyWindow(main);
}

void events()
{
    Winbridge wb;
    CHECK_EQ(wb.PGetStateWindow(none), none);
    CHECK_EQ(std::string(wb.PGetMenuState(WINBRIDGE_QUERY)), "");

    // File: New (0), reserved for zorq (1); Edit: Copy (0); Help (2) on the bar itself.
    HMENU bar = wb.PAddMenu(0), file = wb.PAddMenu(0), edit_menu = wb.PAddMenu(0);
    wb.PAddItemToMenu(bar, "File", file, 0);
    wb.PAddItemToMenu(bar, "Edit", edit_menu, 1);
    wb.PAddItemToMenu(bar, "Help", nullptr, 2);
    wb.PAddItemToMenu(file, "New", nullptr, 0);
    wb.PAddItemToMenu(file, WINBRIDGE_QUERY, nullptr, 1);
    wb.PAddItemToMenu(edit_menu, "Copy", nullptr, 0);

    HWND main = wb.PCreateWindow("Events", 0, 0, 500, 300, nullptr, bar, SW_SHOW);
    HWND button = wb.PAddButton("Press", 10, 10, 80, 25, main, BS_PUSHBUTTON, SW_SHOW);
    HWND label = wb.PCreateStaticText("Label", 10, 45, 80, 25, main, SW_SHOW);
    HWND list = wb.PCreateListBox("", 100, 10, 120, 100, main, SW_SHOW);
    HWND combo = wb.PCreateComboBox("", 240, 10, 120, 120, main, SW_SHOW);
    HWND edit = wb.PCreateEdit("", 10, 130, 200, 25, main, SW_SHOW);
    wb.PStoreHandles(button, 1);
    wb.PStoreHandles(list, 3);
    wb.PStoreHandles(combo, 4);
    for (const char *item : {"one", "two", "three"}) {
        wb.PListBoxAddString(3, item);
        wb.PComboBoxAddString(4, item);
    }
    auto choose = [&](WPARAM command) {
        PostMessageA(main, WM_COMMAND, command, 0);
        wintest::pump();
        return std::string(wb.PGetMenuState(WINBRIDGE_QUERY));
    };

    // Clicks on a button and a static text make them the state window; the caller's marker
    // stays until the next one.
    wintest::click(button);
    wintest::pump();
    CHECK_EQ(wb.PFindIndexOfHandle(wb.PGetStateWindow(none)), 1);
    HWND marker = handle(1);
    CHECK_EQ(wb.PGetStateWindow(marker), marker);
    wintest::click(label);
    wintest::pump();
    CHECK_EQ(wb.PGetStateWindow(none), label);

    // Selection changes in list and combo boxes and typing in an edit are not recorded.
    wb.PGetStateWindow(marker);
    wintest::click(list, 10, 5);
    SetFocus(combo);
    PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    wintest::pump();
    SetFocus(edit);
    PostMessageA(edit, WM_CHAR, 'x', 0);
    wintest::pump();
    CHECK(SendMessageA(list, LB_GETCURSEL, 0, 0) == 0 && SendMessageA(combo, CB_GETCURSEL, 0, 0) == 0);
    CHECK_EQ(wintest::text_of(edit), "x");
    CHECK_EQ(wb.PGetStateWindow(none), marker);

    // Enter while the top-level window has the focus makes it the state window.
    SetFocus(main);
    PostMessageA(main, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    wintest::pump();
    CHECK_EQ(wb.PGetStateWindow(none), main);

    // A chosen item's text becomes the menu state. "New" and "Copy" share identifier 0: the first
    // in the menu is found. The item named like the query is not recorded and the last choice
    // keeps its text. An accelerator (code 1) counts as a choice.
    CHECK_EQ(choose(0), "New");
    CHECK_EQ(choose(2), "Help");
    CHECK_EQ(choose(1), "Help");
    CHECK_EQ(choose(MAKEWPARAM(0, 1)), "New");
    // The caller's own text is kept by pointer until the next choice.
    static const char seen[] = "seen";
    CHECK_EQ(wb.PGetMenuState(seen), seen);
    choose(1);
    CHECK_EQ(wb.PGetMenuState(WINBRIDGE_QUERY), seen);

    // WM_QUIT sent to the window ends the caller's message loop.
    SendMessageA(main, WM_QUIT, 0, 0);
    MSG quit;
    CHECK(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 0);

    DestroyWindow(main);
}

// Child processes for the close rules; the exit code tells what happened.
int child(const std::string &mode)
{
    wintest::start_watchdog(20000);
    Winbridge wb;
    HWND window = wb.PCreateWindow(mode.c_str(), 0, 0, 300, 200, nullptr, nullptr, SW_SHOW);
    if (mode == "close-control") {
        HWND button = wb.PAddButton("b", 0, 0, 50, 20, window, BS_PUSHBUTTON, SW_SHOW);
        wb.PDestroyWindow(button);
        return IsWindow(button) || !IsWindow(window) ? 6 : 7;
    }
    if (mode == "close-one-of-two") {
        HWND second = wb.PCreateWindow("second", 0, 0, 300, 200, nullptr, nullptr, SW_SHOW);
        wb.PDestroyWindow(window);
        return IsWindow(window) || !IsWindow(second) ? 6 : 9;
    }
    if (mode == "close-last")
        wb.PDestroyWindow(window);
    else if (mode == "close-box")
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    wintest::pump(mode == "holder" ? 15000 : 5000);
    return 8;
}

// A window of the library's class works: a click on its button is recorded.
void check_click_recorded(Winbridge &wb)
{
    HWND main = wb.PCreateWindow("works", 0, 0, 200, 100, nullptr, nullptr, SW_SHOW);
    HWND button = wb.PAddButton("b", 0, 0, 50, 20, main, BS_PUSHBUTTON, SW_SHOW);
    wintest::click(button);
    wintest::pump();
    CHECK_EQ(wb.PGetStateWindow(none), button);
    DestroyWindow(main);
}

void lifecycle()
{
    HINSTANCE program = GetModuleHandleA(nullptr);
    WNDCLASSA info;
    {
        Winbridge wb;
        // The class belongs to the program's instance, not to the library's.
        CHECK(GetClassInfoA(program, WINBRIDGE_CLASS_NAME, &info));
        CHECK(!GetClassInfoA(wb.module, WINBRIDGE_CLASS_NAME, &info));
        CHECK_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
        CHECK(info.cbClsExtra == 0 && info.cbWndExtra == 0 && info.lpszMenuName == nullptr);
        CHECK_EQ(info.hIcon, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
        CHECK_EQ(info.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        CHECK_EQ(info.hbrBackground, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        wb.PStoreHandles(handle(0x99), 3);
        wb.PGetStateWindow(handle(0x98));
    }
    // Unloaded, the class is gone; loaded again, everything starts afresh and works.
    CHECK(!GetClassInfoA(program, WINBRIDGE_CLASS_NAME, &info));
    {
        Winbridge wb;
        CHECK_EQ(wb.PFindIndexOfHandle(handle(0x99)), 0);
        CHECK_EQ(wb.PGetStateWindow(none), none);
        check_click_recorded(wb);
    }
    // The load fails when the class cannot be registered, and the class that was there stays:
    // the program's own, or that of a first copy of the library, whose windows go on working.
    WNDCLASSA taken{};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = program;
    taken.lpszClassName = WINBRIDGE_CLASS_NAME;
    CHECK(RegisterClassA(&taken));
    CHECK_EQ(LoadLibraryA("winbridge.dll"), static_cast<HMODULE>(nullptr));
    CHECK(GetClassInfoA(program, WINBRIDGE_CLASS_NAME, &info));
    CHECK(UnregisterClassA(WINBRIDGE_CLASS_NAME, program));

    char temp[MAX_PATH];
    std::string copy(temp, GetTempPathA(MAX_PATH, temp));
    copy += "winbridge-copy-" + std::to_string(GetCurrentProcessId()) + ".dll";
    CHECK(CopyFileA(wintest::beside_program("winbridge.dll").c_str(), copy.c_str(), FALSE));
    {
        Winbridge wb;
        CHECK_EQ(LoadLibraryA(copy.c_str()), static_cast<HMODULE>(nullptr));
        CHECK(GetClassInfoA(program, WINBRIDGE_CLASS_NAME, &info));
        check_click_recorded(wb);
    }
    CHECK(!GetClassInfoA(program, WINBRIDGE_CLASS_NAME, &info));
    DeleteFileA(copy.c_str());

    // Closing a control or one of two windows leaves the process running; the last window, by
    // PDestroyWindow or by its close box, ends it with exit code 0.
    std::string self = wintest::beside_program("winbridge_tests.exe");
    CHECK_EQ(wintest::run_program(self, "child close-control"), 7l);
    CHECK_EQ(wintest::run_program(self, "child close-one-of-two"), 9l);
    CHECK_EQ(wintest::run_program(self, "child close-last"), 0l);
    CHECK_EQ(wintest::run_program(self, "child close-box"), 0l);

    // A window of the class in another process does not keep this one alive.
    PROCESS_INFORMATION holder{};
    wintest::run_program(self, "child holder", 0, &holder);
    HWND held = nullptr;
    for (int i = 0; i < 500 && !held; i++, Sleep(20))
        while ((held = FindWindowExA(nullptr, held, WINBRIDGE_CLASS_NAME, "holder")) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(held, &owner);
            if (owner == holder.dwProcessId)
                break;
        }
    CHECK(held != nullptr);
    CHECK_EQ(wintest::run_program(self, "child close-last", 10000), 0l);
    PostMessageA(held, WM_CLOSE, 0, 0);
    DWORD code = 3;
    if (WaitForSingleObject(holder.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(holder.hProcess, 3);
    GetExitCodeProcess(holder.hProcess, &code);
    CHECK_EQ(code, 0ul);
    CloseHandle(holder.hProcess);
    CloseHandle(holder.hThread);
}

// A C and a C++ caller linked with the import library.
void link()
{
    CHECK_EQ(wintest::run_program(wintest::beside_program("winbridge_link.exe"), ""), 0l);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "child")
        return child(argv[2]);
    return wintest::run_groups(wintest::parse_arguments(argc, argv, dll_file),
                               {{"files", files},
                                {"registry", registry},
                                {"windows", windows},
                                {"text", text},
                                {"lists", lists},
                                {"events", events},
                                {"lifecycle", lifecycle},
                                {"link", link}});
}
