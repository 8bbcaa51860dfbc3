/* Shows the dialog of dlgbridge and then, when it was confirmed, the open-file dialog; the answers
   go to a message box. */
#include <stdio.h>

#include "dlgbridge.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show)
{
    char path[DLGBRIDGE_PATH_SIZE];
    char message[DLGBRIDGE_PATH_SIZE + 64];

    (void)instance;
    (void)previous;
    (void)command_line;
    (void)show;
    if (OdCreateDialog(NULL, "Choose a knowledge base?", 120, 90, 520, 330) != IDOK)
        return 1;
    OdCreateFileDlg(path, TRUE);
    snprintf(message, sizeof message, "Chosen: \"%s\"", path);
    MessageBoxA(NULL, message, "dlgbridge demo", MB_OK);
    return 0;
}
