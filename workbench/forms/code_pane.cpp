#include "code_pane.h"

#include <QPainter>
#include <QTextBlock>

#include "rule_colouring.h"

namespace tarnix {
namespace {

// The margin with the line numbers; the pane paints it.
class NumberMargin : public QWidget {
public:
    explicit NumberMargin(CodePane* pane) : QWidget(pane), pane_(pane) {}
    QSize sizeHint() const override { return {pane_->numberWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { pane_->paintNumbers(event); }

private:
    CodePane* pane_;
};

}  // namespace

CodePane::CodePane(QWidget* parent) : QPlainTextEdit(parent), numbers_(new NumberMargin(this))
{
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { updateMargin(); });
    connect(this, &QPlainTextEdit::updateRequest, this, &CodePane::scrollNumbers);
    updateMargin();
}

CodePane::CodePane(const QString& text, QWidget* parent) : CodePane(parent) { setPlainText(text); }

void CodePane::setRuleText()
{
    new RuleColouring(this);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CodePane::markBrackets);
}

namespace {

// The position of the bracket that matches the one at `at`, or -1; the search gives up after
// Reach characters, so a keystroke costs the same in any size of text.
int matchingBracket(const QTextDocument* document, int at)
{
    constexpr int Reach = 20000;
    static const QString opening = QStringLiteral("(["), closing = QStringLiteral(")]");
    const QChar c = document->characterAt(at);
    const bool forward = opening.contains(c);
    const QChar other = forward ? closing[opening.indexOf(c)] : opening[closing.indexOf(c)];
    const int step = forward ? 1 : -1;
    int depth = 0;
    for (int p = at, n = 0; p >= 0 && p < document->characterCount() && n < Reach; p += step, ++n) {
        const QChar here = document->characterAt(p);
        if (here == c)
            ++depth;
        else if (here == other && --depth == 0)
            return p;
    }
    return -1;
}

}  // namespace

// The bracket just after the cursor, or else just before it, is marked with its match.
void CodePane::markBrackets()
{
    QList<QTextEdit::ExtraSelection> marks;
    const QTextDocument* doc = document();
    const int position = textCursor().position();
    int at = -1;
    for (const int candidate : {position, position - 1})
        if (at < 0 && candidate >= 0 && QStringLiteral("()[]").contains(doc->characterAt(candidate)))
            at = candidate;
    if (at >= 0) {
        const int match = matchingBracket(doc, at);
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(match >= 0 ? QColor(0xc8, 0xe6, 0xc9) : QColor(0xff, 0xb4, 0xb4));
        for (const int p : {at, match}) {
            if (p < 0)
                continue;
            mark.cursor = QTextCursor(document());
            mark.cursor.setPosition(p);
            mark.cursor.setPosition(p + 1, QTextCursor::KeepAnchor);
            marks.append(mark);
        }
    }
    setExtraSelections(marks);
}

std::pair<int, int> CodePane::cursorPlace() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.blockNumber() + 1, cursor.positionInBlock() + 1};
}

int CodePane::numberWidth() const
{
    int digits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10)
        ++digits;
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

// The margin widens with the number of digits the line count needs.
void CodePane::updateMargin()
{
    setViewportMargins(numberWidth(), 0, 0, 0);
    const QRect area = contentsRect();
    numbers_->setGeometry(QRect(area.left(), area.top(), numberWidth(), area.height()));
}

void CodePane::scrollNumbers(const QRect& rect, int dy)
{
    if (dy != 0)
        numbers_->scroll(0, dy);
    else
        numbers_->update(0, rect.y(), numbers_->width(), rect.height());
}

void CodePane::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    updateMargin();
}

// Only the lines on screen are visited: the cost does not grow with the text.
void CodePane::paintNumbers(QPaintEvent* event)
{
    QPainter painter(numbers_);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int current = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int width = numbers_->width() - 4;
    const int height = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event->rect().top()) {
            QFont font = painter.font();
            font.setBold(block.blockNumber() == current);
            painter.setFont(font);
            painter.drawText(0, top, width, height, Qt::AlignRight, QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
    }
}

}  // namespace tarnix
