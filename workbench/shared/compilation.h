// Compiling the knowledge base and building the project's expert-system program.
#pragma once

#include <string>

#include "text_file.h"

namespace tarnix {

// A text as an item between apostrophes of an engine term: an apostrophe inside is doubled.
std::string QuotedTermItem(const std::string& text);

// Rewrites WorkDir + "estrpar.ari" for the knowledge base named in `kbField` (the text of the
// field "БЗ"): lines 1 to 3 anew, the old line 4 carried over, later lines dropped.
// Sets KbSourceName to the field's file-name part first; an empty field shows "Set Kb name"
// and leaves the file alone.
void WriteCompileParameters(const std::string& kbField);
// Writes the compile parameters and sends the compile goal when the parameter file exists.
void comprules(const std::string& kbField);

// Refuses (Failure) a project folder that no line of "cf.bat" can name: a double quote would
// end the quoted target early and a line break would start another command.
void CheckBuildFolder(const std::string& workDir);
// The two lines of "cf.bat" for a project folder: move the built program there and copy the
// settings file. The targets are quoted, with any '%' doubled, so no folder name can break
// the line or run anything else; a folder that CheckBuildFolder refuses is refused here too.
Lines BuildBatchLines(const std::string& workDir);
void WriteBuildBatch();

}  // namespace tarnix
