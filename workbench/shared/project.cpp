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

std::vector<std::string> WithRecentFirst(const std::vector<std::string>& recent, const std::string& path)
{
    std::vector<std::string> list{path};
    for (const std::string& earlier : recent) {
#ifdef _WIN32
        const bool same = platform::equalsNoCase(earlier, path);
#else
        const bool same = earlier == path;
#endif
        if (!same && list.size() < RecentProjectLimit)
            list.push_back(earlier);
    }
    return list;
}

void DeleteTempFiles()
{
    for (const std::string& name : platform::findFiles(context.WorkDir, "*.tmp"))
        platform::deleteFile(context.WorkDir + name);
}

}  // namespace tarnix
