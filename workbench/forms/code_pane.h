// The edit pane of the workbench's windows: a plain text area with line numbers in a margin and,
// for rule text, colours and matching brackets. What engines write is shown in an OutputView.
#pragma once

#include <QPlainTextEdit>

namespace tarnix {

class CodePane : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CodePane(QWidget* parent = nullptr);
    explicit CodePane(const QString& text, QWidget* parent = nullptr);

    // Rule text: coloured, and the bracket at the cursor shown with its match (an unmatched one
    // marked as such).
    void setRuleText();
    // The number of the line under the cursor and the column (both from 1).
    std::pair<int, int> cursorPlace() const;

    int numberWidth() const;
    void paintNumbers(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateMargin();
    void markBrackets();
    void scrollNumbers(const QRect& rect, int dy);

    QWidget* numbers_;
};

}  // namespace tarnix
