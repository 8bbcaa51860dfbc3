#include "Unit17.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "string_grid.h"

namespace tarnix {

TForm17* Form17 = nullptr;

TForm17::TForm17(QWidget* parent) : Form("Form17", parent)
{
    setWindowTitle(QStringLiteral("Form17"));
    resize(900, 560);
    createControls();
}

void TForm17::createControls()
{
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(createEditRow());
    StringGrid1 = make<StringGrid>("StringGrid1", 5, 22);
    StringGrid1->SetColWidths({64, 106, 250, 354, 84});
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(StringGrid1, 1);
    setCentralWidget(central);
}

QWidget* TForm17::createEditRow()
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    edNum = make<QLineEdit>("edNum");
    edType = make<QLineEdit>("edType");
    Edit1 = make<QLineEdit>("Edit1");
    edText = make<QLineEdit>("edText");
    row->addWidget(edNum, 1);
    row->addWidget(edType, 1);
    row->addWidget(Edit1, 2);
    row->addWidget(edText, 4);
    return bar;
}

// Centred on the desktop whenever it is first shown.
void TForm17::FormShow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace tarnix
