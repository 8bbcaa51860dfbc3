// Laying out the controls of the small tool windows: rows of controls and a window's content
// stacked from top to bottom.
#pragma once

#include <initializer_list>
#include <utility>

class QMainWindow;
class QWidget;

namespace tarnix {

// The controls side by side, each with its share of the spare width; a null control is
// empty space taking its share.
QWidget* controlRow(std::initializer_list<std::pair<QWidget*, int>> controls);
// Buttons side by side from the left, going on in a new row where the window is too narrow
// for one (a large text scale on a small screen).
QWidget* wrappingRow(std::initializer_list<QWidget*> controls);
// The controls from top to bottom as the window's content; the last takes the spare height.
void stackControls(QMainWindow* window, std::initializer_list<QWidget*> controls);

}  // namespace tarnix
