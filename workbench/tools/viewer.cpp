#include "viewer.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

#include "form.h"
#include "text_area.h"
#include "text_file.h"

namespace tarnix {

void ShowFileInViewer(Form* viewer, QPlainTextEdit* memo, const std::string& path)
{
    // A line too long to lay out would freeze the viewer: such a file is refused, and the
    // memo keeps what it showed.
    const Lines lines = splitLines(loadFileBytes(path));
    CheckLinesFitToShow(lines, path);
    SetLines(memo, lines);
    viewer->Show();
}

QPlainTextEdit* makeViewerMemo(QPlainTextEdit* memo, const char* initialLine, bool fixedPitch, bool scrollBoth)
{
    memo->setPlainText(QString::fromLatin1(initialLine));
    if (fixedPitch)
        memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (scrollBoth) {
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    return memo;
}

}  // namespace tarnix
