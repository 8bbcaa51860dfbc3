// The text pane of the workbench's windows: a plain text area with line numbers in a margin, a
// line that can be shown and highlighted, and, for panes that only show output, no typing and a
// signal when the user picks a line (double click or Enter).
#pragma once

#include <QPlainTextEdit>

namespace tarnix {

class CodePane : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CodePane(QWidget* parent = nullptr);
    explicit CodePane(const QString& text, QWidget* parent = nullptr);

    // Output only: typing, pasting and cutting do nothing; the caret still moves and selects.
    void setOutputOnly();
    // Puts the cursor at the start of line `line` (from 1, within the text), scrolls it into
    // view and highlights the whole line until the text changes.
    void goToLine(int line);
    // Rule text: coloured, and the bracket at the cursor shown with its match (an unmatched one
    // marked as such).
    void setRuleText();
    // The highlighted line (from 1), 0 when none.
    int highlightedLine() const { return highlighted_; }
    // The number of the line under the cursor and the column (both from 1).
    std::pair<int, int> cursorPlace() const;

    // An item for the pane's context menu, after the standard ones.
    void addMenuAction(QAction* action) { menuActions_.push_back(action); }

    int numberWidth() const;
    void paintNumbers(QPaintEvent* event);

signals:
    // A double click or Enter on a line of an output-only pane: the line's text.
    void lineChosen(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void updateMargin();
    void markBrackets();
    void applyMarks();
    void scrollNumbers(const QRect& rect, int dy);

    QWidget* numbers_;
    int highlighted_ = 0;
    QList<QTextEdit::ExtraSelection> lineMark_;
    QList<QTextEdit::ExtraSelection> bracketMarks_;
    QList<QAction*> menuActions_;
};

}  // namespace tarnix
