// Creating the program's windows in their order, and starting the workbench.
#pragma once

namespace tarnix {

// Creates every window, hidden: the main window first, then the others.
void CreateWindows();
// Shows the main window (after the splash) and runs its first activation; then says so when
// the program's folder has a name the workbench cannot use.
void StartWorkbench();

}  // namespace tarnix
