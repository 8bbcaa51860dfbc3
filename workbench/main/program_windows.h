// Creating the program's windows in their order, and starting the workbench.
#pragma once

#include <string>

namespace tarnix {

// Creates every window, hidden: the main window first, then the others.
void CreateWindows();
// Opens the project given, if any (a folder or a project file), as «Открыть проект» opens the
// one chosen; shows the main window (after the splash) and runs its first activation; then
// says so when the program's folder has a name the workbench cannot use.
void StartWorkbench(const std::string& project = "");
// Starts the program at the launcher instead: the launcher is the program's main window (closing
// it ends the program) and its "ES" shows the workbench's main window.
void StartLauncher();

}  // namespace tarnix
