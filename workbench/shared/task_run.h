// Running a task: the run-parameter files and the names around a run.
#pragma once

#include <string>

namespace tarnix {

// The texts of the four run fields of the main window.
struct RunFields {
    std::string kb;
    std::string task;
    std::string depth;
    std::string length;
};

// Writes "espar.txt" and "espar.ari" after deleting the old database and trace outputs.
// Sets TaskFileName first; when the task, depth or size is empty shows
// "Set all Run parameters" and writes nothing. Returns whether it wrote the files.
bool WriteRunParameters(const RunFields& fields);

// The intermediate file of a run: the three characters after the task name's first "." (the
// first three characters when it has none) removed, and "arb" appended.
std::string IntermediateName(const std::string& taskFileName);

}  // namespace tarnix
