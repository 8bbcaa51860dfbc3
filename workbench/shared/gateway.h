// The engine gateway: writes one goal into the goal file, starts an engine program hidden with
// HomeDir as its current folder, waits for it and reads its four-line result file.
#pragma once

#include <cstddef>
#include <string>

#include "text_file.h"

namespace tarnix {

inline constexpr const char* GoalFileName = "invc23.ari";
inline constexpr const char* ResultFileName = "ovc17.ari";
// Of each result line only this many bytes are read: a message is for a message box, and a
// runaway engine must not fill the memory with one endless line.
inline constexpr std::size_t ResultLineLimit = std::size_t{4} << 20;

// The four lines of a result file (code, message, value, spare line), missing ones empty,
// each cut after ResultLineLimit bytes.
// A file that cannot be read throws InOutError.
Lines ReadResultLines(const std::string& path);

// Each takes the goal and sets the result code ("0" is success) and the result value; both
// are emptied first. A result file of an earlier run is removed before the start (an I/O
// error when it cannot be). A program that cannot be started, or that is killed by a signal,
// gives code "2" and an empty value, with the variant's message naming what happened. The
// wait goes through the Ui, which may let the user cancel it: the program and all it started
// are ended, no result file is read, and the call gives code "2" and the message
// "cancelled" after the variant's prefix.
// HomeDir + "vrex.exe"; a code other than "0" shows "Error in creating CG - " + message.
void RunGoal(const std::string& goal, std::string& code, std::string& value);
// As RunGoal, without any message: the caller judges the code.
void RunGoalQuiet(const std::string& goal, std::string& code, std::string& value);
// As RunGoal, with HomeDir + "vrext.exe".
void RunCompileGoal(const std::string& goal, std::string& code, std::string& value);
// HomeDir + "sh.exe"; shows "true" or "false" right after the start, before the wait. Its
// answer is not used: no result file reads as an empty one.
void RunShellGoal(const std::string& goal, std::string& code, std::string& value);
// WorkDir + "vrexn.exe"; "Выполнение не запущено - " when it cannot be started,
// "Ошибка выполнения - " + message for a code other than "0".
void RunTaskGoal(const std::string& goal, std::string& code, std::string& value);
// Starts HomeDir + name the same way and waits for it; no goal and no result file.
void StartAndWait(const std::string& name);

}  // namespace tarnix
