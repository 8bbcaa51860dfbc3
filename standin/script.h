// Answers taken from a script file instead of the demo (see README.md for the format).
#pragma once

#include "common.h"

namespace tarnix::standin {

// Plays the first block of the script that matches the session's goal and program. False
// when no block matches (the demo then answers) or the script cannot be read.
bool answerFromScript(const Session& session, const std::string& scriptPath);

// Writes the result file: the first `lines` of code, message, value and an empty spare line.
bool writeResult(const Session& session, const Answer& answer, int lines = 4);

}  // namespace tarnix::standin
