#include "output_view.h"
#include "Unit1.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cctype>
#include <string_view>

#include "find_bar.h"
#include "Unit10.h"
#include "Unit14.h"
#include "Unit15.h"
#include "Unit18.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit6.h"
#include "Unit9.h"
#include "activation.h"
#include "platform/platform.h"
#include "qt_text.h"
#include "text_area.h"
#include "window_layout.h"

namespace tarnix {

TForm1* Form1 = nullptr;
std::function<void()> ShowWorkbench;

namespace {

const char* const GoalFileFilter = "ari файлы (*.ari)|*ARI|Все файлы (*.*)|*.*";
const char* const KbFileFilter = "idb файлы (*.idb)|*.idb|Все файлы (*.*)|*.*";
constexpr std::string_view KbExtension = ".idb";

// The stem of a chosen file's name, without its folder: "t1" for ".../t1.old.ari".
std::string stemOf(const std::string& path) { return FileStem(fileNamePart(path)); }

}  // namespace

TForm1::TForm1(QWidget* parent) : Form("Form1", parent)
{
    setWindowTitle(QStringLiteral("Form1"));
    resize(760, 520);
    createControls();
    AddFindBar(this);
    createMenu();
    onClick(Button1, command(&TForm1::Button1Click));
    onClick(Button2, [this] { Button2Click(); });
    onClick(bbtrace, [this] { bbtraceClick(); });
    onClick(bbReq, [this] { bbReqClick(); });
    onClick(bbExec, [this] { bbExecClick(); });
    onClick(bbTask, command(&TForm1::bbTaskClick));
    onClick(Button6, [this] { Button6Click(); });
    WatchActivation(this, [this] { dispatch([this] { FormActivate(); }); });
}

void TForm1::createControls()
{
    Button1 = make<QPushButton>("Button1", QStringLiteral("Run"));
    Button2 = make<QPushButton>("Button2", QStringLiteral("base"));
    bbtrace = make<QPushButton>("bbtrace", QStringLiteral("Trace"));
    Button4 = make<QPushButton>("Button4", QStringLiteral("M3"));
    Button5 = make<QPushButton>("Button5", QStringLiteral("M4"));
    bbReq = make<QPushButton>("bbReq", QStringLiteral("Request"));
    bbExec = make<QPushButton>("bbExec", QStringLiteral("Exec"));
    bbTask = make<QPushButton>("bbTask", QStringLiteral("Task"));
    edTask = make<QLineEdit>("edTask");
    Button6 = make<QPushButton>("Button6", QStringLiteral("Exit"));
    Button3 = make<QPushButton>("Button3", QStringLiteral("Button3"));
    edKb = make<QLineEdit>("edKb");
    Memo1 = make<OutputView>("Memo1");
    Memo2 = make<OutputView>("Memo2");
    Memo1->setPlainText(QStringLiteral("Memo1"));
    Memo2->setPlainText(QStringLiteral("Memo2"));
    stackControls(this, {controlRow({{Button1, 0}, {Button2, 0}, {bbtrace, 0}, {Button4, 0}, {Button5, 0},
                                     {bbReq, 0}, {bbExec, 0}, {nullptr, 1}}),
                         controlRow({{bbTask, 0}, {edTask, 2}, {Button6, 0}, {Button3, 0}, {edKb, 3}}),
                         controlRow({{Memo1, 1}, {Memo2, 1}})});
    bbReq->setFocus();
}

void TForm1::createMenu()
{
    Files1 = menuBar()->addMenu(QStringLiteral("Files"));
    Files1->setObjectName(QStringLiteral("Files1"));
    NewProject1 = addCommand(Files1, "NewProject1", "New Project", [] {});
    NewKb1 = addCommand(Files1, "NewKb1", "New Kb", command(&TForm1::NewKb1Click));
    OpenKb1 = addCommand(Files1, "OpenKb1", "Open Kb", command(&TForm1::OpenKb1Click));
    Exit1 = addCommand(Files1, "Exit1", "Exit", [] {});
    KB1 = addCommand(menuBar(), "KB1", "KB", [this] { KB1Click(); });
    ES1 = addCommand(menuBar(), "ES1", "ES", [this] { ES1Click(); });
    DataBase1 = addCommand(menuBar(), "DataBase1", "DataBase", [this] { DataBase1Click(); });
    Test1 = addCommand(menuBar(), "Test1", "Test", [this] { Test1Click(); });
}

// The launcher's own commands: closing a message they show activates the launcher again.
std::function<void()> TForm1::command(void (TForm1::*method)())
{
    return WithActivation([this, method] { (this->*method)(); }, [this] { FormActivate(); });
}

void TForm1::FormShow() { centreOnDesktop(this); }

void TForm1::FormActivate()
{
    LoadProjectSettings();
    edTask->setText(toQt(context.CurrentTask));
    edKb->setText(toQt(context.WorkDir + context.CurrentKb));
}

// ---- own commands ----------------------------------------------------------------------------

void TForm1::Button1Click()
{
    const auto chosen = ui().openFileDialog(DialogKind::Document, cp1251(GoalFileFilter));
    if (!chosen)
        return;
    const std::string task = stemOf(*chosen);
    edTask->setText(toQt(task));
    std::string code, value;
    RunGoal(goals::RunGoalFile(task), code, value);
    ShowModel(Memo1, 0);
    ShowModel(Memo2, 5);
}

void TForm1::bbTaskClick()
{
    if (const auto chosen = ui().openFileDialog(DialogKind::Document, cp1251(GoalFileFilter)))
        edTask->setText(toQt(stemOf(*chosen)));
}

void TForm1::NewKb1Click()
{
    const auto chosen = ui().saveFileDialog(DialogKind::KnowledgeBase, cp1251(KbFileFilter));
    const std::string path = chosen ? WithExtension(*chosen, std::string(KbExtension)) : "";
    const std::string kb = chosen ? stemOf(path) : "";
    if (kb.empty()) {
        ShowMessage("Empty Kb Name! ");
        return;
    }
    CheckKbName(kb);
    if (platform::fileExists(path)) {
        ShowMessage("Kb " + path + " exists!");
        return;
    }
    std::string code, value;
    RunGoal(goals::NewKb(kb), code, value);
}

void TForm1::OpenKb1Click()
{
    const auto chosen = ui().openFileDialog(DialogKind::KnowledgeBase, cp1251(KbFileFilter));
    const std::string path = chosen.value_or("");
    const std::string kb = chosen ? stemOf(path) : "";
    if (kb.empty()) {
        ShowMessage("Empty Kb Name! ");
        return;
    }
    if (!platform::fileExists(path)) {
        ShowMessage("Kb " + path + " not exists!");
        return;
    }
    CheckKbName(kb);
    context.CurrentKb = kb;
    context.HomeDir = platform::programDir();
    WriteSetting("currKb", context.CurrentKb);
    edKb->setText(toQt(context.WorkDir + context.CurrentKb));
}

void TForm1::Button6Click() { Close(); }

// ---- the tool windows ------------------------------------------------------------------------

void TForm1::Button2Click() { Form3->ShowModal(); }
void TForm1::bbtraceClick() { Form6->Show(); }
void TForm1::bbReqClick() { Form9->ShowModal(); }
void TForm1::bbExecClick() { Form18->Show(); }
void TForm1::KB1Click() { Form10->Show(); }
void TForm1::ES1Click() { ShowWorkbench(); }
void TForm1::DataBase1Click() { Form14->ShowModal(); }
void TForm1::Test1Click() { Form15->Show(); }

}  // namespace tarnix
