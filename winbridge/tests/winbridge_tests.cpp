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
    "PCreateWindow",      "PCreateScrollEdit",     "PDestroyWindow",    "PAddButton",
    "PAddMenu",           "PMessageBox",           "PCreateStaticText", "PCreateEdit",
    "PCreateScrollBar",   "PCreateComboBox",       "PCreateListBox",    "PGetTextElement",
    "PSetTextElement",    "PAddItemToMenu",        "PComboBoxAddString", "PComboBoxGetString",
    "PComboBoxDeleteString", "PListBoxAddString",  "PListBoxGetString", "PListBoxDeleteString",
    "PGetStateWindow",    "PGetMenuState",         "PStoreHandles",     "PLoadHandles",
    "PFindIndexOfHandle", "PSetTextFont",          "PGetLineEdit"};

std::string dll_file = wintest::beside_program("winbridge.dll");

template <class F> F export_of(HMODULE module, const char *name)
{
    FARPROC address = GetProcAddress(module, name);
    F function;
    static_assert(sizeof function == sizeof address, "function pointers differ in size");
    std::memcpy(&function, &address, sizeof function);
    return function;
}

// The library, loaded for one group; its exports are members of the same names.
struct Winbridge {
    HMODULE module = wintest::load_and_check_exports("winbridge.dll", kExports);
#define EXPORT(name) decltype(&::name) name = export_of<decltype(&::name)>(module, #name)
    EXPORT(PCreateWindow);
    EXPORT(PCreateScrollEdit);
    EXPORT(PDestroyWindow);
    EXPORT(PAddButton);
    EXPORT(PAddMenu);
    EXPORT(PMessageBox);
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
    // Windows of the class must be gone before the library goes, or its class stays registered.
    ~Winbridge()
    {
        if (module)
            CHECK(FreeLibrary(module));
    }
    bool loaded() const { return module != nullptr; }
};

HWND fake_handle(UINT_PTR value) { return reinterpret_cast<HWND>(value); }

void files()
{
    wintest::check_dll_file(dll_file, "WINBRIDGE.DLL", kExports);
}

void registry()
{
    Winbridge wb;
    if (!wb.loaded())
        return;
    HWND a = fake_handle(0x1000), b = fake_handle(0x2000);

    CHECK_EQ(wb.PFindIndexOfHandle(a), 0);
    CHECK_EQ(wb.PFindIndexOfHandle(nullptr), 0);

    // A handle under several numbers is found under the smallest, negative numbers first.
    wb.PStoreHandles(a, 7);
    CHECK_EQ(wb.PLoadHandles(7), a);
    CHECK_EQ(wb.PFindIndexOfHandle(a), 7);
    wb.PStoreHandles(a, 3);
    CHECK_EQ(wb.PFindIndexOfHandle(a), 3);
    wb.PStoreHandles(a, -5);
    CHECK_EQ(wb.PFindIndexOfHandle(a), -5);

    // Storing under a number already present replaces its handle.
    wb.PStoreHandles(b, -5);
    CHECK_EQ(wb.PLoadHandles(-5), b);
    CHECK_EQ(wb.PFindIndexOfHandle(b), -5);
    CHECK_EQ(wb.PFindIndexOfHandle(a), 3);
    CHECK_EQ(wb.PFindIndexOfHandle(fake_handle(0x3000)), 0);

    // Looking up an unknown number adds it with handle 0.
    CHECK_EQ(wb.PLoadHandles(42), fake_handle(0));
    CHECK_EQ(wb.PFindIndexOfHandle(nullptr), 42);
    CHECK_EQ(wb.PLoadHandles(10), fake_handle(0));
    CHECK_EQ(wb.PLoadHandles(-7), fake_handle(0));
    CHECK_EQ(wb.PFindIndexOfHandle(nullptr), -7);
    // ... and one number is one entry: once -7 and 10 have handles, only 42 holds 0.
    wb.PStoreHandles(a, -7);
    wb.PStoreHandles(b, 10);
    CHECK_EQ(wb.PFindIndexOfHandle(nullptr), 42);
    CHECK_EQ(wb.PFindIndexOfHandle(a), -7);

    // Many numbers in descending order, each found again, the extremes of int included.
    for (int n = 3000; n >= 1000; n--)
        wb.PStoreHandles(fake_handle(0x10000 + static_cast<UINT_PTR>(n)), n);
    wb.PStoreHandles(b, INT_MIN);
    wb.PStoreHandles(a, INT_MAX);
    int misplaced = 0;
    for (int n = 1000; n <= 3000; n++)
        misplaced += wb.PFindIndexOfHandle(fake_handle(0x10000 + static_cast<UINT_PTR>(n))) != n;
    CHECK_EQ(misplaced, 0);
    CHECK_EQ(wb.PFindIndexOfHandle(b), INT_MIN);
    CHECK_EQ(wb.PFindIndexOfHandle(a), -7);
    CHECK_EQ(wb.PLoadHandles(INT_MAX), a);
}

// Arguments of every window creation on this thread, as the system received them.
struct Creation {
    HWND window;
    std::string class_name;
    CREATESTRUCTA arguments;
};
std::vector<Creation> creations;

LRESULT CALLBACK watch_creation(int code, WPARAM wparam, LPARAM lparam)
{
    if (code == HCBT_CREATEWND) {
        HWND window = reinterpret_cast<HWND>(wparam);
        creations.push_back({window, wintest::class_of(window),
                             *reinterpret_cast<CBT_CREATEWNDA *>(lparam)->lpcs});
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

const Creation *creation_of(HWND window)
{
    for (const Creation &c : creations)
        if (c.window == window)
            return &c;
    return nullptr;
}

void check_creation(HWND window, const char *class_name, DWORD style, HWND parent, const char *what)
{
    const Creation *c = creation_of(window);
    if (!c) {
        wintest::report(__FILE__, __LINE__, std::string("no creation seen for ") + what);
        return;
    }
    std::printf("  %s\n", what);
    CHECK_EQ(c->class_name, std::string(class_name));
    CHECK_EQ(c->arguments.style, static_cast<LONG>(style));
    // The system itself adds WS_EX_WINDOWEDGE to a window with a caption.
    CHECK_EQ(c->arguments.dwExStyle & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), 0ul);
    CHECK_EQ(c->arguments.hwndParent, parent);
    CHECK_EQ(c->arguments.hInstance, GetModuleHandleA(nullptr));
    CHECK_EQ(c->arguments.lpCreateParams, static_cast<void *>(nullptr));
    if (parent)
        CHECK_EQ(c->arguments.hMenu, static_cast<HMENU>(nullptr));
}

void windows()
{
    Winbridge wb;
    if (!wb.loaded())
        return;
    HHOOK hook = SetWindowsHookExA(WH_CBT, watch_creation, nullptr, GetCurrentThreadId());
    CHECK(hook != nullptr);

    HMENU bar = wb.PAddMenu(12345);
    CHECK(IsMenu(bar));
    CHECK_EQ(GetMenuItemCount(bar), 0);
    HWND main = wb.PCreateWindow("Main", 10, 20, 400, 300, nullptr, bar, SW_SHOWNORMAL);
    CHECK(main != nullptr);
    check_creation(main, WINBRIDGE_CLASS_NAME, WS_OVERLAPPEDWINDOW, nullptr, "PCreateWindow");
    const Creation *c = creation_of(main);
    if (c) {
        CHECK_EQ(c->arguments.x, 10);
        CHECK_EQ(c->arguments.y, 20);
        CHECK_EQ(c->arguments.cx, 400);
        CHECK_EQ(c->arguments.cy, 300);
        CHECK_EQ(c->arguments.hMenu, bar);
    }
    CHECK_EQ(GetMenu(main), bar);
    CHECK(IsWindowVisible(main));

    const DWORD child = WS_CHILD | WS_VISIBLE;
    HWND edit_h = wb.PCreateScrollEdit("h", 1, 2, 50, 40, TRUE, FALSE, main);
    HWND edit_v = wb.PCreateScrollEdit("v", 1, 2, 50, 40, FALSE, 7, main);
    HWND edit_n = wb.PCreateScrollEdit("n", 1, 2, 50, 40, FALSE, FALSE, main);
    check_creation(edit_h, "Edit", child | WS_BORDER | ES_MULTILINE | WS_HSCROLL, main, "scroll edit, horizontal");
    check_creation(edit_v, "Edit", child | WS_BORDER | ES_MULTILINE | WS_VSCROLL, main, "scroll edit, vertical");
    check_creation(edit_n, "Edit", child | WS_BORDER | ES_MULTILINE, main, "scroll edit, no bars");
    HWND button = wb.PAddButton("OK", 5, 6, 70, 24, main, BS_AUTOCHECKBOX, SW_SHOW);
    check_creation(button, "Button", child | BS_AUTOCHECKBOX, main, "button");
    HWND text = wb.PCreateStaticText("Label", 5, 40, 70, 20, main, SW_SHOW);
    check_creation(text, "Static", child | WS_BORDER | SS_NOTIFY, main, "static text");
    HWND edit = wb.PCreateEdit("Edit", 5, 70, 70, 20, main, SW_SHOW);
    check_creation(edit, "Edit", child | WS_BORDER | ES_MULTILINE, main, "edit");
    HWND bar_h = wb.PCreateScrollBar("", 5, 100, 70, 16, main, FALSE, SW_SHOW);
    HWND bar_v = wb.PCreateScrollBar("", 80, 100, 16, 70, main, TRUE, SW_SHOW);
    check_creation(bar_h, "ScrollBar", child | SBS_HORZ | SBS_BOTTOMALIGN, main, "horizontal scroll bar");
    check_creation(bar_v, "ScrollBar", child | SBS_VERT | SBS_RIGHTALIGN, main, "vertical scroll bar");
    HWND combo = wb.PCreateComboBox("", 100, 5, 100, 120, main, SW_SHOW);
    check_creation(combo, "ComboBox", child | CBS_DROPDOWNLIST, main, "combo box");
    HWND list = wb.PCreateListBox("", 100, 40, 100, 80, main, SW_SHOW);
    check_creation(list, "ListBox",
                   child | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT, main,
                   "list box");

    // Every control carries identifier 0 and the program's instance.
    for (HWND control : {edit_h, button, text, edit, bar_h, combo, list}) {
        CHECK_EQ(GetDlgCtrlID(control), 0);
        CHECK_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(control, GWLP_HINSTANCE)),
                 GetModuleHandleA(nullptr));
    }

    // The show command is applied; the scroll edit is always shown.
    HWND hidden = wb.PAddButton("hidden", 5, 5, 10, 10, main, BS_PUSHBUTTON, SW_HIDE);
    CHECK(hidden && !IsWindowVisible(hidden));
    CHECK(IsWindowVisible(edit_n));
    HWND minimized = wb.PCreateWindow("Small", 0, 0, 200, 100, nullptr, nullptr, SW_SHOWMINIMIZED);
    CHECK(IsIconic(minimized));

    // Creation failures come back as NULL: a control without a parent, an invalid parent.
    CHECK_EQ(wb.PAddButton("orphan", 0, 0, 10, 10, nullptr, 0, SW_SHOW), static_cast<HWND>(nullptr));
    CHECK_EQ(wb.PCreateWindow("x", 0, 0, 10, 10, fake_handle(0x7777), nullptr, SW_SHOW),
             static_cast<HWND>(nullptr));

    // Menus: a plain item's identifier is the position it was inserted at, a submenu is a popup.
    HMENU file = wb.PAddMenu(0);
    CHECK(wb.PAddItemToMenu(bar, "File", file, 0));
    CHECK_EQ(GetSubMenu(bar, 0), file);
    CHECK(wb.PAddItemToMenu(file, "Open", nullptr, 0));
    CHECK(wb.PAddItemToMenu(file, "Save", nullptr, 1));
    CHECK(wb.PAddItemToMenu(file, "New", nullptr, 0));
    CHECK_EQ(GetMenuItemID(file, 0), 0u);
    CHECK_EQ(GetMenuItemID(file, 1), 0u);
    CHECK_EQ(GetMenuItemID(file, 2), 1u);
    char item[32] = "";
    GetMenuStringA(file, 1, item, sizeof item, MF_BYPOSITION);
    CHECK_TEXT(item, "Open");
    CHECK(!wb.PAddItemToMenu(nullptr, "None", nullptr, 0));

    // A message box with the caller's owner, text, caption and type; its answer is returned.
    DWORD self = GetCurrentThreadId();
    std::string box_caption, box_owner_ok;
    int answer = 0;
    wintest::run_beside(
        [&] {
            HWND box = wintest::wait_for_dialog(self);
            if (!box)
                return;
            box_caption = wintest::text_of(box);
            box_owner_ok = GetWindow(box, GW_OWNER) == main ? "yes" : "no";
            wintest::click(GetDlgItem(box, IDNO));
        },
        [&] { answer = wb.PMessageBox(main, "Question?", "Caption", MB_YESNO); });
    CHECK_EQ(answer, IDNO);
    CHECK_EQ(box_caption, std::string("Caption"));
    CHECK_EQ(box_owner_ok, std::string("yes"));

    UnhookWindowsHookEx(hook);
    DestroyWindow(minimized);
    DestroyWindow(main);
}

LPVOID WINAPI no_memory(HANDLE, DWORD, SIZE_T)
{
    return nullptr;
}

LRESULT CALLBACK refuse_text(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_SETTEXT)
        return FALSE;
    return DefWindowProcA(window, message, wparam, lparam);
}

void text()
{
    Winbridge wb;
    if (!wb.loaded())
        return;
    HWND main = wb.PCreateWindow("Main", 0, 0, 400, 300, nullptr, nullptr, SW_SHOW);
    HWND edit = wb.PCreateEdit("", 10, 10, 200, 60, main, SW_SHOW);

    // Appending to an empty control leaves exactly the text; appending again joins; 0 replaces.
    CHECK(wb.PSetTextElement(edit, "abc", TRUE));
    CHECK_EQ(wintest::text_of(edit), std::string("abc"));
    CHECK(wb.PSetTextElement(edit, "def", TRUE));
    CHECK_EQ(wintest::text_of(edit), std::string("abcdef"));
    CHECK(wb.PSetTextElement(edit, "", TRUE));
    CHECK_EQ(wintest::text_of(edit), std::string("abcdef"));
    CHECK(wb.PSetTextElement(edit, "xyz", FALSE));
    CHECK_EQ(wintest::text_of(edit), std::string("xyz"));

    // A window without a parent gets its text, and the result reports no parent to update.
    CHECK_EQ(wb.PSetTextElement(main, "Title", FALSE), FALSE);
    CHECK_EQ(wb.PSetTextElement(main, " more", TRUE), FALSE);
    CHECK_EQ(wintest::text_of(main), std::string("Title more"));

    char buffer[64];
    CHECK_EQ(wb.PGetTextElement(edit, buffer, 3), 2);
    CHECK_TEXT(buffer, "xy");
    CHECK_EQ(wb.PGetTextElement(main, buffer, sizeof buffer), 10);

    // The append buffer cannot be had: the call fails and the text stays.
    CHECK(wb.PSetTextElement(edit, "keep", FALSE));
    {
        wintest::ImportSwap out_of_memory(wb.module, "kernel32.dll", "HeapAlloc",
                                          reinterpret_cast<void *>(no_memory));
        CHECK_EQ(wb.PSetTextElement(edit, " more", TRUE), FALSE);
    }
    CHECK_EQ(wintest::text_of(edit), std::string("keep"));
    CHECK(wb.PSetTextElement(edit, " more", TRUE));
    CHECK_EQ(wintest::text_of(edit), std::string("keep more"));

    // A window that refuses its new text: the call fails.
    HWND refusing = CreateWindowExA(0, "Static", "old", WS_CHILD, 0, 0, 10, 10, main, nullptr, nullptr,
                                    nullptr);
    SetWindowLongPtrA(refusing, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refuse_text));
    CHECK_EQ(wb.PSetTextElement(refusing, "new", FALSE), FALSE);
    CHECK_EQ(wb.PSetTextElement(refusing, "new", TRUE), FALSE);

    // Lines of a multi-line edit; the caller puts the buffer size in its first word.
    wb.PSetTextElement(edit, "first\r\nsecond line\r\nthird", FALSE);
    char line[64] = {};
    *reinterpret_cast<WORD *>(line) = sizeof line - 1;
    CHECK_EQ(wb.PGetLineEdit(edit, 1, line), 11);
    CHECK_TEXT(line, "second line");
    std::memset(line, 0, sizeof line);
    *reinterpret_cast<WORD *>(line) = 3;
    CHECK_EQ(wb.PGetLineEdit(edit, 0, line), 3);
    CHECK_TEXT(line, "fir");

    // The font is "LinePiper" with the caller's attributes, whatever face the system substitutes.
    CHECK(wb.PSetTextFont(edit, 20, 8, 0, 0, FW_BOLD, TRUE, FALSE, TRUE));
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0));
    LOGFONTA attributes{};
    CHECK(font && GetObjectA(font, sizeof attributes, &attributes) == sizeof attributes);
    CHECK_TEXT(attributes.lfFaceName, "LinePiper");
    CHECK_EQ(attributes.lfHeight, 20l);
    CHECK_EQ(attributes.lfWidth, 8l);
    CHECK_EQ(attributes.lfWeight, static_cast<long>(FW_BOLD));
    CHECK_EQ(attributes.lfItalic, 1);
    CHECK_EQ(attributes.lfUnderline, 0);
    CHECK_EQ(attributes.lfStrikeOut, 1);
    CHECK_EQ(attributes.lfCharSet, ANSI_CHARSET);
    CHECK_EQ(attributes.lfQuality, DEFAULT_QUALITY);
    CHECK_EQ(attributes.lfPitchAndFamily, FF_MODERN | DEFAULT_PITCH);
    CHECK_EQ(wb.PSetTextFont(main, 12, 0, 0, 0, FW_NORMAL, 0, 0, 0), FALSE);

    DestroyWindow(main);
}

void lists()
{
    Winbridge wb;
    if (!wb.loaded())
        return;
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
    CHECK_TEXT(buffer, "alpha");
    CHECK_EQ(wb.PComboBoxDeleteString(5, 0), 1);
    CHECK_EQ(wb.PComboBoxDeleteString(5, 4), CB_ERR);

    // The list box sorts.
    CHECK_EQ(wb.PListBoxAddString(-3, "pear"), 0);
    CHECK_EQ(wb.PListBoxAddString(-3, "apple"), 0);
    CHECK_EQ(wb.PListBoxAddString(-3, "zebra"), 2);
    CHECK_EQ(wb.PListBoxGetString(-3, 1, buffer), 4);
    CHECK_TEXT(buffer, "pear");
    CHECK_EQ(wb.PListBoxGetString(-3, 9, buffer), LB_ERR);
    CHECK_EQ(wb.PListBoxDeleteString(-3, 0), 2);
    CHECK_EQ(wb.PListBoxDeleteString(-3, 5), LB_ERR);

    // A number never stored has no control: every call fails with the error code, not with a 0
    // that would read as "added at position 0" or "no items left". The number is then known
    // with handle 0.
    std::strcpy(buffer, "stale");
    CHECK_EQ(wb.PComboBoxAddString(77, "x"), CB_ERR);
    CHECK_EQ(wb.PComboBoxGetString(77, buffer), 0);
    CHECK_TEXT(buffer, "");
    CHECK_EQ(wb.PComboBoxDeleteString(77, 0), CB_ERR);
    std::strcpy(buffer, "stale");
    CHECK_EQ(wb.PListBoxAddString(78, "x"), LB_ERR);
    CHECK_EQ(wb.PListBoxGetString(78, 0, buffer), LB_ERR);
    CHECK_TEXT(buffer, "stale");
    CHECK_EQ(wb.PListBoxDeleteString(78, 0), LB_ERR);
    CHECK_EQ(wb.PFindIndexOfHandle(nullptr), 77);

    // The same for a number whose control is gone.
    DestroyWindow(list);
    CHECK_EQ(wb.PListBoxAddString(-3, "x"), LB_ERR);
    CHECK_EQ(wb.PFindIndexOfHandle(list), -3);

    DestroyWindow(main);
}

void events()
{
    Winbridge wb;
    if (!wb.loaded())
        return;
    CHECK_EQ(wb.PGetStateWindow(nullptr), static_cast<HWND>(nullptr));
    CHECK_TEXT(wb.PGetMenuState(WINBRIDGE_QUERY), "");

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
    wb.PStoreHandles(label, 2);
    wb.PStoreHandles(list, 3);
    wb.PStoreHandles(combo, 4);
    for (const char *item : {"one", "two", "three"}) {
        wb.PListBoxAddString(3, item);
        wb.PComboBoxAddString(4, item);
    }
    wintest::pump();

    // Clicks on a button and a static text make them the state window.
    wintest::click(button);
    wintest::pump();
    CHECK_EQ(wb.PGetStateWindow(nullptr), button);
    CHECK_EQ(wb.PFindIndexOfHandle(wb.PGetStateWindow(nullptr)), 1);
    HWND marker = fake_handle(1);
    CHECK_EQ(wb.PGetStateWindow(marker), marker);
    wintest::click(label);
    wintest::pump();
    CHECK_EQ(wb.PGetStateWindow(nullptr), label);

    // Selection changes in the list and combo boxes and typing in an edit are not recorded.
    wb.PGetStateWindow(marker);
    wintest::click(list, 10, 5);
    wintest::pump();
    CHECK(SendMessageA(list, LB_GETCURSEL, 0, 0) != LB_ERR);
    SetFocus(combo);
    PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    wintest::pump();
    CHECK_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0l);
    SetFocus(edit);
    PostMessageA(edit, WM_CHAR, 'x', 0);
    wintest::pump();
    CHECK_EQ(wintest::text_of(edit), std::string("x"));
    CHECK_EQ(wb.PGetStateWindow(nullptr), marker);

    // Enter while the top-level window has the focus makes it the state window.
    SetFocus(main);
    PostMessageA(main, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    wintest::pump();
    CHECK_EQ(wb.PGetStateWindow(nullptr), main);

    // A chosen menu item's text becomes the menu state; "New" and "Copy" share identifier 0 and
    // the first one in the menu is found.
    PostMessageA(main, WM_COMMAND, 0, 0);
    wintest::pump();
    CHECK_TEXT(wb.PGetMenuState(WINBRIDGE_QUERY), "New");
    PostMessageA(main, WM_COMMAND, 2, 0);
    wintest::pump();
    CHECK_TEXT(wb.PGetMenuState(WINBRIDGE_QUERY), "Help");
    // The item named like the query is not recorded; the last choice keeps its text.
    PostMessageA(main, WM_COMMAND, 1, 0);
    wintest::pump();
    CHECK_TEXT(wb.PGetMenuState(WINBRIDGE_QUERY), "Help");
    // An accelerator (code 1, lParam 0) counts as a menu choice.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, 1), 0);
    wintest::pump();
    CHECK_TEXT(wb.PGetMenuState(WINBRIDGE_QUERY), "New");

    // The caller's own text is kept by pointer until the next choice.
    static const char consumed[] = "consumed";
    CHECK_EQ(wb.PGetMenuState(consumed), consumed);
    CHECK_EQ(wb.PGetMenuState(WINBRIDGE_QUERY), consumed);
    PostMessageA(main, WM_COMMAND, 1, 0);
    wintest::pump();
    CHECK_EQ(wb.PGetMenuState(WINBRIDGE_QUERY), consumed);

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
    if (!wb.loaded())
        return 5;
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
    if (mode == "close-last") {
        wb.PDestroyWindow(window);
        return 8;
    }
    if (mode == "close-box") {
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        wintest::pump(5000);
        return 8;
    }
    if (mode == "holder") {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        return 8;
    }
    return 4;
}

HWND window_of_process(DWORD process_id)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, WINBRIDGE_CLASS_NAME, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process_id)
            return window;
    }
    return nullptr;
}

void lifecycle()
{
    HINSTANCE program = GetModuleHandleA(nullptr);
    WNDCLASSA info;
    {
        Winbridge wb;
        if (!wb.loaded())
            return;
        // The class belongs to the program's instance, not to the library's.
        CHECK(GetClassInfoA(program, WINBRIDGE_CLASS_NAME, &info));
        CHECK_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
        CHECK_EQ(info.cbClsExtra, 0);
        CHECK_EQ(info.cbWndExtra, 0);
        CHECK_EQ(info.hIcon, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
        CHECK_EQ(info.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        CHECK_EQ(info.hbrBackground, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        CHECK_EQ(info.lpszMenuName, static_cast<LPCSTR>(nullptr));
        CHECK(!GetClassInfoA(wb.module, WINBRIDGE_CLASS_NAME, &info));
        wb.PStoreHandles(fake_handle(0x99), 3);
        wb.PGetStateWindow(fake_handle(0x98));
    }
    // Unloaded, the class is gone; loaded again, everything starts afresh and works.
    CHECK(!GetClassInfoA(program, WINBRIDGE_CLASS_NAME, &info));
    {
        Winbridge wb;
        if (!wb.loaded())
            return;
        CHECK_EQ(wb.PFindIndexOfHandle(fake_handle(0x99)), 0);
        CHECK_EQ(wb.PGetStateWindow(nullptr), static_cast<HWND>(nullptr));
        HWND main = wb.PCreateWindow("again", 0, 0, 200, 100, nullptr, nullptr, SW_SHOW);
        HWND button = wb.PAddButton("b", 0, 0, 50, 20, main, BS_PUSHBUTTON, SW_SHOW);
        wintest::click(button);
        wintest::pump();
        CHECK_EQ(wb.PGetStateWindow(nullptr), button);
        DestroyWindow(main);
    }

    // The load fails when the class cannot be registered.
    WNDCLASSA taken{};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = program;
    taken.lpszClassName = WINBRIDGE_CLASS_NAME;
    CHECK(RegisterClassA(&taken));
    HMODULE refused = LoadLibraryA("winbridge.dll");
    CHECK_EQ(refused, static_cast<HMODULE>(nullptr));
    if (refused)
        FreeLibrary(refused);
    UnregisterClassA(WINBRIDGE_CLASS_NAME, program);

    // Closing: a control or one of two windows leaves the process running; the last window, by
    // PDestroyWindow or by its close box, ends it with exit code 0.
    std::string self = wintest::beside_program("winbridge_tests.exe");
    CHECK_EQ(wintest::run_program(self, "child close-control"), 7l);
    CHECK_EQ(wintest::run_program(self, "child close-one-of-two"), 9l);
    CHECK_EQ(wintest::run_program(self, "child close-last"), 0l);
    CHECK_EQ(wintest::run_program(self, "child close-box"), 0l);

    // A window of the class in another process does not keep this one alive.
    std::string command = '"' + self + "\" child holder";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION holder{};
    if (!CHECK(CreateProcessA(self.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &holder)))
        return;
    HWND held = nullptr;
    for (int i = 0; i < 500 && !held; i++, Sleep(20))
        held = window_of_process(holder.dwProcessId);
    CHECK(held != nullptr);
    CHECK_EQ(wintest::run_program(self, "child close-last", 10000), 0l);
    PostMessageA(held, WM_CLOSE, 0, 0);
    DWORD code = 1;
    if (WaitForSingleObject(holder.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(holder.hProcess, 3);
    GetExitCodeProcess(holder.hProcess, &code);
    CHECK_EQ(code, 0ul);
    CloseHandle(holder.hProcess);
    CloseHandle(holder.hThread);
}

// A C and a C++ caller linked with the import library find the same functions.
void link()
{
    CHECK_EQ(wintest::run_program(wintest::beside_program("winbridge_link.exe"), ""), 0l);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "child")
        return child(argv[2]);
    std::vector<char *> groups;
    for (int i = 0; i < argc; i++) {
        std::string argument = argv[i];
        if (argument.rfind("--dll-file=", 0) == 0)
            dll_file = wintest::windows_path(argument.substr(11));
        else
            groups.push_back(argv[i]);
    }
    return wintest::run_groups(static_cast<int>(groups.size()), groups.data(),
                               {{"files", files},
                                {"registry", registry},
                                {"windows", windows},
                                {"text", text},
                                {"lists", lists},
                                {"events", events},
                                {"lifecycle", lifecycle},
                                {"link", link}});
}
