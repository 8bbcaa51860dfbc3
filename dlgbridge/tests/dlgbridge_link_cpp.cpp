// The header used from C++: the same functions, with C linkage.
#include "dlgbridge.h"

extern "C" int cpp_caller_works(void)
{
    return OdCreateDialog(reinterpret_cast<HWND>(0x7654), "x", 0, 0, 10, 10) == -1;
}
