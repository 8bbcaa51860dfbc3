#include "viewer.h"

#include <QPlainTextEdit>

#include "form.h"
#include "text_area.h"
#include "text_file.h"
#include "fonts.h"

namespace tarnix {

void ShowFileInViewer(Form* viewer, QPlainTextEdit* memo, const std::string& path)
{
    LoadTextArea(memo, path);
    viewer->Show();
}

QPlainTextEdit* makeViewerMemo(QPlainTextEdit* memo, const char* initialLine, bool fixedPitch, bool scrollBoth)
{
    memo->setPlainText(QString::fromLatin1(initialLine));
    if (fixedPitch)
        memo->setFont(FixedPitchFont());
    if (scrollBoth) {
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    return memo;
}

}  // namespace tarnix
