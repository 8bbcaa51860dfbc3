#include "context.h"

namespace tarnix {

Context context;

void PushNumber(std::int32_t n)
{
    context.ObjectNumbers[static_cast<std::int64_t>(context.ObjectCursor) + 1] = n;
    context.ObjectCursor = context.ObjectCursor + 1;
}

}  // namespace tarnix
