#include "code_pane.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QTextBlock>

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
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (highlighted_ == 0)
            return;
        highlighted_ = 0;
        setExtraSelections({});
    });
    updateMargin();
}

void CodePane::setOutputOnly()
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void CodePane::goToLine(int line)
{
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    setTextCursor(cursor);
    centerCursor();
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(palette().color(QPalette::Highlight).lighter(170));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    mark.cursor = cursor;
    setExtraSelections({mark});
    highlighted_ = line;
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

void CodePane::updateMargin() { setViewportMargins(numberWidth(), 0, 0, 0); }

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
    const QRect area = contentsRect();
    numbers_->setGeometry(QRect(area.left(), area.top(), numberWidth(), area.height()));
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

void CodePane::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!isReadOnly()) {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    const QTextCursor cursor = cursorForPosition(event->position().toPoint());
    setTextCursor(cursor);
    emit lineChosen(cursor.block().text());
}

void CodePane::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        emit lineChosen(textCursor().block().text());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CodePane::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu(event->pos());
    if (!menuActions_.isEmpty()) {
        menu->addSeparator();
        menu->addActions(menuActions_);
    }
    menu->exec(event->globalPos());
    delete menu;
}

}  // namespace tarnix
