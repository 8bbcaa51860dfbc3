// The Ui of the running program: real message boxes, file dialogs and the desktop's
// "open this document".
#pragma once

#include <QStringList>

#include "ui.h"

namespace tarnix {

// A "description|pattern|description|pattern" filter as Qt name filters; patterns match
// without regard to case ("*TSK" matches a.tsk).
QStringList qtNameFilters(const std::string& filter);
// Message texts longer than this are cut for display (a result file may hold a 10 MB line).
inline constexpr qsizetype MessageDisplayLimit = 2000;
// A program that ends sooner shows no progress window.
inline constexpr int ProgressDelayMs = 500;
// The object name of the progress window, for tests and accessibility tools.
inline constexpr const char* ProgressWindowName = "EngineProgress";

class QtUi : public Ui {
public:
    void showMessage(const std::string& text) override;
    void showError(const std::string& text) override;
    void showErrorUtf8(const std::string& text) override;
    std::optional<std::string> openFileDialog(DialogKind kind, const std::string& filter) override;
    std::optional<std::string> saveFileDialog(DialogKind kind, const std::string& filter) override;
    void openDocument(const std::string& path) override;
    std::size_t ask(const std::string& utf8Text, const std::vector<std::string>& utf8Buttons) override;
    // Runs the event loop until the program ends: every window repaints, but no window takes
    // input. After ProgressDelayMs a progress window, modal over all windows, names the
    // program and the goal, counts the time and offers Cancel (Escape and closing it cancel
    // too). Closing another window meanwhile asks whether to cancel; if so, that window is
    // closed once the program is gone.
    bool waitForProgram(const ProgramWait& wait) override;

private:
    std::optional<std::string> fileDialog(DialogKind kind, const std::string& filter, bool save);
};

}  // namespace tarnix
