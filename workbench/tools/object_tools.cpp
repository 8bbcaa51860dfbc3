#include "object_tools.h"

#include <QLineEdit>

#include "Unit4.h"
#include "qt_text.h"
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

void LoadObjectList(QLineEdit* countField, const std::function<void()>& show)
{
    std::string code, value;
    RunGoal(goals::ObjectList, code, value);
    if (code != "0")
        return;
    show();
    countField->setText(toQt(value));
    context.ObjectCount = StrToInt(value);
}

void CheckGroupFitsToShow(const ObjectListGroup& group)
{
    for (const std::string* line : {&group.number, &group.text1, &group.text2})
        if (line->size() > LongestShownLine)
            CheckLinesFitToShow({*line}, context.WorkDir + context.ObjectListFile);
}

}  // namespace tarnix
