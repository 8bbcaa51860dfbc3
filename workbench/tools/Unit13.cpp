#include "Unit13.h"

#include <QLabel>
#include <QVBoxLayout>

#include "string_grid.h"

namespace tarnix {

TForm13* Form13 = nullptr;

TForm13::TForm13(QWidget* parent) : Form("Form13", parent)
{
    setWindowTitle(QStringLiteral("Parameters"));
    resize(1000, 300);
    createControls();
}

void TForm13::createControls()
{
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    Label1 = make<QLabel>("Label1", QStringLiteral("Project:"));
    layout->addWidget(Label1);
    StringGrid1 = make<StringGrid>("StringGrid1", 3, 5);
    StringGrid1->SetColWidths({64, 269, 636});
    layout->addWidget(StringGrid1, 1);
    setCentralWidget(central);
}

}  // namespace tarnix
