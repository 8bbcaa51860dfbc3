// The folder that holds the settings file "Ordo.ini" and the engine exchange files: the folder
// of the running program where the user can write there (a build, a Windows-style install);
// otherwise (a program installed under /usr) a per-user program folder, made on first start,
// which the engine programs are linked into so that they find their files beside them as they
// do in the program's own folder.
#pragma once

#include <string>

namespace tarnix {

// What an install puts beside the program, as system names.
struct InstalledFiles {
    std::string engines;  // the folder of the engine programs
    std::string demo;     // the demo project
};

// Makes `folder` a program folder: created when missing; each engine program linked into it
// unless a file of that name is there; a copy of the demo made at `demoCopy` when nothing is
// there yet (never overwritten); a settings file naming that copy as the project folder when
// there is none. Throws Failure with the path that could not be made.
void PreparePerUserProgramFolder(const std::string& folder, const InstalledFiles& installed,
                                 const std::string& demoCopy);

// At start: when the program's own folder cannot be written, prepares the per-user program
// folder and tells the platform layer to use it as the program's folder.
void ChooseProgramFolder();

}  // namespace tarnix
