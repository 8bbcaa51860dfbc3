#include "rule_colouring.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace tarnix {
namespace {

// The state of a line that has its colours; a new or changed line has another.
constexpr int Coloured = 1;

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

int index(RulePart part)
{
    switch (part) {
    case RulePart::Comment: return 1;
    case RulePart::Quoted: return 2;
    case RulePart::Number: return 3;
    case RulePart::Word: return 4;
    case RulePart::Bracket: return 5;
    default: return 0;
    }
}

}  // namespace

std::basic_string<RulePart> RuleParts(const QString& line)
{
    const qsizetype n = line.size();
    std::basic_string<RulePart> parts(static_cast<std::size_t>(n), RulePart::Plain);
    const auto mark = [&](qsizetype from, qsizetype to, RulePart part) {
        std::fill(parts.begin() + from, parts.begin() + to, part);
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = line[i];
        if (c == QLatin1Char('%')) {
            mark(i, n, RulePart::Comment);
            break;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype end = i + 1;  // a doubled quote stands for itself inside the text
            while (end < n && (line[end] != c || (end + 1 < n && line[end + 1] == c)))
                end += line[end] == c ? 2 : 1;
            end = std::min(end + 1, n);
            mark(i, end, RulePart::Quoted);
            i = end;
        } else if (isWordChar(c)) {
            qsizetype end = i;
            while (end < n && isWordChar(line[end]))
                ++end;
            bool digits = true;
            for (qsizetype k = i; k < end; ++k)
                digits = digits && line[k].isDigit();
            if (digits)
                mark(i, end, RulePart::Number);
            else if (end < n && line[end] == QLatin1Char('('))
                mark(i, end, RulePart::Word);
            i = end;
        } else {
            if (QStringLiteral("()[]").contains(c))
                parts[static_cast<std::size_t>(i)] = RulePart::Bracket;
            ++i;
        }
    }
    return parts;
}

QColor RulePartColour(RulePart part)
{
    switch (part) {
    case RulePart::Comment: return {0x6a, 0x73, 0x7d};
    case RulePart::Quoted: return {0x0a, 0x6e, 0x1e};
    case RulePart::Number: return {0x1f, 0x4e, 0xb4};
    case RulePart::Word: return {0x8a, 0x1c, 0x7c};
    case RulePart::Bracket: return {0xb3, 0x5c, 0x00};
    default: return {};
    }
}

RuleColouring::RuleColouring(QPlainTextEdit* pane) : QObject(pane), pane_(pane)
{
    for (const RulePart part : {RulePart::Comment, RulePart::Quoted, RulePart::Number, RulePart::Word, RulePart::Bracket})
        formats_[index(part)].setForeground(RulePartColour(part));
    connect(pane_->document(), &QTextDocument::contentsChange, this, &RuleColouring::forget);
    connect(pane_, &QPlainTextEdit::updateRequest, this, [this] { colourShownLines(); });
}

// An edit changes the lines at its two ends; the lines it makes between them are new, and so
// uncoloured already. A whole new text costs nothing here.
void RuleColouring::forget(int from, int, int added)
{
    for (QTextBlock block : {pane_->document()->findBlock(from), pane_->document()->findBlock(from + added)})
        if (block.isValid())
            block.setUserState(-1);
}

void RuleColouring::colourShownLines()
{
    QTextBlock block = pane_->cursorForPosition(QPoint(0, 0)).block();
    const int last = pane_->cursorForPosition(QPoint(0, pane_->viewport()->height())).blockNumber();
    for (; block.isValid() && block.blockNumber() <= last; block = block.next()) {
        if (block.userState() == Coloured)
            continue;
        colour(block);
        QTextCursor start(block), end(block);
        end.movePosition(QTextCursor::EndOfBlock);
        const QRect top = pane_->cursorRect(start), bottom = pane_->cursorRect(end);
        pane_->viewport()->update(0, top.top(), pane_->viewport()->width(), bottom.bottom() - top.top() + 1);
    }
}

void RuleColouring::colour(const QTextBlock& block)
{
    const QString text = block.text();
    const std::basic_string<RulePart> parts = RuleParts(text);
    QList<QTextLayout::FormatRange> ranges;
    for (qsizetype i = 0; i < text.size();) {
        const RulePart part = parts[static_cast<std::size_t>(i)];
        qsizetype end = i + 1;
        while (end < text.size() && parts[static_cast<std::size_t>(end)] == part)
            ++end;
        if (part != RulePart::Plain)
            ranges.append({static_cast<int>(i), static_cast<int>(end - i), formats_[index(part)]});
        i = end;
    }
    QTextBlock changed = block;
    changed.setUserState(Coloured);
    // Colours change no line's size: the lines are drawn anew, not laid out anew.
    block.layout()->setFormats(ranges);
}

}  // namespace tarnix
