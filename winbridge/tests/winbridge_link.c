/* A C caller linked with the import library through winbridge.h. The loader binds every function
   by its undecorated name when the program starts, so starting at all shows that the import
   library maps each stdcall symbol to the right export; the calls show that they arrive. */
#include <stdio.h>
#include <string.h>

#include "winbridge.h"

int cpp_caller_works(void);

typedef void (*function)(void);

int main(void)
{
    /* Every export is referred to, so every one must be bound. */
    const function all[] = {
        (function)PCreateWindow,      (function)PCreateScrollEdit,  (function)PDestroyWindow,
        (function)PAddButton,         (function)PAddMenu,           (function)PMessageBox,
        (function)PCreateStaticText,  (function)PCreateEdit,        (function)PCreateScrollBar,
        (function)PCreateComboBox,    (function)PCreateListBox,     (function)PGetTextElement,
        (function)PSetTextElement,    (function)PAddItemToMenu,     (function)PComboBoxAddString,
        (function)PComboBoxGetString, (function)PComboBoxDeleteString, (function)PListBoxAddString,
        (function)PListBoxGetString,  (function)PListBoxDeleteString, (function)PGetStateWindow,
        (function)PGetMenuState,      (function)PStoreHandles,      (function)PLoadHandles,
        (function)PFindIndexOfHandle, (function)PSetTextFont,       (function)PGetLineEdit,
    };
    int failures = 0;
    size_t i;

    for (i = 0; i < sizeof all / sizeof all[0]; i++)
        failures += all[i] == NULL;
    PStoreHandles((HWND)0x50, -2);
    if (PFindIndexOfHandle((HWND)0x50) != -2 || strcmp(PGetMenuState(WINBRIDGE_QUERY), "") != 0) {
        printf("calls from C do not reach the library\n");
        failures++;
    }
    if (!cpp_caller_works()) {
        printf("calls from C++ do not reach the library\n");
        failures++;
    }
    return failures != 0;
}
