// The Ui of the running program: real message boxes, file dialogs and the desktop's
// "open this document".
#pragma once

#include <QStringList>
#include <map>

#include "ui.h"

namespace tarnix {

// A "description|pattern|description|pattern" filter as Qt name filters; patterns match
// without regard to case ("*TSK" matches a.tsk).
QStringList qtNameFilters(const std::string& filter);
// Message texts longer than this are cut for display (a result file may hold a 10 MB line).
inline constexpr qsizetype MessageDisplayLimit = 2000;

class QtUi : public Ui {
public:
    void showMessage(const std::string& text) override;
    void showError(const std::string& text) override;
    void showErrorUtf8(const std::string& text) override;
    std::optional<std::string> openFileDialog(DialogKind kind, const std::string& filter) override;
    std::optional<std::string> saveFileDialog(DialogKind kind, const std::string& filter) override;
    void openDocument(const std::string& path) override;

private:
    std::optional<std::string> fileDialog(DialogKind kind, const std::string& filter, bool save);
    std::map<DialogKind, QString> lastFolder_;
};

}  // namespace tarnix
