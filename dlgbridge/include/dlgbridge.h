/*
 * dlgbridge: two blocking dialogs for programs without GUI code of their own.
 *
 * Both functions use the stdcall convention and undecorated names, run a modal message loop on the
 * calling thread and return when the user has answered.
 */
#ifndef DLGBRIDGE_H
#define DLGBRIDGE_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Callers import the functions; the library's own build defines DLGBRIDGE_API empty. */
#ifndef DLGBRIDGE_API
#define DLGBRIDGE_API __declspec(dllimport)
#endif

/* Size of the destination buffer of OdCreateFileDlg. */
#define DLGBRIDGE_PATH_SIZE MAX_PATH

/* Shows the OK/Cancel dialog with the given caption at the given screen rectangle, owned by the
   given window (whose top-level window is disabled meanwhile). Returns IDOK (1) for OK or Enter,
   IDCANCEL (2) for Cancel, Escape or the close box, -1 when the dialog cannot be created (also
   when the owner is not a window). */
DLGBRIDGE_API int WINAPI OdCreateDialog(HWND owner, LPCSTR caption, int left, int top, int right,
                                        int bottom);

/* Shows the system's open-file (open non-zero) or save-file (open 0) dialog and writes the chosen
   path into destination, which holds DLGBRIDGE_PATH_SIZE bytes; an empty string when the user
   cancels or the dialog fails. Saving over an existing file asks first. */
DLGBRIDGE_API void WINAPI OdCreateFileDlg(LPSTR destination, BOOL open);

#ifdef __cplusplus
}
#endif

#endif
