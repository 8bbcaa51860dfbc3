/* A program built only from winbridge calls: a window with a menu, an edit, a button and a list
   box. "Add" copies the edit's text into the list, menu choices are listed too, and File > Exit
   closes the window, which ends the program. It runs the polling loop every caller runs. */
#include <string.h>

#include "winbridge.h"

enum { EDIT = 1, ADD = 2, LIST = 3 };

/* Stored back after an event has been handled, so that it is seen once. */
#define NO_CONTROL ((HWND)-1)
static const char no_choice[] = "";

static HMENU build_menu(void)
{
    HMENU bar = PAddMenu(0), file = PAddMenu(0);

    PAddItemToMenu(file, "Open", NULL, 0);
    PAddItemToMenu(file, "Save", NULL, 1);
    PAddItemToMenu(file, "Exit", NULL, 2);
    PAddItemToMenu(bar, "File", file, 0);
    return bar;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show)
{
    HWND window, edit;
    MSG message;
    const char *choice;
    char text[256];

    (void)instance;
    (void)previous;
    (void)command_line;
    window = PCreateWindow("winbridge demo", 40, 40, 420, 320, NULL, build_menu(), show);
    edit = PCreateEdit("Type here", 10, 10, 260, 24, window, SW_SHOW);
    PStoreHandles(edit, EDIT);
    PStoreHandles(PAddButton("Add", 280, 10, 110, 24, window, BS_PUSHBUTTON, SW_SHOW), ADD);
    PStoreHandles(PCreateListBox("", 10, 44, 380, 200, window, SW_SHOW), LIST);
    PListBoxAddString(LIST, "apple");
    PListBoxAddString(LIST, "cherry");
    PListBoxAddString(LIST, "banana");

    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);

        if (PFindIndexOfHandle(PGetStateWindow(NULL)) == ADD) {
            PGetTextElement(edit, text, sizeof text);
            PListBoxAddString(LIST, text);
            PGetStateWindow(NO_CONTROL);
        }
        choice = PGetMenuState(WINBRIDGE_QUERY);
        if (choice[0] != '\0') {
            if (strcmp(choice, "Exit") == 0)
                PDestroyWindow(window);
            strcpy(text, "Menu: ");
            strncat(text, choice, sizeof text - 7);
            PListBoxAddString(LIST, text);
            PGetMenuState(no_choice);
        }
    }
    return 0;
}
