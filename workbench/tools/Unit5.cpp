#include "output_view.h"
#include "Unit5.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "Unit4.h"
#include "Unit6.h"
#include "qt_text.h"
#include "text_area.h"
#include "window_layout.h"
#include "fonts.h"

namespace tarnix {

TForm5* Form5 = nullptr;

namespace {

std::string text(const QLineEdit* edit) { return fromQt(edit->text()); }

}  // namespace

TForm5::TForm5(QWidget* parent) : Form("Form5", parent)
{
    setWindowTitle(QStringLiteral("Rules"));
    resize(886, 640);
    createControls();
    createMenu();
    onClick(bbPrtev, [this] { bbPrtevClick(); });
    onClick(bbNext, [this] { bbNextClick(); });
    onClick(bbAdd, [this] { bbAddClick(); });
    onClick(bbUpdate, [this] { bbUpdateClick(); });
    onClick(bbDelete, [this] { bbDeleteClick(); });
    onClick(bbCheck, [this] { bbCheckClick(); });
    onClick(bbRun, [this] { bbRunClick(); });
    onClick(bbExit, [this] { bbExitClick(); });
}

// ---- controls ------------------------------------------------------------------------------

void TForm5::createControls()
{
    bbPrtev = make<QPushButton>("bbPrtev", QStringLiteral("Prev"));
    bbNext = make<QPushButton>("bbNext", QStringLiteral("Next"));
    bbAdd = make<QPushButton>("bbAdd", QStringLiteral("Add"));
    bbUpdate = make<QPushButton>("bbUpdate", QStringLiteral("Update"));
    bbRun = make<QPushButton>("bbRun", QStringLiteral("Run"));
    bbSave = make<QPushButton>("bbSave", QStringLiteral("Save"));
    bbDelete = make<QPushButton>("bbDelete", QStringLiteral("Delete"));
    bbCheck = make<QPushButton>("bbCheck", QStringLiteral("Check"));
    bbExit = make<QPushButton>("bbExit", QStringLiteral("Exit"));
    QWidget* buttons = controlRow({{bbPrtev, 0}, {bbNext, 0}, {bbAdd, 0}, {bbUpdate, 0}, {bbRun, 0}, {bbSave, 0},
                                   {bbDelete, 0}, {bbCheck, 0}, {bbExit, 0}, {nullptr, 1}});
    stackControls(this, {buttons, createFields()});
}

QWidget* TForm5::createFields()
{
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto label = [&](QLabel*& control, const char* name, const char* caption, QWidget* buddy) {
        control = make<QLabel>(name, QString::fromLatin1(caption));
        control->setBuddy(buddy);
        return control;
    };
    edNum = make<QLineEdit>("edNum");
    edType = make<QLineEdit>("edType");
    edKbNm = make<QLineEdit>("edKbNm");
    edKbNm->setReadOnly(true);  // the set shown is the set written
    edFile = make<QLineEdit>("edFile");
    grid->addWidget(controlRow({{label(Label1, "Label1", "Number", edNum), 0}, {edNum, 0},
                                {label(Label4, "Label4", "Type", edType), 0}, {edType, 0},
                                {label(Label3, "Label3", "KB Name", edKbNm), 0}, {edKbNm, 0},
                                {label(Label2, "Label2", "File", edFile), 0}, {edFile, 1}}),
                    0, 0, 1, 2);

    QFont courier = FixedPitchFont(QStringLiteral("Courier New"));
    courier.setPixelSize(18);
    // Each box titled, so which is which stays plain once a rule fills them.
    const auto memo = [&](QPlainTextEdit*& area, const char* name, const char* initial, const char* title, int row,
                          int col) {
        area = make<QPlainTextEdit>(name, QString::fromLatin1(initial));
        area->setPlaceholderText(QString::fromLatin1(initial));
        area->setFont(courier);
        area->setTabChangesFocus(true);
        auto* caption = new QLabel(QString::fromLatin1(title));
        caption->setObjectName(QStringLiteral("lb") + QString::fromLatin1(name + 2));
        caption->setBuddy(area);
        grid->addWidget(caption, row, col);
        grid->addWidget(area, row + 1, col);
    };
    memo(mmComm, "mmComm", "Comment", "Comment", 1, 0);
    memo(mmP4, "mmP4", "Result", "Result", 1, 1);
    memo(mmP2, "mmP2", "Model2", "Model 2", 3, 0);
    memo(mmP3, "mmP3", "Model 1", "Model 1", 3, 1);
    grid->setRowStretch(2, 1);
    grid->setRowStretch(4, 2);
    return box;
}

void TForm5::createMenu()
{
    File1 = menuBar()->addMenu(QStringLiteral("File"));
    File1->setObjectName(QStringLiteral("File1"));
}

// ---- showing and storing a rule ------------------------------------------------------------

void TForm5::ShowOb()
{
    edKbNm->setText(QString::number(context.RuleSetNo));
    if (!isRuleSet(context.RuleSetNo))
        return;
    const rcont& rule = context.RuleSets[context.RuleSetNo].entries[context.RuleCursor];
    CheckRuleFitsToShow(rule, RuleSetPath(context.RuleSetNo));
    mmComm->setPlainText(toQt(rule.Comment));
    edType->setText(toQt(rule.Type));
    mmP2->setPlainText(toQt(rule.P2));
    mmP3->setPlainText(toQt(rule.P3));
    mmP4->setPlainText(toQt(rule.P4));
    edNum->setText(toQt(rule.Number));
}

rcont TForm5::fieldsFromBoxes() const
{
    rcont fields;
    fields.Comment = OneLineText(mmComm);
    fields.Type = text(edType);
    fields.P2 = OneLineText(mmP2);
    fields.P3 = OneLineText(mmP3);
    fields.P4 = OneLineText(mmP4);
    for (const std::string* field : {&fields.Comment, &fields.Type, &fields.P2, &fields.P3, &fields.P4})
        if (field->size() > LongestShownLine)
            throw Failure("Not stored: a field of the rule is over " + std::to_string(LongestShownLine) +
                          " characters on one line, too long to show again");
    return fields;
}

// A rule whose fields could not be shown again is refused before anything changes.
void TForm5::ReadOb()
{
    const rcont fields = fieldsFromBoxes();
    edNum->setText(QString::number(context.RuleCursor));
    edKbNm->setText(QString::number(context.RuleSetNo));
    if (!isRuleSet(context.RuleSetNo))
        return;
    rcont& rule = context.RuleSets[context.RuleSetNo].entries[context.RuleCursor];
    rule.Comment = fields.Comment;
    rule.Type = fields.Type;
    rule.P2 = fields.P2;
    rule.P3 = fields.P3;
    rule.P4 = fields.P4;
}

void TForm5::SendRuleSet()
{
    const int k = context.RuleSetNo;
    if (!isRuleSet(k))
        return;
    WriteRuleSet(k, RuleSetPath(k));
    std::string code, value;
    RunGoal(goals::LoadRuleSet(k), code, value);
}

// ---- commands ------------------------------------------------------------------------------

void TForm5::showAt(std::int32_t cursor)
{
    const std::int32_t before = context.RuleCursor;
    context.RuleCursor = cursor;
    try {
        ShowOb();
    } catch (...) {
        context.RuleCursor = before;  // Update and Delete act on the rule the boxes show
        throw;
    }
}

void TForm5::bbNextClick()
{
    if (!isRuleSet(context.RuleSetNo))
        return ShowOb();
    const std::int32_t count = context.RuleSets[context.RuleSetNo].count;
    showAt(context.RuleCursor >= count ? 1 : context.RuleCursor + 1);
}

void TForm5::bbPrtevClick()
{
    if (!isRuleSet(context.RuleSetNo))
        return ShowOb();
    const std::int32_t count = context.RuleSets[context.RuleSetNo].count;
    showAt(context.RuleCursor <= 1 ? count : context.RuleCursor - 1);
}

void TForm5::bbAddClick()
{
    const int k = context.RuleSetNo;
    if (!isRuleSet(k))
        return;
    rules& set = context.RuleSets[k];
    fieldsFromBoxes();  // the new rule's texts must be storable before anything changes
    if (set.count >= MaxRulesRead)
        throw Failure("Rule set " + std::to_string(k) + " is full: a set file keeps " + std::to_string(MaxRulesRead) +
                      " rules");
    const std::int32_t last = StrToInt(set.entries[set.count].Number);
    if (last == INT32_MAX)
        throw OverflowError();
    rcont& added = set.entries[set.count + 1];  // a full set stops here, before anything changes
    added.Number = std::to_string(last + 1);
    set.count += 1;
    context.RuleCursor = set.count;
    ReadOb();
    SendRuleSet();
}

void TForm5::bbUpdateClick()
{
    ReadOb();
    SendRuleSet();
}

void TForm5::bbDeleteClick()
{
    for (QPlainTextEdit* area : {mmComm, mmP2, mmP3, mmP4})
        area->clear();
    const int k = context.RuleSetNo;
    if (isRuleSet(k))
        context.RuleSets[k].entries[context.RuleCursor] = rcont{};
    SendRuleSet();
}

void TForm5::bbCheckClick()
{
    context.CheckedRule = {text(edNum), OneLineText(mmComm), text(edType), OneLineText(mmP2), OneLineText(mmP3),
                           OneLineText(mmP4)};
    WriteCheckRule();
    std::string code, value;
    RunGoal(goals::CheckRule, code, value);
}

void TForm5::bbRunClick()
{
    Form6->Show();
    Form6->Memo1->clear();
    Form6->Memo2->clear();
}

void TForm5::bbExitClick() { Close(); }

}  // namespace tarnix
