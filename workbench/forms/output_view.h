// The pane for what engines and builds write: a read-only view of a file of any size. The file is
// read once and its lines indexed in one pass (OutputText); only the lines on screen are decoded
// from code page 1251 and drawn, so a 100 MB trace or a 10 MB line shows at once. Long lines
// scroll sideways, or wrap at the pane's edge. The text can be selected with the mouse and the
// keys, copied (the copy is made when it is pasted), searched (in the background for a large
// file) and followed while the engine still writes it.
#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "output_text.h"
#include "text_file.h"

namespace tarnix {

class OutputView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit OutputView(QWidget* parent = nullptr);
    ~OutputView() override;

    // Replaces the whole content.
    void showBytes(std::string bytes);
    // Replaces the whole content with the file (FileOpenError when it cannot be read; the view
    // then keeps what it had).
    void loadFile(const std::string& path);
    void setPlainText(const QString& text);
    void clear() { showBytes({}); }
    const OutputText& text() const { return text_; }
    // The lines joined with '\n'.
    QString toPlainText() const;
    // The number of lines shown: an empty text shows one empty line.
    int lineCount() const;

    // Shows the file as it is, or nothing while it is missing, and then what is written to it:
    // the file is read only while the view is on show. New lines keep the view where it is, unless it was at the
    // end.
    void follow(const std::string& path);
    void stopFollowing();
    bool following() const { return !followed_.empty(); }

    // Puts the caret at the start of line `line` (from 1), centres it and highlights it until
    // the text is replaced.
    void goToLine(int line);
    int highlightedLine() const { return highlighted_; }
    // The caret's line and column (both from 1).
    std::pair<int, int> cursorPlace() const;
    // The cell of byte `offset` in the viewport (empty when it is not on screen).
    QRect placeRect(std::size_t offset) const;
    // The byte at a point of the viewport.
    std::size_t offsetAt(const QPoint& point) const;
    std::size_t caretByte() const { return caret_; }
    std::pair<std::size_t, std::size_t> selectionBytes() const { return {std::min(anchor_, caret_), std::max(anchor_, caret_)}; }
    // Byte offsets and the offsets of the characters of toPlainText(), where every line break
    // is one character.
    int charOf(std::size_t byte) const;
    std::size_t byteOf(int character) const;
    // Selects bytes [from, to) of the text; the caret goes to `to`.
    void select(std::size_t from, std::size_t to);
    void selectAll();
    QString selectedText() const;
    void copy() const;

    void setWrapped(bool on);
    bool wrapped() const { return wrapped_; }
    // Rule text: the lines on screen are coloured as in the rule editor.
    void setRuleText() { ruleText_ = true; }
    // An item for the context menu, after the standard ones (in place of the view's own
    // «Перенос строк»).
    void addMenuAction(QAction* action) { menuActions_.push_back(action); }

    enum class Search { Found, NotFound, Running };
    // Selects the next (previous) match after (before) the selection, round the end of the text.
    // A large text is searched in the background: Running, and searchDone tells the outcome.
    Search find(const QString& needle, bool matchCase, bool backwards);
    bool searching() const { return searching_; }

    qreal charWidth() const { return charWidth_; }
    int lineHeight() const { return lineHeight_; }

signals:
    // A double click or Enter on a line: the line's text.
    void lineChosen(const QString& text);
    void cursorPositionChanged();
    void searchDone(bool found);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int, int) override { viewport()->update(); }

private:
    struct Row {
        std::size_t line;
        std::size_t firstCell;
    };
    void textReplaced();
    void measureFont();
    void layoutRows(std::size_t fromLine);
    void measure(std::size_t fromLine);
    void updateScrollBars();
    std::size_t rowCount() const;
    Row rowAt(std::size_t row) const;
    std::size_t rowOf(std::size_t offset) const;
    int textLeft() const;
    int pageRows() const;
    int pageCells() const;
    void moveCaret(std::size_t offset, bool extend);
    void moveByKey(QKeyEvent* event);
    void ensureVisible(std::size_t offset, bool centre = false);
    void askLine();
    void poll();
    void stopSearch();
    void tellAccessibility();
    const std::vector<std::size_t>& lineChars() const;
    void finishSearch(unsigned generation, std::size_t found, std::size_t length);
    void paintRow(QPainter& painter, const Row& row, int y, std::size_t selFrom, std::size_t selTo);
    void paintNumber(QPainter& painter, std::size_t line, int y);
    void paintText(QPainter& painter, std::string_view line, std::size_t firstCell, int y, const QString& cells) const;
    void drawCells(QPainter& painter, qreal x, int y, QStringView cells) const;

    OutputText text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    std::size_t wantedCell_ = 0;  // where up and down go, kept across short lines
    int highlighted_ = 0;
    bool wrapped_ = false;
    bool ruleText_ = false;
    std::size_t wrapCells_ = 80;
    std::vector<std::size_t> rowStarts_;  // when wrapped: the first row of each line, and the total
    std::size_t longestCells_ = 0;
    qreal charWidth_ = 8;
    int lineHeight_ = 16;
    int ascent_ = 12;
    bool evenCells_ = true;  // every character of the code page is one cell wide in the font
    QList<QAction*> menuActions_;
    unsigned revision_ = 0;  // changes with the text
    mutable std::vector<std::size_t> lineChars_;  // where each line starts in toPlainText()
    mutable unsigned lineCharsRevision_ = ~0U;

    std::string followed_;
    QTimer poll_;

    std::thread worker_;
    std::atomic<bool> stop_{false};
    bool searching_ = false;
    unsigned generation_ = 0;  // a search's outcome counts only for the text it searched
};

// Lets screen readers read output views; the view installs it.
void InstallOutputViewAccessibility();

// The text areas' functions for the output view.
void LoadTextArea(OutputView* view, const std::string& path);
void ShowBytes(OutputView* view, std::string_view bytes, const std::string& source);
Lines GetLines(OutputView* view);
void SetLines(OutputView* view, const Lines& lines, const std::string& source);
void ShowModel(OutputView* view, int k);

}  // namespace tarnix
