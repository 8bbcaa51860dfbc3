#include "Unit7.h"

#include <QListWidget>

namespace tarnix {

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : Form("Form7", parent)
{
    setWindowTitle(QStringLiteral("Form7"));
    resize(400, 300);
    ListBox1 = make<QListWidget>("ListBox1");
    setCentralWidget(ListBox1);
}

}  // namespace tarnix
