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
// The controls from top to bottom as the window's content; the last takes the spare height.
void stackControls(QMainWindow* window, std::initializer_list<QWidget*> controls);

}  // namespace tarnix
