#include "viewer.h"

#include <QPlainTextEdit>

#include "form.h"
#include "output_view.h"
#include "text_area.h"
#include "text_file.h"
#include "fonts.h"

namespace tarnix {

void ShowFileInViewer(Form* viewer, OutputView* memo, const std::string& path)
{
    memo->loadFile(path);
    viewer->Show();
}

namespace {

template <class Pane>
Pane* setUpMemo(Pane* memo, const char* initialLine, bool fixedPitch, bool scrollBoth)
{
    memo->setPlainText(QString::fromLatin1(initialLine));
    if (fixedPitch)
        memo->setFont(FixedPitchFont());
    if (scrollBoth) {
        if constexpr (std::is_base_of_v<QPlainTextEdit, Pane>)
            memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    return memo;
}

}  // namespace

QPlainTextEdit* makeViewerMemo(QPlainTextEdit* memo, const char* initialLine, bool fixedPitch, bool scrollBoth)
{
    return setUpMemo(memo, initialLine, fixedPitch, scrollBoth);
}

OutputView* makeViewerMemo(OutputView* memo, const char* initialLine, bool fixedPitch, bool scrollBoth)
{
    return setUpMemo(memo, initialLine, fixedPitch, scrollBoth);
}

}  // namespace tarnix
