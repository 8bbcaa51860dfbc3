// The tool windows: created hidden at start-up, after the main window, like every window
// other than the main window.
#pragma once

namespace tarnix {

// Creates every tool window, hidden.
void CreateToolWindows();
// Destroys them again (tests create the windows afresh for every case).
void DestroyToolWindows();

}  // namespace tarnix
