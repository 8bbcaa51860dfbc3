#include "records.h"

#include <algorithm>

#include "errors.h"
#include "text_file.h"

namespace tarnix {
namespace {

void checkBlockCount(int n)
{
    if (n < 0 || n > static_cast<int>(TextBlock().size()))
        throw RangeError();
}

}  // namespace

void WriteLines(const std::string& path, const TextBlock& block, int n)
{
    checkBlockCount(n);
    saveFileAtomically(path, joinLines(Lines(block.begin(), block.begin() + n)));
}

void ReadLines(const std::string& path, TextBlock& block, int n)
{
    checkBlockCount(n);
    block = TextBlock();
    const Lines lines = readLines(path, static_cast<std::size_t>(n));
    std::copy(lines.begin(), lines.end(), block.begin());
}

std::string StripExt(const std::string& name)
{
    const std::size_t dot = name.find('.');
    return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

std::string RecordDescriptionPath(const std::string& record)
{
    return folderPart(record) + StripExt(fileNamePart(record)) + ".dsc";
}

}  // namespace tarnix
