#include "Unit18.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt_text.h"
#include "string_functions.h"
#include "fonts.h"

namespace tarnix {

TForm18* Form18 = nullptr;

TForm18::TForm18(QWidget* parent) : Form("Form18", parent)
{
    setWindowTitle(QStringLiteral("Form18"));
    createControls();
    resize(520, sizeHint().height());
    onClick(bbExec, [this] { bbExecClick(); });
}

void TForm18::createControls()
{
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);

    auto* bar = new QHBoxLayout;
    Substitution = make<QLabel>("Substitution", QStringLiteral("Substitution"));
    bbExec = make<QPushButton>("bbExec", QStringLiteral("Exec"));
    bar->addWidget(Substitution);
    bar->addStretch();
    bar->addWidget(bbExec);
    column->addLayout(bar);

    // Fixed pitch, so the result lines up with the input under it.
    const QFont fixed = FixedPitchFont(QStringLiteral("Courier New"));
    auto* rowsBox = new QWidget;
    rowsBox->setFont(fixed);
    auto* rows = new QFormLayout(rowsBox);
    rows->setContentsMargins(0, 0, 0, 0);
    edInp = addField(rows, Label2, "Label2", "Input string", "edInp");
    edPatt = addField(rows, Label1, "Label1", "Pattern", "edPatt");
    edRepl = addField(rows, Label4, "Label4", "Replace by", "edRepl");
    edRes = addField(rows, Label3, "Label3", "Result string", "edRes");
    column->addWidget(rowsBox);
    column->addStretch();

    lb1 = make<QLabel>("lb1", QStringLiteral("Substitution"), central);
    lb1->hide();
    setCentralWidget(central);
}

void TForm18::bbExecClick()
{
    edRes->setText(toQt(Substitute(fromQt(edInp->text()), fromQt(edPatt->text()), fromQt(edRepl->text()))));
}

}  // namespace tarnix
