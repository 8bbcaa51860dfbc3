#include "documents.h"

#include <algorithm>

#include "errors.h"
#include "platform/platform.h"
#include "text_file.h"

namespace tarnix {

std::string ChangeFileExt(const std::string& path, const std::string& extension)
{
    const std::string name = fileNamePart(path);
    const std::size_t dot = name.rfind('.');
    const std::size_t keep = path.size() - name.size() + (dot == std::string::npos ? name.size() : dot);
    return path.substr(0, keep) + extension;
}

std::string WithExtension(const std::string& name, const std::string& extension)
{
    const bool hasIt = name.size() >= extension.size() &&
                       std::equal(extension.begin(), extension.end(), name.end() - static_cast<std::ptrdiff_t>(extension.size()),
                                  [](char e, char c) { return platform::upperCp1251(e) == platform::upperCp1251(c); });
    return hasIt ? name : name + extension;
}

void MakeBackup(const std::string& chosen)
{
    if (!platform::fileExists(chosen))
        return;
    if (!platform::renameFile(chosen, ChangeFileExt(chosen, ".BAK")))
        throw Failure("Unable to create backup file.");
}

}  // namespace tarnix
