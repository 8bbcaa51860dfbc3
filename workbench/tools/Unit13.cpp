#include "Unit13.h"

#include <QLabel>

#include "string_grid.h"
#include "window_layout.h"

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
    Label1 = make<QLabel>("Label1", QStringLiteral("Project:"));
    StringGrid1 = make<StringGrid>("StringGrid1", 3, 5);
    StringGrid1->SetColWidths({64, 269, 636});
    stackControls(this, {Label1, StringGrid1});
}

}  // namespace tarnix
