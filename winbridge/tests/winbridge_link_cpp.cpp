// The header used from C++: the same functions, with C linkage.
#include "winbridge.h"

extern "C" int cpp_caller_works(void)
{
    HWND marker = reinterpret_cast<HWND>(0x60);
    return PGetStateWindow(marker) == marker && PLoadHandles(-2) == reinterpret_cast<HWND>(0x50);
}
