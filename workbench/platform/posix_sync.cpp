// Writability test and flushing to disk, POSIX half.
#include <unistd.h>

#include "platform.h"

namespace tarnix::platform {

bool fileWritable(const std::string& path)
{
    return ::access(cp1251ToUtf8(resolvePath(path)).c_str(), W_OK) == 0;
}

bool flushToDisk(std::FILE* file) { return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0; }

}  // namespace tarnix::platform
