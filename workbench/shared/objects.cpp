#include "objects.h"

#include "compilation.h"
#include "context.h"
#include "numbers.h"

namespace tarnix {

std::vector<ObjectListGroup> ReadObjectList()
{
    const Lines lines = readLines(context.WorkDir + context.ObjectListFile);
    std::vector<ObjectListGroup> groups;
    groups.reserve(lines.size() / 3 + 1);
    const auto lineAt = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    for (std::size_t i = 0; i < lines.size(); i += 3)
        groups.push_back({lines[i], lineAt(i + 1), lineAt(i + 2)});
    return groups;
}

void PushObjectNumber(const ObjectListGroup& group) { PushNumber(StrToInt(group.number)); }

std::string DescriptionText(const Lines& lines)
{
    std::string text;
    for (const auto& line : lines) {
        if (line.empty())
            break;
        text += "[" + line + "]";
    }
    return text;
}

std::string DescriptionTerm(const std::string& number, const std::string& description)
{
    return "[comm,for,object(" + number + "),val," + QuotedTermItem(description) + "].";
}

}  // namespace tarnix
