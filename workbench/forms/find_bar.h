// Find and replace in the text panes of a window: Ctrl+F finds, F3 and Shift+F3 find the next and
// the previous match, Ctrl+H replaces (not in output views); letter case counts only when asked,
// and the search wraps round the end of the text. It works on the pane that last had the focus; "not found" goes to
// the window's status bar, never to a box.
#pragma once

#include <QWidget>
#include <vector>

class QCheckBox;
class QLineEdit;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;

namespace tarnix {

// Selects the next (or previous) match of `text` after (before) the cursor of `pane`, wrapping
// round the text's end; false, with the cursor left alone, when there is none.
bool FindInPane(QPlainTextEdit* pane, const QString& text, bool matchCase, bool backwards);

class FindBar;
// Find and replace for every text pane of a window whose central controls are already in place:
// the bar goes under them.
FindBar* AddFindBar(QMainWindow* window);

class FindBar : public QWidget {
    Q_OBJECT

public:
    // Adds the commands to `window`; the bar stays hidden until one of them is used.
    FindBar(QMainWindow* window, std::vector<QWidget*> panes);

    void openFind();
    void openReplace();
    // The next or previous match in the pane; false when there is none.
    bool findNext(bool backwards = false);
    // Replaces the selected match and selects the next one; false when nothing was replaced.
    bool replaceOne();
    // Replaces every match, as one step to undo; how many were replaced.
    int replaceAll();
    QWidget* pane() const;

    QLineEdit* findText;
    QLineEdit* replaceText;
    QCheckBox* matchCase;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addCommand(const QKeySequence& keys, const char* name, std::function<void()> step);
    void showReplace(bool shown);
    void tell(const QString& message) const;
    bool matches(const QString& selected) const;
    // Says when nothing was found; true when something was.
    bool reportSearch(bool found);

    QMainWindow* window_;
    std::vector<QWidget*> panes_;
    QWidget* last_ = nullptr;
    QWidget* replaceRow_ = nullptr;
};

}  // namespace tarnix
