#include "Unit12.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
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
#include <algorithm>

#include "Unit20.h"
#include "activation.h"
#include "code_pane.h"
#include "listing_lines.h"
#include "output_view.h"
#include "document.h"
#include "find_bar.h"
#include "text_area.h"
#include "user_settings.h"
#include "Unit4.h"
#include "icon.h"
#include "platform/platform.h"
#include "qt_text.h"
#include "fonts.h"

namespace tarnix {

TForm12* Form12 = nullptr;

namespace {

const char* const ProjectOpenFilter = "tnx файлы (*.tnx)|*TNX|Все файлы (*.*)|*.*";
const char* const ProjectNewFilter = "tnx файлы (*.tnx)|*tnx|Все файлы (*.*)|*.*";

CodePane* makeTextArea(const char* name)
{
    auto* area = new CodePane;
    area->setObjectName(QString::fromLatin1(name));
    area->setLineWrapMode(QPlainTextEdit::NoWrap);
    area->setFont(FixedPitchFont());
    return area;
}

OutputView* makeOutputView(const char* name)
{
    auto* view = new OutputView;
    view->setObjectName(QString::fromLatin1(name));
    return view;
}

QWidget* sideBySide(const char* name, QWidget* left, QWidget* right, int leftShare)
{
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QString::fromLatin1(name));  // the window keeps its position
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, leftShare);
    splitter->setStretchFactor(1, 1);
    return splitter;
}

QWidget* alone(QWidget* area)
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
    setWindowTitle(QStringLiteral("         Tarnix[*]"));  // "*" while a document is modified
    setWindowIcon(tarnixIcon());
    resize(984, 689);
    createControls();
    createDocuments();
    createMenu();
    createWrapCommand();
    connectSheets();
    connectSourceLines();
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
    const std::vector<OutputView*> outputs = outputPanes();
    std::vector<QWidget*> panes(outputs.begin(), outputs.end());
    for (CodePane* pane : editPanes())
        panes.push_back(pane);
    FindBar1 = new FindBar(this, panes);
    layout->addWidget(FindBar1);
    setCentralWidget(central);

    StatusPanel0 = make<QLabel>("StatusPanel0");
    StatusPanel0->setMinimumWidth(120);
    StatusPanel1 = make<QLabel>("StatusPanel1");
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
    CursorPlace = make<QLabel>("CursorPlace");
    statusBar()->addPermanentWidget(CursorPlace);
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
    // What the engine and the build write is only shown, in views that take a file of any size.
    mmCompL = makeOutputView("mmCompL");
    mmCompR = makeOutputView("mmCompR");
    mmTask = makeOutputView("mmTask");
    mmTree = makeOutputView("mmTree");
    mmTaskText = makeTextArea("mmTaskText");
    mmRuleText = makeTextArea("mmRuleText");
    mmPresdb = makeOutputView("mmPresdb");
    mmTrace = makeOutputView("mmTrace");
    mmEsExp = makeOutputView("mmEsExp");
    mmText = makeTextArea("mmText");

    mmCompL->setRuleText();
    mmRuleText->setRuleText();
    const auto showPlace = [this](std::pair<int, int> place) {
        CursorPlace->setText(literal("Строка %1, столбец %2").arg(place.first).arg(place.second));
    };
    for (OutputView* view : outputPanes())
        connect(view, &OutputView::cursorPositionChanged, this, [view, showPlace] { showPlace(view->cursorPlace()); });
    for (CodePane* pane : editPanes())
        connect(pane, &QPlainTextEdit::cursorPositionChanged, this, [pane, showPlace] { showPlace(pane->cursorPlace()); });

    TabSheetComp = addSheet("TabSheetComp", "Компиляция");
    TabSheetComp->layout()->addWidget(sideBySide("SplitterComp", mmCompL, mmCompR, 2));
    TabSheetRun = addSheet("TabSheetRun", "Выполнение");
    TabSheetRun->layout()->addWidget(sideBySide("SplitterRun", mmTask, mmTree, 1));
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
    QMenu* project = menuBar()->addMenu(literal("&Проект"));
    project->setObjectName(QStringLiteral("Project1"));
    addCommand(project, "OpenProject1", "Открыть проект", command(&TForm12::OpenProject1Click));
    RecentProjects1 = project->addMenu(literal("Недавние проекты"));
    RecentProjects1->setObjectName(QStringLiteral("RecentProjects1"));
    connect(RecentProjects1, &QMenu::aboutToShow, this, &TForm12::fillRecentProjects);
    fillRecentProjects();
    addCommand(project, "CompileKb1", "Компиляция БЗ", command(&TForm12::CompileKb1Click))->setShortcut(Qt::Key_F9);
    addCommand(project, "CompileProject1", "Компиляция проекта", command(&TForm12::CompileProject1Click))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
    addCommand(project, "NewProject1", "Новый проект", command(&TForm12::NewProject1Click));
    addCommand(project, "Run1", "Выполнить", command(&TForm12::Run1Click))->setShortcut(Qt::Key_F5);
    addCommand(project, "Exit1", "Выход", command(&TForm12::Exit1Click));

    const auto documentMenu = [&](const char* caption, const char* name, int digit,
                                  std::array<void (TForm12::*)(), 4> methods) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name));
        const char* captions[] = {"Открыть", "Закрыть", "Сохранить", "Сохранить как"};
        const char* names[] = {"Open", "Close", "Save", "SaveAs"};
        std::array<QAction*, 4> items{};
        for (int i = 0; i < 4; ++i) {
            const std::string itemName = names[i] + std::to_string(digit);
            items[i] = addCommand(menu, itemName.c_str(), captions[i], command(methods[i]));
        }
        openItems_[digit - 1] = items[0];
        saveItems_[digit - 1] = items[2];
    };
    documentMenu("&Задача", "TaskMenu1", 1,
                 {&TForm12::Open1Click, &TForm12::Close1Click, &TForm12::Save1Click, &TForm12::SaveAs1Click});
    documentMenu("&БЗ", "KbMenu1", 2,
                 {&TForm12::Open2Click, &TForm12::Close2Click, &TForm12::Save2Click, &TForm12::SaveAs2Click});
    documentMenu("&Текст", "TextMenu1", 3,
                 {&TForm12::Open3Click, &TForm12::Close3Click, &TForm12::Save3Click, &TForm12::SaveAs3Click});

    QMenu* help = menuBar()->addMenu(literal("&Справка"));
    help->setObjectName(QStringLiteral("Help1"));
    addCommand(help, "Help2", "Справка", command(&TForm12::Help2Click));
    addCommand(help, "About1", "О программе", command(&TForm12::About1Click));
}

// Long lines of the output panes wrap at the pane's edge, or scroll: Ctrl+W anywhere in the
// window, or the item in the panes' context menu.
void TForm12::createWrapCommand()
{
    auto* wrap = new QAction(literal("Перенос строк"), this);
    wrap->setObjectName(QStringLiteral("WrapLines1"));
    wrap->setCheckable(true);
    wrap->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    addAction(wrap);
    for (OutputView* output : outputPanes())
        output->addMenuAction(wrap);
    connect(wrap, &QAction::toggled, this, [this](bool on) {
        for (OutputView* output : outputPanes())
            output->setWrapped(on);
    });
}

std::vector<CodePane*> TForm12::editPanes() const { return {mmTaskText, mmRuleText, mmText}; }

std::vector<OutputView*> TForm12::outputPanes() const { return {mmCompL, mmCompR, mmTask, mmTree, mmPresdb, mmTrace, mmEsExp}; }

// Ctrl+O and Ctrl+S open and save the document of the sheet on show: they move to the items of
// that document's menu, where the menu shows them.
void TForm12::followSheetShortcuts(int index)
{
    const QWidget* sheets[] = {Task, Rules, TabSheetText};
    for (int i = 0; i < 3; ++i) {
        const bool shown = PageControl1->widget(index) == sheets[i];
        openItems_[i]->setShortcut(shown ? QKeySequence(QKeySequence::Open) : QKeySequence());
        saveItems_[i]->setShortcut(shown ? QKeySequence(QKeySequence::Save) : QKeySequence());
    }
}

std::function<void()> TForm12::command(void (TForm12::*method)())
{
    return command([this, method] { (this->*method)(); });
}

std::function<void()> TForm12::command(std::function<void()> body)
{
    return WithActivation(std::move(body), [this] { FormActivate(); });
}

// ---- activation ----------------------------------------------------------------------------

// Coming back from another window of the program (a tool window) runs the activation routine.
// Message boxes and the about box run it themselves when they close; error boxes and file
// dialogs never do.
void TForm12::watchActivation()
{
    WatchActivation(
        this, [this] { dispatch([this] { FormActivate(); }); }, [](const Form* from) { return from == AboutBox; });
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

namespace {

const QString RecentProjectsKey = QStringLiteral("recentProjects");

std::vector<std::string> recentProjects()
{
    std::vector<std::string> paths;
    for (const QString& path : UserSettings().value(RecentProjectsKey).toStringList())
        paths.push_back(fromQt(path));
    return paths;
}

void keepRecentProjects(const std::vector<std::string>& paths)
{
    QStringList list;
    for (const std::string& path : paths)
        list << toQt(path);
    UserSettings().setValue(RecentProjectsKey, list);
}

}  // namespace

void TForm12::OpenProject1Click()
{
    if (const auto chosen = ui().openFileDialog(DialogKind::Project, cp1251(ProjectOpenFilter)))
        openProject(*chosen);
}

void TForm12::openProject(const std::string& path)
{
    const std::string folder = folderPart(path);
    edProj->setText(toQt(path));
    StatusPanel1->setText(toQt(folder));
    WriteSetting("kbpath", folder);
    context.WorkDir = folder;
    keepRecentProjects(WithRecentFirst(recentProjects(), path));
    RecentProjects1->setEnabled(true);  // filled when it opens
}

// A project moved or deleted since it was opened is offered no more.
void TForm12::openRecentProject(const std::string& path)
{
    if (!platform::fileExists(path)) {
        const std::string reason = platform::lastIoErrorText(false);
        std::vector<std::string> recent = recentProjects();
        recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
        keepRecentProjects(recent);
        throw FileOpenError(path, reason);
    }
    openProject(path);
}

void TForm12::openProjectAt(const std::string& place)
{
    if (platform::fileExists(place))
        return openProject(place);
    if (!platform::directoryExists(place))
        throw FileOpenError(place, platform::lastIoErrorText(false));
    std::string folder = place;
    if (!platform::isSeparator(folder.back()))
        folder += platform::separator();
    const std::vector<std::string> projects = platform::findFiles(folder, "*.tnx");
    openProject(projects.size() == 1 ? folder + projects.front() : folder);
}

void TForm12::fillRecentProjects()
{
    RecentProjects1->clear();
    int number = 0;
    for (const std::string& path : recentProjects()) {
        ++number;
        QString caption = toQt(path);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const std::string name = "RecentProject" + std::to_string(number);
        addCommand(RecentProjects1, name.c_str(), "", command([this, path] { openRecentProject(path); }))
            ->setText(QStringLiteral("&%1 %2").arg(number).arg(caption));
    }
    RecentProjects1->setEnabled(number > 0);
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

void TForm12::CompileKb1Click()
{
    // The compiler runs twice; a failure it meets both times is reported once, and a failed
    // compiler that left no listing is not reported again as a file that cannot be opened.
    const EachMessageOnce once;
    std::string code, value;
    RunCompileGoal(goals::CompileKb, code, value);
    comprules(field(edKb));
    sourceShown_ = false;
    LoadTextArea(mmCompL, context.WorkDir + context.KbSourceName);
    sourceShown_ = true;
    const std::string listing = context.WorkDir + files::Listing;
    if (code != "0" && !platform::fileExists(listing)) {
        mmCompR->clear();
        return;
    }
    LoadTextArea(mmCompR, listing);
    platform::deleteFile(context.WorkDir + files::CompiledKb);
    showFirstError();
}

void TForm12::connectSourceLines()
{
    for (OutputView* messages : {mmCompR, mmTask, mmTree})
        connect(messages, &OutputView::lineChosen, this, [this](const QString& line) {
            dispatch([this, line] { showSourceLine(line); });
        });
}

// The source is loaded into the left pane first when that pane shows the build log.
void TForm12::showSourceLine(const QString& message)
{
    const auto line = SourceLineOf(fromQt(message));
    if (!line)
        return;
    if (!sourceShown_) {
        LoadTextArea(mmCompL, context.WorkDir + context.KbSourceName);
        sourceShown_ = true;
    }
    PageControl1->setCurrentWidget(TabSheetComp);
    mmCompL->goToLine(*line);
}

// A failed compilation shows its first error in the listing and its line in the source.
void TForm12::showFirstError()
{
    const Lines listing = GetLines(mmCompR);
    const auto error = FirstErrorLine(listing);
    if (!error)
        return;
    mmCompR->goToLine(static_cast<int>(*error) + 1);
    mmCompL->goToLine(*SourceLineOf(listing[*error]));
}

void TForm12::CompileProject1Click()
{
    CheckBuildFolder(context.WorkDir);
    sourceShown_ = false;
    mmCompL->clear();
    comprules(field(edKb));
    std::string code, value;
    RunShellGoal(goals::BuildProject, code, value);
    LoadTextArea(mmCompL, context.HomeDir + files::BuildLog);
    platform::deleteFile(context.WorkDir + files::CompiledKb);
    platform::deleteFile(context.HomeDir + files::CompiledKb);
    platform::deleteFile(context.HomeDir + files::CompiledKbPart);
    WriteBuildBatch();
    if (platform::fileExists(context.HomeDir + files::BuiltProgram))
        StartAndWait(files::BuildBatch);
    else
        ShowMessage(cp1251("Исполнительный файл не найден"));
}

void TForm12::Run1Click()
{
    for (OutputView* view : {mmTask, mmTree, mmPresdb, mmTrace, mmEsExp})
        view->clear();
    WriteRunParameters({field(edKb), field(edTask), field(edDepth), field(edLength)});
    const std::string parameters = context.WorkDir + files::RunParameters;
    if (!platform::fileExists(parameters)) {
        ShowMessage("Not exists exe parameters file - " + parameters);
        return;
    }
    std::string code, value;
    followOutputs(true);
    try {
        RunTaskGoal(goals::RunTask, code, value);
    } catch (...) {
        followOutputs(false);
        throw;
    }
    followOutputs(false);
    if (code != "0")
        return;
    showRunResults();
}

void TForm12::followOutputs(bool on)
{
    const std::pair<OutputView*, std::string> outputs[] = {{mmTree, files::Results},
                                                           {mmPresdb, files::Database},
                                                           {mmTrace, files::Trace},
                                                           {mmEsExp, files::Tree}};
    for (const auto& [view, name] : outputs) {
        if (on) {
            view->follow(context.WorkDir + name);
        } else if (view->following()) {
            view->stopFollowing();
            view->clear();
        }
    }
    if (!on)
        sheetShown(PageControl1->currentIndex());  // the sheet on show reads its file as it is now
}

void TForm12::showRunResults()
{
    loadIfExists(mmTask, context.WorkDir + field(edTask));
    platform::deleteFile(context.WorkDir + IntermediateName(context.TaskFileName));
    loadIfExists(mmTree, context.WorkDir + files::Results);
}

// ---- documents -----------------------------------------------------------------------------

namespace {

const char* const TaskOpenFilter = "tsk файлы (*.tsk)|*TSK|Все файлы (*.*)|*.*";
const char* const TaskSaveFilter = "task файлы (*.tsk)|*tsk|Все файлы (*.*)|*.*";
const char* const KbOpenFilter = "rul файлы (*.rul)|*RUL|Все файлы (*.*)|*.*";
const char* const KbSaveFilter = "rule файлы (*.rul)|*rul|Все файлы (*.*)|*.*";
const char* const TextOpenFilter = "texts (*.txt)|*TXT|Все файлы (*.*)|*.*";
const char* const TextSaveFilter = "txt файлы (*.txt)|*txt|Все файлы (*.*)|*.*";

// Opening another file over unsaved edits asks first; then the open dialog.
std::optional<std::string> openDialog(Document* document, const char* filter)
{
    if (!MayDiscard({document}))
        return std::nullopt;
    return ui().openFileDialog(DialogKind::Document, cp1251(filter));
}

void showPathEnd(QLineEdit* edit, const std::string& path)
{
    edit->setText(toQt(path));
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
}

}  // namespace

void TForm12::createDocuments()
{
    taskDoc_ = new Document(mmTaskText, literal("Задача"));
    kbDoc_ = new Document(mmRuleText, literal("БЗ"));
    textDoc_ = new Document(mmText, literal("Текст"));
    taskDoc_->markInTab(PageControl1, Task);
    kbDoc_->markInTab(PageControl1, Rules);
    textDoc_->markInTab(PageControl1, TabSheetText);
    taskDoc_->setSaveAsCommand([this] { return saveTaskAs(); });
    kbDoc_->setSaveCommand([this] { return saveKb(); });
    kbDoc_->setSaveAsCommand([this] { return saveKbAs(); });
    textDoc_->setSaveAsCommand([this] { return saveTextAs(); });
}

// ---- menu "Задача" -------------------------------------------------------------------------

void TForm12::Open1Click()
{
    const auto path = openDialog(taskDoc_, TaskOpenFilter);
    if (!path)
        return;
    taskDoc_->load(*path);
    context.TaskFilePath = *path;
    context.CurrentTask = fileNamePart(*path);
    context.TaskFileName = fileNamePart(*path);
    edTask->setText(toQt(fileNamePart(*path)));
}

void TForm12::Close1Click() { taskDoc_->clear(); }
void TForm12::Save1Click() { taskDoc_->save(); }
void TForm12::SaveAs1Click() { saveTaskAs(); }

bool TForm12::saveTaskAs()
{
    const auto chosen = ui().saveFileDialog(DialogKind::Document, cp1251(TaskSaveFilter));
    if (!chosen || !taskDoc_->saveAs(WithExtension(*chosen, ".tsk")))
        return false;
    context.TaskFilePath = taskDoc_->path();
    edTask->setText(toQt(fileNamePart(taskDoc_->path())));
    return true;
}

// ---- menu "БЗ" -----------------------------------------------------------------------------

void TForm12::Open2Click()
{
    const auto path = openDialog(kbDoc_, KbOpenFilter);
    if (!path)
        return;
    kbDoc_->load(*path);
    context.KbFilePath = *path;
    context.KbSourceName = *path;
    showPathEnd(edKb, *path);
}

void TForm12::Close2Click() { kbDoc_->clear(); }
void TForm12::Save2Click() { kbDoc_->save(); }
void TForm12::SaveAs2Click() { saveKbAs(); }

// A rule file that has gone since it was shown is not made anew: the message says so, and
// "Сохранить как" saves the text.
bool TForm12::saveKb()
{
    if (!kbDoc_->hasFile())
        return saveKbAs();
    if (!platform::fileExists(kbDoc_->path())) {
        ShowMessage("Not exists rule file - " + kbDoc_->path());
        return false;
    }
    return kbDoc_->saveTo(kbDoc_->path());
}

bool TForm12::saveKbAs()
{
    const auto chosen = ui().saveFileDialog(DialogKind::Document, cp1251(KbSaveFilter));
    if (!chosen || !kbDoc_->saveAs(WithExtension(*chosen, ".rul")))
        return false;
    context.KbFilePath = kbDoc_->path();
    showPathEnd(edKb, context.KbFilePath);
    context.KbSourceName = context.KbFilePath;
    return true;
}

// ---- menu "Текст" --------------------------------------------------------------------------

void TForm12::Open3Click()
{
    const auto path = openDialog(textDoc_, TextOpenFilter);
    if (!path)
        return;
    textDoc_->load(*path);
    context.TextFilePath = *path;
    StatusPanel1->setText(toQt(*path));
}

void TForm12::Close3Click() { textDoc_->clear(); }
void TForm12::Save3Click() { textDoc_->save(); }
void TForm12::SaveAs3Click() { saveTextAs(); }

// The text saved under the new name is the document from then on, and the status bar says so.
bool TForm12::saveTextAs()
{
    const auto chosen = ui().saveFileDialog(DialogKind::Document, cp1251(TextSaveFilter));
    if (!chosen || !textDoc_->saveAs(ChangeFileExt(*chosen, ".txt")))
        return false;
    StatusPanel1->setText(toQt(textDoc_->path()));
    return true;
}

// ---- sheets --------------------------------------------------------------------------------

void TForm12::connectSheets()
{
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm12::sheetShown);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm12::followSheetShortcuts);
    mmPresdb->installEventFilter(this);
    TabSheetPresdb->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TabSheetPresdb, &QWidget::customContextMenuRequested, this,
            [this] { dispatch([this] { TabSheetPresdbContextPopup(); }); });
}

void TForm12::sheetShown(int index)
{
    QWidget* sheet = PageControl1->widget(index);
    void (TForm12::*handler)() = nullptr;
    if (sheet == Task)
        handler = &TForm12::TaskShow;
    else if (sheet == Rules)
        handler = &TForm12::RulesShow;
    else if (sheet == TabSheetPresdb)
        handler = &TForm12::TabSheetPresdbShow;
    else if (sheet == TabSheetTrace)
        handler = &TForm12::TabSheetTraceShow;
    else if (sheet == TabSheetTree)
        handler = &TForm12::TabSheetTreeShow;
    if (handler)
        dispatch([this, handler] { (this->*handler)(); });
}

// Focus moving into the database sheet from another control (a click, Tab) reloads it; focus
// coming back with the window after a message box does not.
bool TForm12::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mmPresdb && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason)
            dispatch([this] { TabSheetPresdbEnter(); });
    }
    return Form::eventFilter(watched, event);
}

void TForm12::loadIfExists(OutputView* view, const std::string& path)
{
    if (!view->following() && platform::fileExists(path))
        view->loadFile(path);
}

// The task and rule sheets show their file as it is on disk, unless they hold unsaved edits.
void TForm12::TaskShow()
{
    context.TaskFileName = field(edTask);
    if (taskDoc_->loadIfUnmodified(context.WorkDir + context.TaskFileName))
        context.TaskFilePath = taskDoc_->path();
}

void TForm12::RulesShow() { kbDoc_->loadIfUnmodified(context.WorkDir + context.KbSourceName); }
void TForm12::TabSheetPresdbShow() { loadIfExists(mmPresdb, context.WorkDir + files::Database); }
void TForm12::TabSheetPresdbEnter() { LoadTextArea(mmPresdb, context.WorkDir + files::Database); }
void TForm12::TabSheetPresdbContextPopup() { TabSheetPresdbEnter(); }
void TForm12::TabSheetTraceShow() { loadIfExists(mmTrace, context.WorkDir + files::Trace); }
void TForm12::TabSheetTreeShow() { loadIfExists(mmEsExp, context.WorkDir + files::Tree); }

std::string TForm12::field(QLineEdit* edit) const { return fromQt(edit->text()); }

// ---- menu "Справка" ------------------------------------------------------------------------

void TForm12::Help2Click() { ui().openDocument(context.HomeDir + files::HelpFile); }

void TForm12::About1Click()
{
    AboutBox->ShowSplash();
    FormActivate();
}

}  // namespace tarnix
