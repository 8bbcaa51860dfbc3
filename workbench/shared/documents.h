// The document rules shared by the task, knowledge-base and text menus.
#pragma once

#include <string>

namespace tarnix {

// The path with the file name's extension (from its last ".") replaced by `extension`, or
// `extension` appended when it has none.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

// `name` with `extension` (".tsk") appended, unless it ends in it already in any letter case:
// a chosen "old.tsk" stays "old.tsk", not "old.tsk.tsk".
std::string WithExtension(const std::string& name, const std::string& extension);

// Before a document is saved as `chosen`: an existing file of that name is renamed to its
// ".BAK" name; an existing ".BAK" is never replaced. A failed rename throws
// "Unable to create backup file.".
void MakeBackup(const std::string& chosen);

}  // namespace tarnix
