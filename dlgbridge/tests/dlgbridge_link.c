/* A C caller linked with the import library through dlgbridge.h. The loader binds both functions
   by their undecorated names when the program starts; the calls show that they arrive. */
#include <stdio.h>

#include "dlgbridge.h"

int cpp_caller_works(void);

typedef void (*function)(void);

int main(void)
{
    const function all[] = {(function)OdCreateDialog, (function)OdCreateFileDlg};
    int failures = (all[0] == NULL) + (all[1] == NULL);

    /* An owner that is no window: -1, and nothing is shown. */
    if (OdCreateDialog((HWND)0x7654, "x", 0, 0, 10, 10) != -1) {
        printf("calls from C do not reach the library\n");
        failures++;
    }
    if (!cpp_caller_works()) {
        printf("calls from C++ do not reach the library\n");
        failures++;
    }
    return failures != 0;
}
