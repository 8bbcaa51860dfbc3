#include "tool_windows.h"

namespace tarnix {

void CreateToolWindows()
{
}

void DestroyToolWindows()
{
}

}  // namespace tarnix
