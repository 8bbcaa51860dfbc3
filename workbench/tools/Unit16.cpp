#include "Unit16.h"

#include <QPlainTextEdit>

#include "output_view.h"
#include "find_bar.h"
#include "viewer.h"

namespace tarnix {

TForm16* Form16 = nullptr;

TForm16::TForm16(QWidget* parent) : Form("Form16", parent)
{
    setWindowTitle(QStringLiteral("Form16"));
    resize(640, 480);
    memtxt = makeViewerMemo(make<OutputView>("memtxt"), "memtxt", true, true);
    setCentralWidget(memtxt);
    AddFindBar(this);
}

}  // namespace tarnix
