// The object text the object tools hand to the engine: a text area's lines, written to
// WorkDir + "cgl.ari" when their brackets balance.
#pragma once

class QPlainTextEdit;

namespace tarnix {

// Saves the area's lines to WorkDir + "cgl.ari" and returns true when every kind of bracket
// balances; otherwise shows the bracket counts ("Res= 1 Ob= 3 Cb= 2"), writes nothing and
// returns false.
bool SaveObjectText(QPlainTextEdit* area);
// Shows the bracket counts of the area's text, balanced or not.
void ShowBracketCounts(QPlainTextEdit* area);

}  // namespace tarnix
