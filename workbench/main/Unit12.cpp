#include "Unit12.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindow>

#include "Unit20.h"
#include "Unit4.h"
#include "icon.h"
#include "platform/platform.h"
#include "qt_text.h"

namespace tarnix {

TForm12* Form12 = nullptr;

namespace {

const char* const ProjectOpenFilter = "tnx файлы (*.tnx)|*TNX|Все файлы (*.*)|*.*";
const char* const ProjectNewFilter = "tnx файлы (*.tnx)|*tnx|Все файлы (*.*)|*.*";

QPlainTextEdit* makeTextArea(const char* name)
{
    auto* area = new QPlainTextEdit;
    area->setObjectName(QString::fromLatin1(name));
    area->setLineWrapMode(QPlainTextEdit::NoWrap);
    area->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return area;
}

QWidget* sideBySide(QPlainTextEdit* left, QPlainTextEdit* right, int leftShare)
{
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, leftShare);
    splitter->setStretchFactor(1, 1);
    return splitter;
}

QWidget* alone(QPlainTextEdit* area)
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    return box;
}

}  // namespace

TForm12::TForm12(QWidget* parent) : Form("Form12", parent)
{
    setWindowTitle(QStringLiteral("         Tarnix"));
    setWindowIcon(tarnixIcon());
    resize(984, 689);
    createControls();
    createMenu();
    watchActivation();
}

// ---- controls ------------------------------------------------------------------------------

void TForm12::createControls()
{
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addWidget(createFieldBar());
    createSheets();
    layout->addWidget(PageControl1, 1);
    setCentralWidget(central);

    StatusPanel0 = make<QLabel>("StatusPanel0");
    StatusPanel0->setMinimumWidth(120);
    StatusPanel1 = make<QLabel>("StatusPanel1");
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
}

QWidget* TForm12::createFieldBar()
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const auto field = [&](QLineEdit*& edit, const char* name, const char* caption, int stretch) {
        edit = make<QLineEdit>(name);
        auto* label = new QLabel(QString::fromUtf8(caption));
        label->setObjectName(QStringLiteral("lb") + QString::fromLatin1(name + 2));
        label->setBuddy(edit);
        row->addWidget(label);
        row->addWidget(edit, stretch);
    };
    field(edProj, "edProj", "Проект", 3);
    field(edTask, "edTask", "Задача", 2);
    field(edKb, "edKb", "БЗ", 4);
    field(edDepth, "edDepth", "Глубина", 0);
    field(edLength, "edLength", "Размер", 0);
    edDepth->setMaximumWidth(70);
    edLength->setMaximumWidth(70);
    return bar;
}

QWidget* TForm12::addSheet(const char* name, const char* caption)
{
    auto* sheet = new QWidget;
    sheet->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(2, 2, 2, 2);
    PageControl1->addTab(sheet, QString::fromUtf8(caption));
    return sheet;
}

void TForm12::createSheets()
{
    PageControl1 = make<QTabWidget>("PageControl1");
    mmCompL = makeTextArea("mmCompL");
    mmCompR = makeTextArea("mmCompR");
    mmTask = makeTextArea("mmTask");
    mmTree = makeTextArea("mmTree");
    mmTaskText = makeTextArea("mmTaskText");
    mmRuleText = makeTextArea("mmRuleText");
    mmPresdb = makeTextArea("mmPresdb");
    mmTrace = makeTextArea("mmTrace");
    mmEsExp = makeTextArea("mmEsExp");
    mmText = makeTextArea("mmText");

    TabSheetComp = addSheet("TabSheetComp", "Компиляция");
    TabSheetComp->layout()->addWidget(sideBySide(mmCompL, mmCompR, 2));
    TabSheetRun = addSheet("TabSheetRun", "Выполнение");
    TabSheetRun->layout()->addWidget(sideBySide(mmTask, mmTree, 1));
    Task = addSheet("Task", "Задача");
    Task->layout()->addWidget(alone(mmTaskText));
    Rules = addSheet("Rules", "БЗ");
    Rules->layout()->addWidget(alone(mmRuleText));
    TabSheetPresdb = addSheet("TabSheetPresdb", "БД");
    TabSheetPresdb->layout()->addWidget(alone(mmPresdb));
    TabSheetTrace = addSheet("TabSheetTrace", "Трасса");
    TabSheetTrace->layout()->addWidget(alone(mmTrace));
    TabSheetTree = addSheet("TabSheetTree", "ДЛВ");
    TabSheetTree->layout()->addWidget(alone(mmEsExp));
    TabSheetText = addSheet("TabSheetText", "Текст");
    TabSheetText->layout()->addWidget(alone(mmText));
}

void TForm12::createMenu()
{
    QMenu* project = menuBar()->addMenu(literal("Проект"));
    project->setObjectName(QStringLiteral("Project1"));
    addCommand(project, "OpenProject1", "Открыть проект", command(&TForm12::OpenProject1Click));
    addCommand(project, "CompileKb1", "Компиляция БЗ", command(&TForm12::CompileKb1Click));
    addCommand(project, "CompileProject1", "Компиляция проекта", command(&TForm12::CompileProject1Click));
    addCommand(project, "NewProject1", "Новый проект", command(&TForm12::NewProject1Click));
    addCommand(project, "Run1", "Выполнить", command(&TForm12::Run1Click));
    addCommand(project, "Exit1", "Выход", command(&TForm12::Exit1Click));

    const auto documentMenu = [&](const char* caption, const char* name, int digit,
                                  std::array<void (TForm12::*)(), 4> methods) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name));
        const char* captions[] = {"Открыть", "Закрыть", "Сохранить", "Сохранить как"};
        const char* names[] = {"Open", "Close", "Save", "SaveAs"};
        for (int i = 0; i < 4; ++i) {
            const std::string itemName = names[i] + std::to_string(digit);
            addCommand(menu, itemName.c_str(), captions[i], command(methods[i]));
        }
    };
    documentMenu("Задача", "TaskMenu1", 1,
                 {&TForm12::Open1Click, &TForm12::Close1Click, &TForm12::Save1Click, &TForm12::SaveAs1Click});
    documentMenu("БЗ", "KbMenu1", 2,
                 {&TForm12::Open2Click, &TForm12::Close2Click, &TForm12::Save2Click, &TForm12::SaveAs2Click});
    documentMenu("Текст", "TextMenu1", 3,
                 {&TForm12::Open3Click, &TForm12::Close3Click, &TForm12::Save3Click, &TForm12::SaveAs3Click});

    QMenu* help = menuBar()->addMenu(literal("Справка"));
    help->setObjectName(QStringLiteral("Help1"));
    addCommand(help, "Help2", "Справка", command(&TForm12::Help2Click));
    addCommand(help, "About1", "О программе", command(&TForm12::About1Click));
}

std::function<void()> TForm12::command(void (TForm12::*method)())
{
    return [this, method] {
        ActivationHook hook([this] { dispatch([this] { FormActivate(); }); });
        (this->*method)();
    };
}

// ---- activation ----------------------------------------------------------------------------

void TForm12::watchActivation()
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TForm12::windowActivated);
}

// Coming back from another window of the program (a tool window) runs the activation routine.
// Message boxes and the about box run it themselves when they close; error boxes and file
// dialogs never do.
void TForm12::windowActivated(QWindow* window)
{
    if (!window)
        return;
    QPointer<QWindow> previous = lastActive_;
    lastActive_ = window;
    if (window != windowHandle() || !previous || previous == windowHandle())
        return;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* form = qobject_cast<Form*>(widget);
        if (form && form != this && form != AboutBox && widget->windowHandle() == previous) {
            dispatch([this] { FormActivate(); });
            return;
        }
    }
}

void TForm12::FormActivate()
{
    LoadProjectSettings();
    edTask->setText(toQt(context.CurrentTask));
    edKb->setText(toQt(context.WorkDir + context.CurrentKb));
    showRunParameters();
    context.TextFilePath.clear();
    DeleteTempFiles();
}

void TForm12::showRunParameters()
{
    const auto parameters = ReadRunParameters();
    if (!parameters)
        return;
    edTask->setText(toQt(parameters->task));
    edKb->setText(toQt(parameters->kb));
    edDepth->setText(toQt(parameters->depth));
    edLength->setText(toQt(parameters->length));
}

void TForm12::FormShow() { AboutBox->ShowSplash(); }

// ---- menu "Проект" -------------------------------------------------------------------------

void TForm12::OpenProject1Click()
{
    const auto chosen = ui().openFileDialog(DialogKind::Project, cp1251(ProjectOpenFilter));
    if (!chosen)
        return;
    const std::string folder = folderPart(*chosen);
    edProj->setText(toQt(*chosen));
    StatusPanel1->setText(toQt(folder));
    WriteSetting("kbpath", folder);
    context.WorkDir = folder;
}

void TForm12::NewProject1Click()
{
    const auto chosen = ui().saveFileDialog(DialogKind::Project, cp1251(ProjectNewFilter));
    if (!chosen || platform::fileExists(*chosen))
        return;
    WriteProjectFile(*chosen);
    edProj->setText(toQt(*chosen));
}

void TForm12::Exit1Click()
{
    WriteSetting("currentTask", context.CurrentTask);
    Close();
}

void TForm12::CompileKb1Click() {}
void TForm12::CompileProject1Click() {}
void TForm12::Run1Click() {}

// ---- documents -----------------------------------------------------------------------------

void TForm12::Open1Click() {}
void TForm12::Close1Click() {}
void TForm12::Save1Click() {}
void TForm12::SaveAs1Click() {}
void TForm12::Open2Click() {}
void TForm12::Close2Click() {}
void TForm12::Save2Click() {}
void TForm12::SaveAs2Click() {}
void TForm12::Open3Click() {}
void TForm12::Close3Click() {}
void TForm12::Save3Click() {}
void TForm12::SaveAs3Click() {}

// ---- menu "Справка" ------------------------------------------------------------------------

void TForm12::Help2Click() { ui().openDocument(context.HomeDir + "tarnixhelp.chm"); }

void TForm12::About1Click()
{
    AboutBox->ShowSplash();
    FormActivate();
}

}  // namespace tarnix
