/*
 * winbridge: top-level windows of one class of its own, child controls of the system classes,
 * menus, fonts, a registry of the caller's control numbers, and the two values the caller polls:
 * the state window (the control last activated) and the menu state (the menu item last chosen).
 *
 * The library has no message loop and no threads: everything runs on the caller's GUI thread.
 */
#include "winbridge.h"

#include <limits.h>
#include <string.h>

#include "registry.h"

#define MENU_TEXT_SIZE 49

static HWND state_window;
static char menu_text[MENU_TEXT_SIZE];
static LPCSTR menu_state = "";
static struct registry handles;
/* Whether this load registered the window class: a class that was there before belongs to the
   program or to another copy of the library, and stays when this one is unloaded. */
static BOOL class_registered;

/* Windows and controls belong to the program's main module, not to this library. */
static HINSTANCE program_instance(void)
{
    return GetModuleHandleA(NULL);
}

/* True while this process still has a top-level window of the class. Windows of other programs
   that use the library carry the same class name and must not keep this process alive. */
static BOOL own_window_left(void)
{
    DWORD self = GetCurrentProcessId(), owner;
    HWND window = NULL;

    while ((window = FindWindowExA(NULL, window, WINBRIDGE_CLASS_NAME, NULL)) != NULL) {
        GetWindowThreadProcessId(window, &owner);
        if (owner == self)
            return TRUE;
    }
    return FALSE;
}

/* A menu item chosen: its text becomes the menu state. An item named like the query text is not
   recorded, and the previous choice keeps its text. */
static void record_menu_choice(HWND window, UINT identifier)
{
    char text[MENU_TEXT_SIZE] = "";

    GetMenuStringA(GetMenu(window), identifier, text, MENU_TEXT_SIZE - 1, MF_BYCOMMAND);
    if (strcmp(text, WINBRIDGE_QUERY) == 0)
        return;
    memcpy(menu_text, text, sizeof menu_text);
    PGetMenuState(menu_text);
}

static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        if (!own_window_left())
            ExitProcess(0);
        break;
    case WM_QUIT:
        PostQuitMessage(0);
        break;
    case WM_KEYDOWN:
        /* Enter activates the focused window as a click would. */
        if (wparam == VK_RETURN) {
            SendMessageA(window, WM_COMMAND, 0, (LPARAM)GetFocus());
            wparam = 0;
        }
        break;
    case WM_COMMAND:
        /* lParam 0: a menu item. Otherwise a control; notification code 0 is a click
           (BN_CLICKED, STN_CLICKED), other codes such as selection changes are not recorded. */
        if (lparam == 0)
            record_menu_choice(window, LOWORD(wparam));
        else if (HIWORD(wparam) == 0)
            PGetStateWindow((HWND)lparam);
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

static BOOL register_window_class(void)
{
    WNDCLASSA window_class;

    memset(&window_class, 0, sizeof window_class);
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = program_instance();
    window_class.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    window_class.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    window_class.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    window_class.lpszClassName = WINBRIDGE_CLASS_NAME;
    return RegisterClassA(&window_class) != 0;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID process_ending)
{
    (void)self;
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        class_registered = register_window_class();
        return class_registered;
    case DLL_PROCESS_DETACH:
        registry_free(&handles);
        /* Unloaded while the program goes on: the class must not outlive its window procedure,
           and a later load registers it again. A failed load comes here too; it leaves alone
           the class it could not register. */
        if (class_registered && !process_ending)
            UnregisterClassA(WINBRIDGE_CLASS_NAME, program_instance());
        class_registered = FALSE;
        break;
    }
    return TRUE;
}

static HWND create_and_show(LPCSTR class_name, LPCSTR text, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, int show)
{
    HWND window = CreateWindowExA(0, class_name, text, style, x, y, width, height, parent, menu,
                                  program_instance(), NULL);
    if (window) {
        ShowWindow(window, show);
        UpdateWindow(window);
    }
    return window;
}

#define CHILD_STYLE (WS_CHILD | WS_VISIBLE)

HWND WINAPI PCreateWindow(LPCSTR title, int x, int y, int width, int height, HWND parent, HMENU menu,
                          int show)
{
    return create_and_show(WINBRIDGE_CLASS_NAME, title, WS_OVERLAPPEDWINDOW, x, y, width, height,
                           parent, menu, show);
}

HWND WINAPI PCreateScrollEdit(LPCSTR text, int x, int y, int width, int height, BOOL horizontal,
                              BOOL vertical, HWND parent)
{
    DWORD style = CHILD_STYLE | WS_BORDER | ES_MULTILINE;

    if (horizontal)
        style |= WS_HSCROLL;
    if (vertical)
        style |= WS_VSCROLL;
    return create_and_show("EDIT", text, style, x, y, width, height, parent, NULL, SW_SHOW);
}

HWND WINAPI PAddButton(LPCSTR text, int x, int y, int width, int height, HWND parent, DWORD style,
                       int show)
{
    return create_and_show("BUTTON", text, style | CHILD_STYLE, x, y, width, height, parent, NULL,
                           show);
}

HWND WINAPI PCreateStaticText(LPCSTR text, int x, int y, int width, int height, HWND parent, int show)
{
    return create_and_show("STATIC", text, CHILD_STYLE | WS_BORDER | SS_NOTIFY, x, y, width, height,
                           parent, NULL, show);
}

HWND WINAPI PCreateEdit(LPCSTR text, int x, int y, int width, int height, HWND parent, int show)
{
    return create_and_show("EDIT", text, CHILD_STYLE | WS_BORDER | ES_MULTILINE, x, y, width, height,
                           parent, NULL, show);
}

HWND WINAPI PCreateScrollBar(LPCSTR text, int x, int y, int width, int height, HWND parent,
                             BOOL vertical, int show)
{
    DWORD style = CHILD_STYLE | (vertical ? SBS_VERT | SBS_RIGHTALIGN : SBS_HORZ | SBS_BOTTOMALIGN);

    return create_and_show("SCROLLBAR", text, style, x, y, width, height, parent, NULL, show);
}

HWND WINAPI PCreateComboBox(LPCSTR text, int x, int y, int width, int height, HWND parent, int show)
{
    return create_and_show("COMBOBOX", text, CHILD_STYLE | CBS_DROPDOWNLIST, x, y, width, height,
                           parent, NULL, show);
}

HWND WINAPI PCreateListBox(LPCSTR text, int x, int y, int width, int height, HWND parent, int show)
{
    DWORD style = CHILD_STYLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT;

    return create_and_show("LISTBOX", text, style, x, y, width, height, parent, NULL, show);
}

/* Any window, control or not, is closed through the class's own close rule. */
LRESULT WINAPI PDestroyWindow(HWND window)
{
    return window_procedure(window, WM_CLOSE, 0, 0);
}

HMENU WINAPI PAddMenu(int unused)
{
    (void)unused;
    return CreateMenu();
}

BOOL WINAPI PAddItemToMenu(HMENU menu, LPCSTR text, HMENU submenu, UINT position)
{
    if (submenu)
        return InsertMenuA(menu, position, MF_BYPOSITION | MF_POPUP, (UINT_PTR)submenu, text);
    return InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING, position, text);
}

int WINAPI PMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    return MessageBoxA(owner, text, caption, type);
}

int WINAPI PGetTextElement(HWND window, LPSTR buffer, int size)
{
    return buffer ? GetWindowTextA(window, buffer, size) : 0;
}

/* Appends to the window text through a temporary buffer; when the buffer cannot be had the text
   stays as it is and the call fails. */
static BOOL append_window_text(HWND window, LPCSTR text)
{
    size_t current = (size_t)GetWindowTextLengthA(window);
    size_t added = text ? strlen(text) : 0;
    char *joined;
    int copied;
    BOOL done;

    if (added > (size_t)INT_MAX - 1 - current)
        return FALSE;
    joined = HeapAlloc(GetProcessHeap(), 0, current + added + 1);
    if (!joined)
        return FALSE;
    /* The length can overestimate the text; the new text goes right after what was copied. */
    copied = GetWindowTextA(window, joined, (int)current + 1);
    memcpy(joined + copied, text ? text : "", added + 1);
    done = SetWindowTextA(window, joined);
    HeapFree(GetProcessHeap(), 0, joined);
    return done;
}

BOOL WINAPI PSetTextElement(HWND window, LPCSTR text, BOOL append)
{
    HWND parent = GetParent(window);
    BOOL done = append ? append_window_text(window, text) : SetWindowTextA(window, text);

    return done && UpdateWindow(parent);
}

/* The edit control reads the buffer's size from its first word: a NULL buffer is not sent. */
int WINAPI PGetLineEdit(HWND edit, int line, LPSTR buffer)
{
    return buffer ? (int)SendMessageA(edit, EM_GETLINE, (WPARAM)line, (LPARAM)buffer) : 0;
}

/* The font is never deleted: the window keeps using it. Where "LinePiper" is missing the system
   substitutes a face by the other attributes. */
BOOL WINAPI PSetTextFont(HWND window, int height, int width, int escapement, int orientation,
                         int weight, DWORD italic, DWORD underline, DWORD strikeOut)
{
    HWND parent = GetParent(window);
    HFONT font = CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                             strikeOut, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, FF_MODERN | DEFAULT_PITCH, "LinePiper");
    if (!font)
        return FALSE;
    SendMessageA(window, WM_SETFONT, (WPARAM)font, 0);
    /* A window without a parent reports 0; RedrawWindow(NULL) would repaint the whole desktop. */
    return parent && RedrawWindow(parent, NULL, NULL, RDW_INVALIDATE);
}

/* Sends a message to the control stored under a number. A number without a live control (never
   stored, or its control destroyed) fails with the control's error code instead of the 0 that
   the system returns for a missing window, which would read as success. */
static LRESULT send_to_number(int number, UINT message, WPARAM wparam, LPARAM lparam, LRESULT error)
{
    HWND control = PLoadHandles(number);

    return IsWindow(control) ? SendMessageA(control, message, wparam, lparam) : error;
}

int WINAPI PComboBoxAddString(int number, LPCSTR text)
{
    return (int)send_to_number(number, CB_ADDSTRING, 0, (LPARAM)text, CB_ERR);
}

/* Like every call that fills a caller's buffer, it copies nothing into a NULL buffer. */
int WINAPI PComboBoxGetString(int number, LPSTR buffer)
{
    HWND control;

    if (!buffer)
        return 0;
    control = PLoadHandles(number);
    if (IsWindow(control))
        return GetWindowTextA(control, buffer, WINBRIDGE_COMBO_TEXT_SIZE);
    buffer[0] = '\0';
    return 0;
}

int WINAPI PComboBoxDeleteString(int number, int position)
{
    return (int)send_to_number(number, CB_DELETESTRING, (WPARAM)position, 0, CB_ERR);
}

int WINAPI PListBoxAddString(int number, LPCSTR text)
{
    return (int)send_to_number(number, LB_ADDSTRING, 0, (LPARAM)text, LB_ERR);
}

int WINAPI PListBoxGetString(int number, int position, LPSTR buffer)
{
    if (!buffer)
        return LB_ERR;
    return (int)send_to_number(number, LB_GETTEXT, (WPARAM)position, (LPARAM)buffer, LB_ERR);
}

int WINAPI PListBoxDeleteString(int number, int position)
{
    return (int)send_to_number(number, LB_DELETESTRING, (WPARAM)position, 0, LB_ERR);
}

HWND WINAPI PGetStateWindow(HWND value)
{
    if (value)
        state_window = value;
    return state_window;
}

/* The pointer is stored, not the text: the caller's text must live as long as it is the state. */
LPCSTR WINAPI PGetMenuState(LPCSTR text)
{
    if (text && strcmp(text, WINBRIDGE_QUERY) == 0)
        return menu_state;
    menu_state = text;
    return menu_state;
}

void WINAPI PStoreHandles(HWND window, int number)
{
    registry_store(&handles, number, window);
}

HWND WINAPI PLoadHandles(int number)
{
    return registry_load(&handles, number);
}

int WINAPI PFindIndexOfHandle(HWND window)
{
    return registry_find(&handles, window);
}
