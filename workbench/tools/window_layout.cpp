#include "window_layout.h"

#include <QHBoxLayout>
#include <QMainWindow>
#include <QVBoxLayout>
#include <iterator>

namespace tarnix {

QWidget* controlRow(std::initializer_list<std::pair<QWidget*, int>> controls)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto& [control, stretch] : controls) {
        if (control)
            layout->addWidget(control, stretch);
        else
            layout->addStretch(stretch);
    }
    return row;
}

void stackControls(QMainWindow* window, std::initializer_list<QWidget*> controls)
{
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    for (QWidget* control : controls)
        layout->addWidget(control, control == *std::prev(controls.end()) ? 1 : 0);
    window->setCentralWidget(central);
}

}  // namespace tarnix
