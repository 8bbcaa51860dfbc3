/*
 * dlgbridge: a modal OK/Cancel dialog from the library's own template, and the system's
 * file-selection dialog. Each call creates its dialog, runs it to the end on the caller's thread
 * and destroys it before returning; the library keeps no state.
 */
#include "dlgbridge.h"

#include <commdlg.h>
#include <string.h>

#define DIALOG_TEMPLATE 1
#define FILE_TITLE_SIZE 64

/* The library's own module: its resources hold the dialog template. */
extern IMAGE_DOS_HEADER __ImageBase;

struct placement {
    LPCSTR caption;
    int x, y, width, height;
};

/* Signed 32-bit differences wrap as they would in the caller's arithmetic, without overflow. */
static int difference(int to, int from)
{
    return (int)((unsigned)to - (unsigned)from);
}

static INT_PTR CALLBACK dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    const struct placement *place;

    switch (message) {
    case WM_INITDIALOG:
        place = (const struct placement *)lparam;
        SetWindowTextA(dialog, place->caption);
        MoveWindow(dialog, place->x, place->y, place->width, place->height, TRUE);
        return TRUE;
    case WM_COMMAND:
        /* Escape and the close box arrive as IDCANCEL, Enter as IDOK (the default button). */
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wparam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int WINAPI OdCreateDialog(HWND owner, LPCSTR caption, int left, int top, int right, int bottom)
{
    HINSTANCE self = (HINSTANCE)&__ImageBase;
    HRSRC found = FindResourceExA(self, (LPCSTR)RT_DIALOG, MAKEINTRESOURCEA(DIALOG_TEMPLATE),
                                  MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT));
    HGLOBAL loaded = found ? LoadResource(self, found) : NULL;
    const DLGTEMPLATE *dialog = loaded ? (const DLGTEMPLATE *)LockResource(loaded) : NULL;
    struct placement place;

    /* An owner that is not a window: the dialog cannot be created, -1. The owner is checked
       here so that every system gives the same answer (Windows itself says 0). */
    if (owner && !IsWindow(owner))
        return -1;
    if (!dialog)
        return -1;
    place.caption = caption;
    place.x = left;
    place.y = top;
    place.width = difference(right, left);
    place.height = difference(bottom, top);
    /* The system makes the owner's top-level window the dialog's owner and disables it meanwhile. */
    return (int)DialogBoxIndirectParamA(self, dialog, owner, dialog_procedure, (LPARAM)&place);
}

void WINAPI OdCreateFileDlg(LPSTR destination, BOOL open)
{
    char path[MAX_PATH] = "";
    char title[FILE_TITLE_SIZE] = "";
    OPENFILENAMEA request;
    BOOL chosen;

    memset(&request, 0, sizeof request);
    request.lStructSize = sizeof request;
    request.lpstrFile = path;
    request.nMaxFile = sizeof path;
    request.lpstrFileTitle = title;
    request.nMaxFileTitle = sizeof title;
    request.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    chosen = open ? GetOpenFileNameA(&request) : GetSaveFileNameA(&request);

    path[MAX_PATH - 1] = '\0';
    if (chosen)
        memcpy(destination, path, strlen(path) + 1);
    else
        destination[0] = '\0';
}
