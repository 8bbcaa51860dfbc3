#include "output_view.h"
#include "Unit8.h"

#include <QPlainTextEdit>

#include "find_bar.h"
#include "viewer.h"

namespace tarnix {

TForm8* Form8 = nullptr;

TForm8::TForm8(QWidget* parent) : Form("Form8", parent)
{
    setWindowTitle(QStringLiteral("Form8"));
    resize(560, 420);
    Memo1 = makeViewerMemo(make<OutputView>("Memo1"), "Memo1", true, false);
    setCentralWidget(Memo1);
    AddFindBar(this);
}

}  // namespace tarnix
