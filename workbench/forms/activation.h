// When a window of the workbench counts as "becoming active": a window's activation routine runs
// when the user comes back to it from another window of the program.
#pragma once

#include <functional>

namespace tarnix {

class Form;

// Runs `routine` each time `form` becomes the active window right after another window of the
// program (a Form other than `form`, and not one that `ignored` picks) was the active one.
// Message boxes, file dialogs and other programs' windows do not count: returning from them is
// not an activation.
// `command` run with `routine` as the activation hook: closing an information message that the
// command shows runs `routine` (through the dispatcher) before the command's next step, as
// coming back to the window does.
std::function<void()> WithActivation(std::function<void()> command, std::function<void()> routine);

void WatchActivation(Form* form, std::function<void()> routine,
                     std::function<bool(const Form*)> ignored = [](const Form*) { return false; });

}  // namespace tarnix
