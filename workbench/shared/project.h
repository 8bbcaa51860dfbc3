// Project files and the clean-up of the project folder.
#pragma once

#include <string>
#include <vector>

namespace tarnix {

inline constexpr std::size_t ProjectRecordSize = 605;
inline constexpr std::size_t ProjectNameLimit = 100;

// The 605-byte project record: the length of the name, 100 name bytes, 504 zero bytes.
std::string ProjectRecord(const std::string& name);
// Creates (or overwrites) name + ".tnx" holding the record of `name`; failures throw InOutError.
void WriteProjectFile(const std::string& name);

// The projects offered again in the "Проект" menu, the latest first.
inline constexpr std::size_t RecentProjectLimit = 8;
// `recent` with `path` put first: an earlier mention of the same file dropped (letter case
// aside where the system ignores it), at most RecentProjectLimit kept.
std::vector<std::string> WithRecentFirst(const std::vector<std::string>& recent, const std::string& path);

// Deletes every "*.tmp" of WorkDir in one pass; a match that cannot be deleted is skipped.
void DeleteTempFiles();

}  // namespace tarnix
