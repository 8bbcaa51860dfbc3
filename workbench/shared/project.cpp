#include "project.h"

#include <algorithm>

#include "context.h"
#include "platform/platform.h"
#include "text_file.h"

namespace tarnix {

std::string ProjectRecord(const std::string& name)
{
    std::string record(ProjectRecordSize, '\0');
    const std::size_t n = std::min(name.size(), ProjectNameLimit);
    record[0] = static_cast<char>(n);
    std::copy_n(name.begin(), n, record.begin() + 1);
    return record;
}

void WriteProjectFile(const std::string& name) { writeBytes(name + ".tnx", ProjectRecord(name)); }

void DeleteTempFiles()
{
    for (const std::string& name : platform::findFiles(context.WorkDir, "*.tmp"))
        platform::deleteFile(context.WorkDir + name);
}

}  // namespace tarnix
