// Colours rule text: comments ("%" to the end of the line), quoted texts, numbers, the word
// before "(" of a term and the brackets. A line needs nothing from the lines before it, so only
// the lines near the screen are coloured: a 10 MB rule file loads and takes keystrokes as fast
// as plain text.
#pragma once

#include <QObject>
#include <QTextCharFormat>

class QPlainTextEdit;
class QTextBlock;

namespace tarnix {

// What a character of a rule line is, for its colour.
enum class RulePart : char { Plain = '.', Comment = 'c', Quoted = 'q', Number = 'n', Word = 'w', Bracket = 'b' };

// The part of each character of one line of rule text.
std::basic_string<RulePart> RuleParts(const QString& line);
// The colour of a part; no colour (invalid) for plain text.
QColor RulePartColour(RulePart part);

class RuleColouring : public QObject {
    Q_OBJECT

public:
    // Colours the text of `pane`: the lines on screen, and the others as they come into view.
    explicit RuleColouring(QPlainTextEdit* pane);

private:
    void forget(int from, int removed, int added);
    void colourShownLines();
    void colour(const QTextBlock& block);

    QPlainTextEdit* pane_;
    QTextCharFormat formats_[6];
};

}  // namespace tarnix
