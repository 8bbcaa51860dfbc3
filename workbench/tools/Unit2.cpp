#include "Unit2.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "viewer.h"

namespace tarnix {

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : Form("Form2", parent)
{
    setWindowTitle(QStringLiteral("M1"));
    resize(640, 480);
    createControls();
    createMenu();
}

void TForm2::createControls()
{
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(createTopBar());
    Memo1 = makeViewerMemo(make<QPlainTextEdit>("Memo1"), "Memo1", false, true);
    layout->addWidget(Memo1, 1);
    setCentralWidget(central);
}

QWidget* TForm2::createTopBar()
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    edRn = make<QLineEdit>("edRn");
    edRn->setMaximumWidth(120);
    row->addWidget(edRn);
    Button1 = make<QPushButton>("Button1", QStringLiteral("Run"));
    Button2 = make<QPushButton>("Button2", QStringLiteral("M1"));
    Button3 = make<QPushButton>("Button3", QStringLiteral("M2"));
    Button4 = make<QPushButton>("Button4", QStringLiteral("M3"));
    for (QPushButton* button : {Button1, Button2, Button3, Button4})
        row->addWidget(button);
    row->addStretch(1);
    return bar;
}

void TForm2::createMenu()
{
    File1 = menuBar()->addMenu(QStringLiteral("File"));
    File1->setObjectName(QStringLiteral("File1"));
}

}  // namespace tarnix
