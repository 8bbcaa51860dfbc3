#include "Unit15.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "qt_text.h"
#include "string_functions.h"

namespace tarnix {

TForm15* Form15 = nullptr;

TForm15::TForm15(QWidget* parent) : Form("Form15", parent)
{
    setWindowTitle(QStringLiteral("Form15"));
    createControls();
    resize(420, sizeHint().height());
    onClick(Button1, [this] { Button1Click(); });
    onClick(Button2, [this] { Button2Click(); });
}

void TForm15::createControls()
{
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    auto* rows = new QFormLayout;
    edFun = addField(rows, Label1, "Label1", "Function", "edFun");
    eda1 = addField(rows, a1, "a1", "A1", "eda1");
    eda2 = addField(rows, Label2, "Label2", "A2", "eda2");
    eda3 = addField(rows, Label4, "Label4", "A3", "eda3");
    edres = addField(rows, Label5, "Label5", "Result", "edres");
    column->addLayout(rows);

    auto* buttons = new QHBoxLayout;
    Button1 = make<QPushButton>("Button1", QStringLiteral("Exec"));
    Button2 = make<QPushButton>("Button2", QStringLiteral("Exit"));
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    column->addLayout(buttons);
    column->addStretch();
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
}

void TForm15::Button1Click()
{
    const std::string name = fromQt(edFun->text());
    const std::string A1 = fromQt(eda1->text());
    const std::string A2 = fromQt(eda2->text());
    const std::string A3 = fromQt(eda3->text());
    // The status bar says what the result field cannot: that nothing ran, or nothing was found.
    statusBar()->clearMessage();
    if (name == "sub") {
        edres->setText(toQt(SubstAll(A1, A2, A3)));
    } else if (name == "delsub") {
        edres->setText(toQt(DelSub(A1, A2)));
    } else if (name == "delseq") {
        edres->setText(toQt(DelSeq(A1)));
    } else if (name == "findsub") {
        const auto start = FindSub(A1, A2);
        edres->setText(start ? QString::number(*start) : QString());
        if (!start)
            statusBar()->showMessage(QStringLiteral("Not found"));
    } else {
        statusBar()->showMessage(QStringLiteral("Unknown function \"%1\": sub, delsub, delseq or findsub").arg(toQt(name)));
    }
}

void TForm15::Button2Click() { Close(); }

}  // namespace tarnix
