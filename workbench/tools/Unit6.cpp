#include "output_view.h"
#include "Unit6.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>

#include "find_bar.h"
#include "Unit2.h"
#include "Unit4.h"
#include "Unit8.h"
#include "qt_text.h"
#include "text_area.h"
#include "viewer.h"
#include "window_layout.h"

namespace tarnix {

TForm6* Form6 = nullptr;

namespace {


// The rule identifier of a trace-list entry: its text before the first blank.
std::string ruleOf(const std::string& entry)
{
    const std::size_t blank = entry.find(' ');
    return blank == std::string::npos ? std::string() : entry.substr(0, blank);
}

}  // namespace

TForm6::TForm6(QWidget* parent) : Form("Form6", parent)
{
    setWindowTitle(QStringLiteral("Rule execution"));
    resize(1024, 682);
    createControls();
    AddFindBar(this);
    createMenu();
    onClick(bbRun, [this] { bbRunClick(); });
    onClick(bbTrace, [this] { bbTraceClick(); });
    onClick(Button8, [this] { Button8Click(); });
    connect(ListBox1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { dispatch([this, item] { ListBox1Click(fromQt(item->text())); }); });
}

// ---- controls ------------------------------------------------------------------------------

void TForm6::createControls()
{
    stackControls(this, {createButtonBar(), createPanes()});
}

QWidget* TForm6::createButtonBar()
{
    Button1 = make<QPushButton>("Button1", QStringLiteral("Next"));
    Button2 = make<QPushButton>("Button2", QStringLiteral("Prev"));
    Button3 = make<QPushButton>("Button3", QStringLiteral("New"));
    bbRun = make<QPushButton>("bbRun", QStringLiteral("Run"));
    bbTrace = make<QPushButton>("bbTrace", QStringLiteral("Trace"));
    Button7 = make<QPushButton>("Button7", QStringLiteral("Save"));
    Button8 = make<QPushButton>("Button8", QStringLiteral("Exit"));
    const auto field = [this](QLabel*& label, const char* labelName, QLineEdit*& edit, const char* name,
                              const char* caption, int width) {
        label = make<QLabel>(labelName, QString::fromLatin1(caption));
        edit = make<QLineEdit>(name);
        edit->setMaximumWidth(width);
        label->setBuddy(edit);
    };
    field(Label5, "Label5", edLM, "edLM", "Model", 60);
    field(Label7, "Label7", edRule, "edRule", "Rule", 120);
    field(Label6, "Label6", edRM, "edRM", "Model", 60);
    QWidget* bar = controlRow({{Button1, 0}, {Button2, 0}, {Button3, 0}, {bbRun, 0}, {bbTrace, 0}, {Button7, 0},
                               {Button8, 0}, {Label5, 0}, {edLM, 0}, {Label7, 0}, {edRule, 0}, {Label6, 0}, {edRM, 0},
                               {nullptr, 1}});
    // Out of sight, as they always were.
    for (auto [edit, name] : {std::pair{&Edit2, "Edit2"}, std::pair{&Edit3, "Edit3"}, std::pair{&Edit4, "Edit4"}}) {
        *edit = make<QLineEdit>(name);
        (*edit)->setParent(bar);
        (*edit)->hide();
    }
    return bar;
}

QWidget* TForm6::createPanes()
{
    ListBox1 = make<QListWidget>("ListBox1");
    ListBox1->setUniformItemSizes(true);
    Memo1 = make<OutputView>("Memo1");
    Memo2 = make<OutputView>("Memo2");
    for (OutputView* memo : {Memo1, Memo2}) {
        memo->setPlainText(memo->objectName());
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(ListBox1);
    splitter->addWidget(Memo1);
    splitter->addWidget(Memo2);
    splitter->setSizes({320, 350, 350});
    return splitter;
}

void TForm6::createMenu()
{
    File1 = menuBar()->addMenu(QStringLiteral("File"));
    File1->setObjectName(QStringLiteral("File1"));
}

// ---- commands ------------------------------------------------------------------------------

void TForm6::bbRunClick()
{
    const std::int32_t model = StrToIntDef(fromQt(edLM->text()), 0);
    if (model == 0)
        showModels(0, 1);
    else if (model == 1)
        showModels(1, 2);
}

void TForm6::showModels(int left, int right)
{
    std::string code, value;
    RunGoal(left == 0 ? goals::RunModel0 : goals::RunModel1, code, value);
    ShowModel(Memo1, left);
    ShowModel(Memo2, right);
}

void TForm6::bbTraceClick()
{
    std::string code, value;
    RunGoal(goals::TraceList, code, value);
    Lines list;
    ReadWorkLines(files::TraceListFile, list);
    CheckLinesFitToShow(list, context.WorkDir + files::TraceListFile);
    RefreshTraceList();
    ShowTraceList(list);
    Form2->Show();
}

void TForm6::ShowTraceList(const Lines& list)
{
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(list.size()));
    for (const std::string& line : list)
        entries.push_back(decodeLines(line));  // one line: no break to drop
    ListBox1->clear();
    ListBox1->addItems(entries);
}

void TForm6::ListBox1Click(const std::string& entry)
{
    const std::string rule = ruleOf(entry);
    edRule->setText(toQt(rule));
    showTrace(rule);
    std::string code, value;
    RunGoal(goals::RuleExplanation(rule), code, value);
    Form2->edRn->setText(toQt(rule));
    LoadTextArea(Form2->Memo1, context.WorkDir + files::RuleExplanationFile);
    RunGoal(goals::BackExplanation(rule), code, value);
    ShowFileInViewer(Form8, Form8->Memo1, context.WorkDir + files::BackExplanationFile);
}

void TForm6::showTrace(const std::string& rule)
{
    std::string code, value;
    RunGoal(goals::TraceRule(rule), code, value);
    const std::string path = context.WorkDir + files::TraceRuleFile;
    const auto sections = TraceSections(readLines(path));
    SetLines(Memo1, sections[0], path);
    SetLines(Memo2, sections[1], path);
}

void TForm6::Button8Click()
{
    Close();
    Form2->Close();
}

}  // namespace tarnix
