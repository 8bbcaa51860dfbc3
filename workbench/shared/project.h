// Project files and the clean-up of the project folder.
#pragma once

#include <string>

namespace tarnix {

inline constexpr std::size_t ProjectRecordSize = 605;
inline constexpr std::size_t ProjectNameLimit = 100;

// The 605-byte project record: the length of the name, 100 name bytes, 504 zero bytes.
std::string ProjectRecord(const std::string& name);
// Creates (or overwrites) name + ".tnx" holding the record of `name`; failures throw InOutError.
void WriteProjectFile(const std::string& name);

// Deletes every "*.tmp" of WorkDir in one pass; a match that cannot be deleted is skipped.
void DeleteTempFiles();

}  // namespace tarnix
