/*
 * winbridge: simple windows and controls for programs without GUI code of their own.
 *
 * Every function uses the stdcall convention and an undecorated name; texts are zero-terminated
 * ANSI strings. The caller creates windows on its own thread, pumps that thread's messages and,
 * between messages, polls what the user did:
 *
 *     HWND control = PGetStateWindow(NULL);          last button or static text clicked
 *     int number = PFindIndexOfHandle(control);      the caller's number for it
 *     LPCSTR item = PGetMenuState(WINBRIDGE_QUERY);  text of the last menu item chosen
 *
 * and marks an event as consumed by storing a value of its own with PGetStateWindow or
 * PGetMenuState. Closing the last top-level window of the library's class ends the process.
 */
#ifndef WINBRIDGE_H
#define WINBRIDGE_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Callers import the functions; the library's own build defines WINBRIDGE_API empty. */
#ifndef WINBRIDGE_API
#define WINBRIDGE_API __declspec(dllimport)
#endif

/* The window class of every top-level window that PCreateWindow makes. */
#define WINBRIDGE_CLASS_NAME "ODSTANDARD_WINDOW_CLASS_NAME"
/* Passed to PGetMenuState, reads the menu state instead of replacing it. */
#define WINBRIDGE_QUERY "reserved for zorq"
/* Size of the buffer that PComboBoxGetString fills. */
#define WINBRIDGE_COMBO_TEXT_SIZE 256

/* Windows and controls. Each returns the new handle, or NULL when it cannot be created. */
WINBRIDGE_API HWND WINAPI PCreateWindow(LPCSTR title, int x, int y, int width, int height, HWND parent, HMENU menu,
                          int show);
WINBRIDGE_API HWND WINAPI PCreateScrollEdit(LPCSTR text, int x, int y, int width, int height, BOOL horizontal,
                              BOOL vertical, HWND parent);
WINBRIDGE_API HWND WINAPI PAddButton(LPCSTR text, int x, int y, int width, int height, HWND parent, DWORD style,
                       int show);
WINBRIDGE_API HWND WINAPI PCreateStaticText(LPCSTR text, int x, int y, int width, int height, HWND parent, int show);
WINBRIDGE_API HWND WINAPI PCreateEdit(LPCSTR text, int x, int y, int width, int height, HWND parent, int show);
WINBRIDGE_API HWND WINAPI PCreateScrollBar(LPCSTR text, int x, int y, int width, int height, HWND parent,
                             BOOL vertical, int show);
WINBRIDGE_API HWND WINAPI PCreateComboBox(LPCSTR text, int x, int y, int width, int height, HWND parent, int show);
WINBRIDGE_API HWND WINAPI PCreateListBox(LPCSTR text, int x, int y, int width, int height, HWND parent, int show);
/* Closes a window or control as the close box would. */
WINBRIDGE_API LRESULT WINAPI PDestroyWindow(HWND window);

/* Menus: a plain item's command identifier is the position it was inserted at. */
WINBRIDGE_API HMENU WINAPI PAddMenu(int unused);
WINBRIDGE_API BOOL WINAPI PAddItemToMenu(HMENU menu, LPCSTR text, HMENU submenu, UINT position);

WINBRIDGE_API int WINAPI PMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

/* Text of windows and controls. */
WINBRIDGE_API int WINAPI PGetTextElement(HWND window, LPSTR buffer, int size);
WINBRIDGE_API BOOL WINAPI PSetTextElement(HWND window, LPCSTR text, BOOL append);
/* The caller stores the buffer's size in characters in its first 16-bit word. */
WINBRIDGE_API int WINAPI PGetLineEdit(HWND edit, int line, LPSTR buffer);
WINBRIDGE_API BOOL WINAPI PSetTextFont(HWND window, int height, int width, int escapement, int orientation,
                         int weight, DWORD italic, DWORD underline, DWORD strikeOut);

/* Combo and list boxes, addressed by the caller's control number. */
WINBRIDGE_API int WINAPI PComboBoxAddString(int number, LPCSTR text);
WINBRIDGE_API int WINAPI PComboBoxGetString(int number, LPSTR buffer);
WINBRIDGE_API int WINAPI PComboBoxDeleteString(int number, int position);
WINBRIDGE_API int WINAPI PListBoxAddString(int number, LPCSTR text);
WINBRIDGE_API int WINAPI PListBoxGetString(int number, int position, LPSTR buffer);
WINBRIDGE_API int WINAPI PListBoxDeleteString(int number, int position);

/* Event polling. */
WINBRIDGE_API HWND WINAPI PGetStateWindow(HWND value);
WINBRIDGE_API LPCSTR WINAPI PGetMenuState(LPCSTR text);

/* Control numbers: the caller's integers mapped to window handles. */
WINBRIDGE_API void WINAPI PStoreHandles(HWND window, int number);
WINBRIDGE_API HWND WINAPI PLoadHandles(int number);
WINBRIDGE_API int WINAPI PFindIndexOfHandle(HWND window);

#ifdef __cplusplus
}
#endif

#endif
