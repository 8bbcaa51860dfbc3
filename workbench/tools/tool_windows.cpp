#include "tool_windows.h"

#include "Unit15.h"
#include "Unit18.h"

namespace tarnix {

void CreateToolWindows()
{
    Form15 = new TForm15;
    Form18 = new TForm18;
}

void DestroyToolWindows()
{
    delete Form15;
    Form15 = nullptr;
    delete Form18;
    Form18 = nullptr;
}

}  // namespace tarnix
