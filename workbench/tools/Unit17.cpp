#include "Unit17.h"

#include <QLineEdit>

#include "string_grid.h"
#include "window_layout.h"

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
    edNum = make<QLineEdit>("edNum");
    edType = make<QLineEdit>("edType");
    Edit1 = make<QLineEdit>("Edit1");
    edText = make<QLineEdit>("edText");
    StringGrid1 = make<StringGrid>("StringGrid1", 5, 22);
    StringGrid1->SetColWidths({64, 106, 250, 354, 84});
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stackControls(this, {controlRow({{edNum, 1}, {edType, 1}, {Edit1, 2}, {edText, 4}}), StringGrid1});
}

// Centred on the desktop whenever it is first shown.
void TForm17::FormShow()
{
    centreOnDesktop(this);
}

}  // namespace tarnix
