// Where a window appears, and that it comes back there: no larger than the screen's free area
// and wholly on it; the size, place and splitter positions the user left it with last time, kept
// per user in the toolkit's own settings (never in "Ordo.ini", which the engine programs read too);
// a window shown for the first time beside the window it was opened from, not at the screen's
// corner.
#pragma once

#include <QRect>

class QWidget;

namespace tarnix {

// `frame` (a window's outer rectangle) made to fit `available`: shrunk to it where larger, then
// moved onto it.
QRect FitInto(const QRect& frame, const QRect& available);

// Before a window is first shown: its remembered place, or else beside `opener` (when there is
// one); on the screen in any case.
void PlaceWindow(QWidget* window, const QWidget* opener);
// Keeps the window's size, place and splitter positions for the next showing, in this run or
// the next.
void RememberWindow(const QWidget* window);

}  // namespace tarnix
