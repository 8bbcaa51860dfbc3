#include "object_text.h"

#include "Unit4.h"
#include "text_area.h"

namespace tarnix {
namespace {

BracketCheck checkArea(QPlainTextEdit* area) { return CheckBrackets(joinLines(GetLines(area))); }

}  // namespace

bool SaveObjectText(QPlainTextEdit* area)
{
    const BracketCheck check = checkArea(area);
    if (check.flag == 1) {
        ShowMessage(BracketMessage(check));
        return false;
    }
    SaveTextArea(area, context.WorkDir + files::ObjectFrame);
    return true;
}

void ShowBracketCounts(QPlainTextEdit* area) { ShowMessage(BracketMessage(checkArea(area))); }

}  // namespace tarnix
