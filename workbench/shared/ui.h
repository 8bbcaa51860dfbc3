// Every message box, file dialog and "open this document" request of the workbench goes
// through this interface: the windows show real ones, tests answer from a script.
// All texts are code page 1251.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tarnix {

// An engine program the workbench waits for.
struct ProgramWait {
    std::string program;  // its file name, as the user knows it ("vrex.exe")
    std::string goal;     // the goal it was sent; empty when none
    platform::EndHandle endHandle = platform::NoEndHandle;  // tells of the program's end
    // Ends the program and everything it started; returns once they are gone.
    std::function<void()> cancel;
};

// Which of the program's file dialogs is shown: each remembers its own last folder, but for the
// knowledge-base dialogs, which always open in the project folder (WorkDir).
enum class DialogKind { Document, Project, KnowledgeBase };

class Ui {
public:
    virtual ~Ui() = default;
    // An information box: the text, caption "Tarnix", one OK button; returns when closed.
    virtual void showMessage(const std::string& text) = 0;
    // The generic error box: the text, caption "Tarnix", error icon, OK.
    virtual void showError(const std::string& text) = 0;
    // The same box for a text in UTF-8: for names the system gives that code page 1251
    // cannot hold, which must reach the user as they are.
    virtual void showErrorUtf8(const std::string& text) = 0;
    // File dialogs with a "description|pattern|description|pattern" filter; the chosen path,
    // or nothing when cancelled.
    virtual std::optional<std::string> openFileDialog(DialogKind kind, const std::string& filter) = 0;
    virtual std::optional<std::string> saveFileDialog(DialogKind kind, const std::string& filter) = 0;
    // Waits until the program of `wait` has ended, or until the user cancels it; only then
    // does it call wait.cancel. True when the program ended by itself. No other command of
    // any window may start meanwhile.
    virtual bool waitForProgram(const ProgramWait& wait) = 0;
    // Asks the desktop to open a document with its default program; the outcome is ignored.
    virtual void openDocument(const std::string& path) = 0;
    // A question with a button for each answer (texts in UTF-8: they may name characters that
    // code page 1251 cannot hold); returns the index of the button chosen. Closing the box
    // chooses the last button, which is always the one that cancels.
    virtual std::size_t ask(const std::string& utf8Text, const std::vector<std::string>& utf8Buttons) = 0;
};

// The Ui of the running program (set once at start, or by a test).
Ui& ui();
void setUi(Ui* ui);

// Shows an information box, then runs the activation hook, if one is installed, before the
// caller takes its next step: closing such a box makes the main window active again.
void ShowMessage(const std::string& text);

// For its lifetime, ShowMessage shows each text once: a command that meets the same failure
// twice (the compiler started twice, say) reports it once.
class EachMessageOnce {
public:
    EachMessageOnce();
    ~EachMessageOnce();
    EachMessageOnce(const EachMessageOnce&) = delete;
    EachMessageOnce& operator=(const EachMessageOnce&) = delete;

private:
    std::vector<std::string>* previous_;
    std::vector<std::string> shown_;
};

// Installs `hook` as the activation hook for its lifetime (the main window's commands do so).
class ActivationHook {
public:
    explicit ActivationHook(std::function<void()> hook);
    ~ActivationHook();
    ActivationHook(const ActivationHook&) = delete;
    ActivationHook& operator=(const ActivationHook&) = delete;

private:
    std::function<void()> previous_;
};

}  // namespace tarnix
