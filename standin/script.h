// Answers taken from a script file instead of the demo (see README.md for the format).
#pragma once

#include "common.h"

namespace tarnix::standin {

// One block of a script: what to do when the goal (and the program name) match.
struct ScriptBlock {
    std::string goal;
    std::optional<std::string> program;
    Answer answer;
    int resultLines = 4;
    bool noResult = false;
    std::vector<std::pair<std::string, std::string>> files, homeFiles;  // name, content
    std::vector<std::string> records;
    std::vector<std::string> children;  // files to take the numbers of sleeping children
    double hangSeconds = 0;
    bool crash = false;
    bool noBuild = false;
};

// The blocks of a script file's lines, in file order.
std::vector<ScriptBlock> parseScript(const std::vector<std::string>& lines);

// Plays the first block of the script that matches the session's goal and program. False
// when no block matches (the demo then answers) or the script cannot be read.
bool answerFromScript(const Session& session, const std::string& scriptPath);

// Writes the result file: the first `lines` of code, message, value and an empty spare line.
bool writeResult(const Session& session, const Answer& answer, int lines = 4);

}  // namespace tarnix::standin
