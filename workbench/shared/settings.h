// The settings file "Ordo.ini" in HomeDir and the project state read from it.
#pragma once

#include <string>

namespace tarnix {

inline constexpr const char* SettingsFileName = "Ordo.ini";
inline constexpr const char* SettingsSection = "Files";

// HomeDir + "Ordo.ini".
std::string settingsPath();
// Where the project folder is looked for when the settings name none.
std::string defaultKbPath();

// Sets HomeDir to the program's folder and reads the six keys of the settings file into
// context, in their order; then the fixed file names of the object and check-rule goals.
// "kbpath" gets a trailing separator when it has none; an empty one counts as missing.
void LoadProjectSettings();

// False, after an error box naming the folder as the system spells it, when code page 1251
// cannot hold the name of the program's folder: HomeDir then names no real folder, so the
// settings file and the engine programs in it are never found.
bool CheckProgramFolder();

// Writes one key of section "Files"; a failed write throws "Unable to write to <path>".
void WriteSetting(const std::string& key, const std::string& value);
// A knowledge-base name is one line of the settings file: a name holding a line break is
// refused with a message saying so.
void CheckKbName(const std::string& kb);

}  // namespace tarnix
