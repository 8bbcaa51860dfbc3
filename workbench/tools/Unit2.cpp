#include "output_view.h"
#include "Unit2.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "find_bar.h"
#include "viewer.h"
#include "window_layout.h"

namespace tarnix {

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : Form("Form2", parent)
{
    setWindowTitle(QStringLiteral("M1"));
    resize(640, 480);
    createControls();
    AddFindBar(this);
    createMenu();
}

void TForm2::createControls()
{
    edRn = make<QLineEdit>("edRn");
    edRn->setMaximumWidth(120);
    Button1 = make<QPushButton>("Button1", QStringLiteral("Run"));
    Button2 = make<QPushButton>("Button2", QStringLiteral("M1"));
    Button3 = make<QPushButton>("Button3", QStringLiteral("M2"));
    Button4 = make<QPushButton>("Button4", QStringLiteral("M3"));
    Memo1 = makeViewerMemo(make<OutputView>("Memo1"), "Memo1", false, true);
    QWidget* topBar = controlRow({{edRn, 0}, {Button1, 0}, {Button2, 0}, {Button3, 0}, {Button4, 0}, {nullptr, 1}});
    stackControls(this, {topBar, Memo1});
}

void TForm2::createMenu()
{
    File1 = menuBar()->addMenu(QStringLiteral("File"));
    File1->setObjectName(QStringLiteral("File1"));
}

}  // namespace tarnix
