#include "output_view.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QtMath>
#include <algorithm>
#include <climits>
#include <cstring>

#include "errors.h"
#include "fonts.h"
#include "platform/platform.h"
#include "qt_text.h"
#include "rule_colouring.h"
#include "rule_files.h"
#include "text_area.h"

namespace tarnix {
namespace {

// Tabs stop every 8 cells in lines up to ShortLine bytes; in a longer line every byte is one
// cell, so a place in it is found without walking the line.
constexpr std::size_t TabWidth = 8;
constexpr std::size_t ShortLine = 4096;
// A text this large is searched in the background.
constexpr std::size_t BackgroundSearch = 4 << 20;
// How often a followed file is looked at: new lines show within 0.2 s.
constexpr int PollMs = 150;

bool expandsTabs(std::string_view line)
{
    return line.size() <= ShortLine && std::memchr(line.data(), '\t', line.size()) != nullptr;
}

std::size_t nextCell(char c, std::size_t cell) { return c == '\t' ? (cell / TabWidth + 1) * TabWidth : cell + 1; }

// The cell where byte `byte` of the line is drawn.
std::size_t cellOf(std::string_view line, std::size_t byte)
{
    if (!expandsTabs(line))
        return byte;
    std::size_t cell = 0;
    for (std::size_t i = 0; i < byte && i < line.size(); ++i)
        cell = nextCell(line[i], cell);
    return cell;
}

std::size_t cellCount(std::string_view line) { return cellOf(line, line.size()); }

// The byte boundary of the line nearest to the boundary before cell `cell`.
std::size_t byteAtCell(std::string_view line, std::size_t cell)
{
    if (!expandsTabs(line))
        return std::min(cell, line.size());
    std::size_t c = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (cell <= c)
            return i;
        const std::size_t next = nextCell(line[i], c);
        if (cell < next)
            return cell - c <= next - cell ? i : i + 1;
        c = next;
    }
    return line.size();
}

// `count` cells of the line from cell `first`, decoded, tabs drawn as blanks.
QString cellsOf(std::string_view line, std::size_t first, std::size_t count)
{
    std::string expanded;
    if (expandsTabs(line)) {
        for (char c : line)
            expanded.append(nextCell(c, expanded.size()) - expanded.size(), c == '\t' ? ' ' : c);
        line = expanded;
    }
    if (first >= line.size())
        return {};
    QString cells = decodeText(line.substr(first, count));
    cells.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return cells;
}

int clampToInt(std::size_t n) { return static_cast<int>(std::min<std::size_t>(n, INT_MAX)); }

// What a copy puts on the clipboard: the bytes and the range, decoded only when pasted.
class CopiedText : public QMimeData {
public:
    CopiedText(std::shared_ptr<const std::string> bytes, std::size_t from, std::size_t to)
        : bytes_(std::move(bytes)), from_(from), to_(to)
    {
    }
    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& type) const override { return type == QStringLiteral("text/plain"); }

protected:
    QVariant retrieveData(const QString& type, QMetaType) const override
    {
        if (type != QStringLiteral("text/plain"))
            return {};
        return decodeText(std::string_view(*bytes_).substr(from_, to_ - from_));
    }

private:
    std::shared_ptr<const std::string> bytes_;
    std::size_t from_, to_;
};

}  // namespace

OutputView::OutputView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    poll_.setInterval(PollMs);
    connect(&poll_, &QTimer::timeout, this, &OutputView::poll);
    connect(this, &OutputView::cursorPositionChanged, this, &OutputView::tellAccessibility);
    InstallOutputViewAccessibility();
    setFont(FixedPitchFont());  // a cell a character: the view draws in a fixed-pitch face
    measureFont();
}

OutputView::~OutputView() { stopSearch(); }

void OutputView::showBytes(std::string bytes)
{
    stopSearch();
    text_.assign(std::move(bytes));
    textReplaced();
}

void OutputView::loadFile(const std::string& path) { showBytes(loadFileBytes(path)); }

void OutputView::setPlainText(const QString& text)
{
    std::string bytes = encodeLines(text);
    if (!bytes.empty())
        bytes.resize(bytes.size() - 2);
    showBytes(std::move(bytes));
}

QString OutputView::toPlainText() const
{
    if (text_.lineCount() == 0)
        return {};
    const std::size_t last = text_.lineCount() - 1;
    return decodeText(text_.bytes().substr(0, text_.lineEnd(last)));
}

int OutputView::lineCount() const { return std::max(1, clampToInt(text_.lineCount())); }

void OutputView::textReplaced()
{
    ++revision_;
    caret_ = anchor_ = wantedCell_ = 0;
    highlighted_ = 0;
    measure(0);
    layoutRows(0);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    emit cursorPositionChanged();
}

// ---- rows ------------------------------------------------------------------------------------

// Unwrapped, a row is a line. Wrapped, a line takes as many rows as its cells need, and the
// first row of every line is kept, so any row is found by a binary search.
void OutputView::layoutRows(std::size_t fromLine)
{
    if (!wrapped_) {
        rowStarts_.clear();
        updateScrollBars();
        return;
    }
    wrapCells_ = static_cast<std::size_t>(pageCells());
    rowStarts_.resize(std::min(rowStarts_.size(), fromLine + 1));
    if (rowStarts_.empty())
        rowStarts_.push_back(0);
    for (std::size_t line = rowStarts_.size() - 1; line < text_.lineCount(); ++line) {
        const std::size_t cells = cellCount(text_.line(line));
        rowStarts_.push_back(rowStarts_.back() + std::max<std::size_t>(1, (cells + wrapCells_ - 1) / wrapCells_));
    }
    updateScrollBars();
}

std::size_t OutputView::rowCount() const
{
    const std::size_t rows = wrapped_ ? rowStarts_.back() : text_.lineCount();
    return std::max<std::size_t>(1, rows);
}

OutputView::Row OutputView::rowAt(std::size_t row) const
{
    if (!wrapped_)
        return {row, static_cast<std::size_t>(horizontalScrollBar()->value())};
    const auto after = std::upper_bound(rowStarts_.begin(), rowStarts_.end(), row);
    const auto line = static_cast<std::size_t>(after - rowStarts_.begin()) - 1;
    return {line, (row - rowStarts_[line]) * wrapCells_};
}

std::size_t OutputView::rowOf(std::size_t offset) const
{
    const std::size_t line = text_.lineOf(offset);
    if (!wrapped_ || text_.lineCount() == 0)
        return line;
    const std::size_t cell = cellOf(text_.line(line), offset - text_.lineStart(line));
    const std::size_t rows = rowStarts_[line + 1] - rowStarts_[line];
    return rowStarts_[line] + std::min(cell / wrapCells_, rows - 1);
}

int OutputView::textLeft() const
{
    int digits = 1;
    for (int count = lineCount(); count >= 10; count /= 10)
        ++digits;
    return 12 + qRound(charWidth_ * std::max(digits, 3));
}

int OutputView::pageRows() const { return std::max(1, viewport()->height() / lineHeight_); }
int OutputView::pageCells() const { return std::max(1, static_cast<int>((viewport()->width() - textLeft()) / charWidth_)); }

void OutputView::updateScrollBars()
{
    const auto rows = static_cast<std::size_t>(pageRows());
    verticalScrollBar()->setRange(0, clampToInt(rowCount() > rows ? rowCount() - rows : 0));
    verticalScrollBar()->setPageStep(pageRows());
    const std::size_t longest = wrapped_ ? 0 : longestCells_;
    const auto cells = static_cast<std::size_t>(pageCells());
    horizontalScrollBar()->setRange(0, clampToInt(longest + 1 > cells ? longest + 1 - cells : 0));
    horizontalScrollBar()->setPageStep(pageCells());
}

// The widest line in cells, from line `fromLine` on: the bytes' count, unless tabs widen a line.
void OutputView::measure(std::size_t fromLine)
{
    if (fromLine == 0)
        longestCells_ = 0;
    const std::size_t from = fromLine < text_.lineCount() ? text_.lineStart(fromLine) : text_.size();
    longestCells_ = std::max(longestCells_, text_.longestLine());
    if (!std::memchr(text_.bytes().data() + from, '\t', text_.size() - from))
        return;
    for (std::size_t line = fromLine; line < text_.lineCount(); ++line)
        longestCells_ = std::max(longestCells_, cellCount(text_.line(line)));
}

void OutputView::setWrapped(bool on)
{
    if (on == wrapped_)
        return;
    wrapped_ = on;
    horizontalScrollBar()->setValue(0);
    layoutRows(0);
    ensureVisible(caret_);
    viewport()->update();
}

void OutputView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (wrapped_ && static_cast<std::size_t>(pageCells()) != wrapCells_)
        layoutRows(0);
    else
        updateScrollBars();
}

// The font sets the cell: the panes use a fixed-pitch face.
void OutputView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        measureFont();
}

void OutputView::measureFont()
{
    const QFontMetricsF metrics(font());
    charWidth_ = std::max(1.0, metrics.horizontalAdvance(QLatin1Char('M')));
    lineHeight_ = std::max(1, qCeil(metrics.height()));
    ascent_ = qRound(metrics.ascent());
    std::string all;
    for (int b = 0x20; b < 0x100; ++b)
        all += static_cast<char>(b);
    const QString characters = decodeText(all);
    evenCells_ = std::all_of(characters.begin(), characters.end(),
                             [&](QChar c) { return qAbs(metrics.horizontalAdvance(c) - charWidth_) < 0.01; });
    layoutRows(0);
}

// ---- painting --------------------------------------------------------------------------------

void OutputView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.setFont(font());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    painter.fillRect(0, 0, textLeft() - 4, viewport()->height(), palette().color(QPalette::AlternateBase));
    const std::size_t selFrom = std::min(anchor_, caret_), selTo = std::max(anchor_, caret_);
    const auto top = static_cast<std::size_t>(verticalScrollBar()->value());
    for (int r = 0; r * lineHeight_ <= viewport()->height(); ++r) {
        const std::size_t row = top + static_cast<std::size_t>(r);
        if (row >= rowCount())
            break;
        const int y = r * lineHeight_;
        if (text_.lineCount() == 0) {
            paintNumber(painter, 0, y);
            if (hasFocus())
                painter.fillRect(textLeft(), y, 1, lineHeight_, palette().color(QPalette::Text));
            break;
        }
        const Row place = rowAt(row);
        painter.save();
        painter.setClipRect(textLeft(), y, viewport()->width() - textLeft(), lineHeight_);
        paintRow(painter, place, y, selFrom, selTo);
        painter.restore();
        if (!wrapped_ || place.firstCell == 0)
            paintNumber(painter, place.line, y);
    }
}

void OutputView::paintNumber(QPainter& painter, std::size_t line, int y)
{
    const int width = textLeft() - 4;
    QFont font = painter.font();
    font.setBold(text_.lineCount() > 0 && text_.lineOf(caret_) == line);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(0, y, width - 4, lineHeight_, Qt::AlignRight, QString::number(line + 1));
    font.setBold(false);
    painter.setFont(font);
}

void OutputView::paintRow(QPainter& painter, const Row& row, int y, std::size_t selFrom, std::size_t selTo)
{
    const std::string_view line = text_.line(row.line);
    const std::size_t start = text_.lineStart(row.line), end = start + line.size();
    const std::size_t count = static_cast<std::size_t>(wrapped_ ? static_cast<int>(wrapCells_) : pageCells() + 1);
    const int left = textLeft();
    const auto xOf = [&](std::size_t cell) {
        return left + qRound(static_cast<qreal>(std::min<std::size_t>(cell - std::min(cell, row.firstCell), count + 1)) * charWidth_);
    };
    if (highlighted_ == static_cast<int>(row.line) + 1)
        painter.fillRect(left, y, viewport()->width(), lineHeight_, palette().color(QPalette::Highlight).lighter(170));

    const QString cells = cellsOf(line, row.firstCell, count);
    paintText(painter, line, row.firstCell, y, cells);

    // The selected part, drawn again over the selection's colour; a selected line break shows
    // as one more cell.
    if (selFrom < selTo && selFrom <= end && selTo > start) {
        const std::size_t a = cellOf(line, std::max(selFrom, start) - start);
        const std::size_t b = cellOf(line, std::min(selTo, end) - start) + (selTo > end ? 1 : 0);
        const int x0 = xOf(std::max(a, row.firstCell)), x1 = xOf(std::min(b, row.firstCell + count));
        if (x1 > x0 && b > row.firstCell) {
            painter.save();
            painter.setClipRect(QRect(x0, y, x1 - x0, lineHeight_), Qt::IntersectClip);
            painter.fillRect(x0, y, x1 - x0, lineHeight_, palette().color(QPalette::Highlight));
            painter.setPen(palette().color(QPalette::HighlightedText));
            drawCells(painter, left, y, cells);
            painter.restore();
        }
    }
    if (hasFocus() && text_.lineOf(caret_) == row.line && rowAt(rowOf(caret_)).firstCell == row.firstCell) {
        const std::size_t cell = cellOf(line, caret_ - start);
        if (cell >= row.firstCell && cell <= row.firstCell + count)
            painter.fillRect(xOf(cell), y, 1, lineHeight_, palette().color(QPalette::Text));
    }
}

// Rule text is coloured part by part; the parts are found on the whole line, which a quote may
// span, and only in lines short enough to lay out quickly.
void OutputView::paintText(QPainter& painter, std::string_view line, std::size_t firstCell, int y, const QString& cells) const
{
    if (!ruleText_ || line.size() > ShortLine) {
        painter.setPen(palette().color(QPalette::Text));
        drawCells(painter, textLeft(), y, cells);
        return;
    }
    const std::basic_string<RulePart> parts = RuleParts(cellsOf(line, 0, line.size() * TabWidth));
    for (qsizetype i = 0; i < cells.size();) {
        const RulePart part = parts[firstCell + static_cast<std::size_t>(i)];
        qsizetype j = i + 1;
        while (j < cells.size() && parts[firstCell + static_cast<std::size_t>(j)] == part)
            ++j;
        const QColor colour = RulePartColour(part);
        painter.setPen(colour.isValid() ? colour : palette().color(QPalette::Text));
        drawCells(painter, textLeft() + static_cast<qreal>(i) * charWidth_, y, QStringView(cells).mid(i, j - i));
        i = j;
    }
}

// Every character stays in its cell: where the face gives some letters (Cyrillic ones, from
// another face) another width, they are drawn one by one.
void OutputView::drawCells(QPainter& painter, qreal x, int y, QStringView cells) const
{
    if (evenCells_) {
        painter.drawText(QPointF(x, y + ascent_), cells.toString());
        return;
    }
    for (qsizetype i = 0; i < cells.size(); ++i)
        if (cells[i] != QLatin1Char(' '))
            painter.drawText(QPointF(x + static_cast<qreal>(i) * charWidth_, y + ascent_), QString(cells[i]));
}

// ---- caret and selection ---------------------------------------------------------------------

std::size_t OutputView::offsetAt(const QPoint& point) const
{
    if (text_.lineCount() == 0)
        return 0;
    const std::size_t row = std::min(static_cast<std::size_t>(verticalScrollBar()->value()) +
                                         static_cast<std::size_t>(std::max(0, point.y()) / lineHeight_),
                                     rowCount() - 1);
    const Row place = rowAt(row);
    const std::string_view line = text_.line(place.line);
    const int x = std::max(0, point.x() - textLeft());
    std::size_t cell = place.firstCell + static_cast<std::size_t>(x / charWidth_ + 0.5);
    const bool lastRowOfLine = !wrapped_ || rowStarts_[place.line + 1] == row + 1;
    if (!lastRowOfLine)
        cell = std::min(cell, place.firstCell + wrapCells_ - 1);
    return text_.lineStart(place.line) + byteAtCell(line, cell);
}

QRect OutputView::placeRect(std::size_t offset) const
{
    const auto top = static_cast<std::size_t>(verticalScrollBar()->value());
    const std::size_t row = rowOf(offset);
    if (row < top || row >= top + static_cast<std::size_t>(pageRows()) + 1)
        return {};
    const Row place = rowAt(row);
    std::size_t cell = 0;
    if (text_.lineCount() > 0)
        cell = cellOf(text_.line(place.line), offset - text_.lineStart(place.line));
    if (cell < place.firstCell)
        return {};
    const qreal x = textLeft() + static_cast<qreal>(cell - place.firstCell) * charWidth_;
    return {static_cast<int>(std::min<qreal>(x, INT_MAX / 2)), static_cast<int>(row - top) * lineHeight_, qCeil(charWidth_),
            lineHeight_};
}

void OutputView::moveCaret(std::size_t offset, bool extend)
{
    caret_ = offset;
    if (!extend)
        anchor_ = offset;
    if (text_.lineCount() > 0) {
        const std::size_t line = text_.lineOf(offset);
        wantedCell_ = cellOf(text_.line(line), offset - text_.lineStart(line));
    }
    ensureVisible(caret_);
    viewport()->update();
    emit cursorPositionChanged();
}

void OutputView::select(std::size_t from, std::size_t to)
{
    anchor_ = std::min(from, text_.size());
    moveCaret(std::min(to, text_.size()), true);
    ensureVisible(caret_, true);
}

void OutputView::selectAll()
{
    if (text_.lineCount() == 0)
        return;
    const std::size_t last = text_.lineCount() - 1;
    anchor_ = 0;
    caret_ = text_.lineEnd(last);
    viewport()->update();
    emit cursorPositionChanged();
}

QString OutputView::selectedText() const
{
    const std::size_t from = std::min(anchor_, caret_), to = std::max(anchor_, caret_);
    return decodeText(text_.bytes().substr(from, to - from));
}

void OutputView::copy() const
{
    if (anchor_ == caret_)
        return;
    QApplication::clipboard()->setMimeData(new CopiedText(text_.share(), std::min(anchor_, caret_), std::max(anchor_, caret_)));
}

std::pair<int, int> OutputView::cursorPlace() const
{
    if (text_.lineCount() == 0)
        return {1, 1};
    const std::size_t line = text_.lineOf(caret_);
    return {clampToInt(line + 1), clampToInt(caret_ - text_.lineStart(line) + 1)};
}

void OutputView::goToLine(int line)
{
    if (line < 1 || line > lineCount())
        return;
    const std::size_t offset = text_.lineCount() ? text_.lineStart(static_cast<std::size_t>(line) - 1) : 0;
    highlighted_ = line;
    horizontalScrollBar()->setValue(0);
    moveCaret(offset, false);
    ensureVisible(offset, true);
}

void OutputView::ensureVisible(std::size_t offset, bool centre)
{
    const auto row = static_cast<long long>(rowOf(offset));
    QScrollBar* v = verticalScrollBar();
    if (centre)
        v->setValue(clampToInt(static_cast<std::size_t>(std::max(0LL, row - pageRows() / 2))));
    else if (row < v->value())
        v->setValue(clampToInt(static_cast<std::size_t>(row)));
    else if (row >= v->value() + pageRows())
        v->setValue(clampToInt(static_cast<std::size_t>(row - pageRows() + 1)));
    if (wrapped_ || text_.lineCount() == 0)
        return;
    const std::size_t line = text_.lineOf(offset);
    const auto cell = static_cast<long long>(cellOf(text_.line(line), offset - text_.lineStart(line)));
    QScrollBar* h = horizontalScrollBar();
    if (cell < h->value())
        h->setValue(clampToInt(static_cast<std::size_t>(cell)));
    else if (cell >= h->value() + pageCells())
        h->setValue(clampToInt(static_cast<std::size_t>(cell - pageCells() + 1)));
}

// ---- characters, for screen readers ------------------------------------------------------------

const std::vector<std::size_t>& OutputView::lineChars() const
{
    if (lineCharsRevision_ == revision_)
        return lineChars_;
    const std::string_view bytes = text_.bytes();
    lineChars_.resize(text_.lineCount());
    std::size_t pairs = 0;  // CR LF line ends so far: two bytes, one character
    for (std::size_t line = 0; line < text_.lineCount(); ++line) {
        const std::size_t start = text_.lineStart(line);
        if (line > 0 && start >= 2 && bytes[start - 2] == '\r' && bytes[start - 1] == '\n')
            ++pairs;
        lineChars_[line] = start - pairs;
    }
    lineCharsRevision_ = revision_;
    return lineChars_;
}

int OutputView::charOf(std::size_t byte) const
{
    if (text_.lineCount() == 0)
        return 0;
    const std::size_t line = text_.lineOf(std::min(byte, text_.size()));
    const std::size_t column = std::min(byte - std::min(byte, text_.lineStart(line)), text_.line(line).size());
    return clampToInt(lineChars()[line] + column);
}

std::size_t OutputView::byteOf(int character) const
{
    if (text_.lineCount() == 0 || character <= 0)
        return 0;
    const auto& starts = lineChars();
    const auto at = static_cast<std::size_t>(character);
    const std::size_t line = static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), at) - starts.begin()) - 1;
    return text_.lineStart(line) + std::min(at - starts[line], text_.line(line).size());
}

void OutputView::tellAccessibility()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent moved(this, charOf(caret_));
    QAccessible::updateAccessibility(&moved);
    QAccessibleTextSelectionEvent selected(this, charOf(std::min(anchor_, caret_)), charOf(std::max(anchor_, caret_)));
    QAccessible::updateAccessibility(&selected);
}

// ---- mouse and keys --------------------------------------------------------------------------

void OutputView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    moveCaret(offsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

// Dragging past an edge scrolls that way.
void OutputView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (at.y() < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (at.y() > viewport()->height())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    moveCaret(offsetAt(at), true);
}

void OutputView::mouseDoubleClickEvent(QMouseEvent* event)
{
    moveCaret(offsetAt(event->position().toPoint()), false);
    if (text_.lineCount() > 0)
        emit lineChosen(decodeText(text_.line(text_.lineOf(caret_))));
}

void OutputView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->key() == Qt::Key_G && event->modifiers() == Qt::ControlModifier) {
        askLine();
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (text_.lineCount() > 0)
            emit lineChosen(decodeText(text_.line(text_.lineOf(caret_))));
    } else {
        moveByKey(event);
    }
}

// The caret keys; with Shift they extend the selection.
void OutputView::moveByKey(QKeyEvent* event)
{
    const std::size_t count = text_.lineCount();
    if (count == 0)
        return event->ignore();
    const std::size_t line = text_.lineOf(caret_);
    const std::size_t start = text_.lineStart(line), end = start + text_.line(line).size();
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const auto toLine = [&](long long l) {
        const auto target = static_cast<std::size_t>(std::clamp<long long>(l, 0, static_cast<long long>(count) - 1));
        const std::size_t cell = wantedCell_;
        moveCaret(text_.lineStart(target) + byteAtCell(text_.line(target), cell), extend);
        wantedCell_ = cell;
    };
    const auto here = static_cast<long long>(line);
    switch (event->key()) {
    case Qt::Key_Left:
        return moveCaret(caret_ > start ? caret_ - 1 : (line > 0 ? text_.lineEnd(line - 1) : caret_), extend);
    case Qt::Key_Right:
        return moveCaret(caret_ < end ? caret_ + 1 : (line + 1 < count ? text_.lineStart(line + 1) : caret_), extend);
    case Qt::Key_Up: return toLine(here - 1);
    case Qt::Key_Down: return toLine(here + 1);
    case Qt::Key_PageUp: return toLine(here - pageRows());
    case Qt::Key_PageDown: return toLine(here + pageRows());
    case Qt::Key_Home: return moveCaret(ctrl ? 0 : start, extend);
    case Qt::Key_End: return moveCaret(ctrl ? text_.lineEnd(count - 1) : end, extend);
    default: QAbstractScrollArea::keyPressEvent(event);
    }
}

void OutputView::askLine()
{
    bool ok = false;
    const int line = QInputDialog::getInt(this, literal("Перейти к строке"), literal("Номер строки (1-%1):").arg(lineCount()),
                                          cursorPlace().first, 1, lineCount(), 1, &ok);
    if (ok)
        goToLine(line);
}

void OutputView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copyItem = menu.addAction(literal("Копировать"), QKeySequence::Copy, this, &OutputView::copy);
    copyItem->setEnabled(anchor_ != caret_);
    menu.addAction(literal("Выделить все"), QKeySequence::SelectAll, this, &OutputView::selectAll);
    menu.addAction(literal("Перейти к строке..."), QKeySequence(Qt::CTRL | Qt::Key_G), this, &OutputView::askLine);
    menu.addSeparator();
    if (menuActions_.isEmpty()) {  // a view on its own wraps itself
        QAction* wrap = menu.addAction(literal("Перенос строк"), this, [this](bool on) { setWrapped(on); });
        wrap->setCheckable(true);
        wrap->setChecked(wrapped_);
    }
    menu.addActions(menuActions_);
    menu.exec(event->globalPos());
}

void OutputView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void OutputView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- a file that grows -----------------------------------------------------------------------

void OutputView::follow(const std::string& path)
{
    followed_ = path;
    clear();
    if (isVisible()) {
        poll();
        poll_.start();
    }
}

void OutputView::stopFollowing()
{
    followed_.clear();
    poll_.stop();
}

// Only a followed view on show looks at its file.
void OutputView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (following()) {
        poll();
        poll_.start();
    }
}

void OutputView::hideEvent(QHideEvent* event)
{
    QAbstractScrollArea::hideEvent(event);
    poll_.stop();
}

// What was written since is added. A file that got shorter, or whose last bytes read so far
// changed, was written anew (by another run): it is read again whole.
void OutputView::poll()
{
    const std::size_t overlap = std::min<std::size_t>(text_.size(), 64);
    const auto more = loadFileBytesFrom(followed_, text_.size() - overlap);
    const bool rewritten = more && text_.bytes().substr(text_.size() - overlap) != std::string_view(*more).substr(0, overlap);
    if (!more || rewritten) {
        if (platform::fileExists(followed_))
            try {
                loadFile(followed_);
            } catch (const Failure&) {  // it is being replaced: the next look reads it
            }
        return;
    }
    if (more->size() == overlap)
        return;
    QScrollBar* v = verticalScrollBar();
    const bool atEnd = v->value() >= v->maximum();
    const std::size_t lastLine = text_.lineCount() > 0 ? text_.lineCount() - 1 : 0;  // it may go on
    text_.append(std::string_view(*more).substr(overlap));
    ++revision_;
    measure(lastLine);
    layoutRows(lastLine);
    if (atEnd)
        v->setValue(v->maximum());
    viewport()->update();
}

// ---- find ------------------------------------------------------------------------------------

OutputView::Search OutputView::find(const QString& needle, bool matchCase, bool backwards)
{
    stopSearch();
    if (needle.isEmpty() || FindUnencodable(needle).count > 0)  // such a text cannot be in the file
        return Search::NotFound;
    std::string bytes = encodeLines(needle);
    bytes.resize(bytes.size() - 2);
    const std::size_t from = backwards ? std::min(anchor_, caret_) : std::max(anchor_, caret_);
    if (text_.size() < BackgroundSearch) {
        const std::size_t found = FindAround(text_.bytes(), bytes, matchCase, from, backwards);
        if (found == NotFound)
            return Search::NotFound;
        select(found, found + bytes.size());
        return Search::Found;
    }
    searching_ = true;
    const unsigned generation = ++generation_;
    worker_ = std::thread([this, text = text_.share(), bytes, matchCase, from, backwards, generation] {
        const std::size_t found = FindAround(*text, bytes, matchCase, from, backwards, &stop_);
        QMetaObject::invokeMethod(
            this, [this, generation, found, size = bytes.size()] { finishSearch(generation, found, size); },
            Qt::QueuedConnection);
    });
    return Search::Running;
}

void OutputView::finishSearch(unsigned generation, std::size_t found, std::size_t length)
{
    if (generation != generation_ || !searching_)
        return;
    searching_ = false;
    if (worker_.joinable())
        worker_.join();
    if (found != NotFound)
        select(found, found + length);
    emit searchDone(found != NotFound);
}

void OutputView::stopSearch()
{
    if (worker_.joinable()) {
        stop_ = true;
        worker_.join();
        stop_ = false;
    }
    if (searching_) {
        searching_ = false;
        ++generation_;
    }
}

// ---- the text areas' functions ---------------------------------------------------------------

void LoadTextArea(OutputView* view, const std::string& path) { view->loadFile(path); }

void ShowBytes(OutputView* view, std::string_view bytes, const std::string&) { view->showBytes(std::string(bytes)); }

Lines GetLines(OutputView* view)
{
    Lines lines;
    lines.reserve(view->text().lineCount());
    for (std::size_t i = 0; i < view->text().lineCount(); ++i)
        lines.emplace_back(view->text().line(i));
    return lines;
}

void SetLines(OutputView* view, const Lines& lines, const std::string&) { view->showBytes(joinLines(lines)); }

void ShowModel(OutputView* view, int k) { SetLines(view, ModelLines(k), ModelPath(k)); }

}  // namespace tarnix
