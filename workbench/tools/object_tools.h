// What the object tools share: the object text handed to the engine (a text area's lines,
// written to WorkDir + "cgl.ari" when their brackets balance) and the object list.
#pragma once

#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace tarnix {

struct ObjectListGroup;

// Saves the area's lines to WorkDir + "cgl.ari" and returns true when every kind of bracket
// balances; otherwise shows the bracket counts ("Res= 1 Ob= 3 Cb= 2"), writes nothing and
// returns false.
bool SaveObjectText(QPlainTextEdit* area);
// Shows the bracket counts of the area's text, balanced or not.
void ShowBracketCounts(QPlainTextEdit* area);

// Sends the object-list goal. When the engine answers "0", `show` puts the list into the
// window, `countField` shows the result value as it stands and ObjectCount takes its value
// (the conversion error when it is not a whole number). Otherwise nothing more happens: the
// gateway has shown its message.
void LoadObjectList(QLineEdit* countField, const std::function<void()>& show);
// Refuses a group of the object list with a line too long to show ("Line too long to show"),
// which would stop the window answering while it is laid out.
void CheckGroupFitsToShow(const ObjectListGroup& group);

}  // namespace tarnix
