#include "Unit14.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <limits>

#include "code_pane.h"
#include "find_bar.h"
#include "Unit16.h"
#include "Unit17.h"
#include "Unit4.h"
#include "document.h"
#include "object_tools.h"
#include "platform/platform.h"
#include "qt_text.h"
#include "text_area.h"
#include "viewer.h"
#include "window_layout.h"
#include "fonts.h"

namespace tarnix {

TForm14* Form14 = nullptr;
Tdbcont DbState;

namespace {

const char* const DbOpenFilter = "dbm файлы (*.dbm)|*DBM|Все файлы (*.*)|*.*";
const char* const DescriptionFile = "DbDesc.dbm";
const char* const NewDescriptionFile = "DbDesc.txt";

// The folder of `path` without its trailing separator, but for a root folder.
std::string folderOf(const std::string& path)
{
    std::string folder = folderPart(path);
    if (folder.size() > 1 && platform::isSeparator(folder.back()) && folder[folder.size() - 2] != ':')
        folder.pop_back();
    return folder;
}

}  // namespace

// ---- the window ----------------------------------------------------------------------------

TForm14::TForm14(QWidget* parent) : Form("Form14", parent)
{
    setWindowTitle(QStringLiteral("Form14[*]"));  // "*" while a record is modified
    resize(900, 640);
    createControls();
    AddFindBar(this);
    createMenu();
    // The two areas are a record and its description while Records › Open or Add put one
    // there; the object texts of the engine that they show otherwise are no file's.
    recordDoc_ = new Document(memCont, QStringLiteral("Record"), Document::WithoutFile::Scratch);
    descriptionDoc_ = new Document(MemDesc, QStringLiteral("Description"), Document::WithoutFile::Scratch);
}

void TForm14::createControls()
{
    MemDesc = makeViewerMemo(make<CodePane>("MemDesc"), "", true, false);
    MemDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memCont = makeViewerMemo(make<CodePane>("memCont"), "", true, true);
    auto* areas = new QSplitter(Qt::Vertical);
    areas->setObjectName(QStringLiteral("Splitter1"));
    areas->addWidget(MemDesc);
    areas->addWidget(memCont);
    areas->setStretchFactor(0, 1);
    areas->setStretchFactor(1, 4);
    stackControls(this, {createFieldBar(), createButtonBar(), areas});
}

QWidget* TForm14::createFieldBar()
{
    const auto field = [this](QLabel*& label, const char* labelName, const char* caption, QLineEdit*& edit,
                              const char* name) {
        label = make<QLabel>(labelName, QString::fromLatin1(caption));
        edit = make<QLineEdit>(name);
        label->setBuddy(edit);
    };
    field(Project, "Project", "Project", edProj, "edProj");
    field(Label3, "Label3", "Number", edNum, "edNum");
    field(Label5, "Label5", "Length", edLength, "edLength");
    bbFind = make<QPushButton>("bbFind", QStringLiteral("Find"));
    onClick(bbFind, [this] { bbFindClick(); });
    edFind = make<QLineEdit>("edFind");
    edFind->setFont(FixedPitchFont());
    return controlRow({{Project, 0}, {edProj, 3}, {bbFind, 0}, {edFind, 3}, {Label3, 0}, {edNum, 1}, {Label5, 0},
                       {edLength, 1}});
}

QWidget* TForm14::createButtonBar()
{
    Button1 = make<QPushButton>("Button1", QStringLiteral("DosWin"));
    onClick(Button1, [this] { Button1Click(); });
    bbCreate = make<QPushButton>("bbCreate", QStringLiteral("Create"));
    onClick(bbCreate, [this] { bbCreateClick(); });
    bbClear = make<QPushButton>("bbClear", QStringLiteral("Clear"));
    onClick(bbClear, [this] { bbClearClick(); });
    bbPrev = make<QPushButton>("bbPrev", QStringLiteral("Prev"));
    onClick(bbPrev, [this] { bbPrevClick(); });
    bbNext = make<QPushButton>("bbNext", QStringLiteral("Next"));
    onClick(bbNext, [this] { bbNextClick(); });
    Button2 = make<QPushButton>("Button2", QStringLiteral("Exit"));
    onClick(Button2, [this] { Close(); });
    return controlRow({{Button1, 0}, {bbCreate, 0}, {bbClear, 0}, {bbPrev, 0}, {bbNext, 0}, {Button2, 0}, {nullptr, 1}});
}

void TForm14::createMenu()
{
    const auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    const auto none = [] {};
    QMenu* file = menu("File1", "File");
    addCommand(file, "Project1", "Project", none);
    addCommand(file, "Kb1", "Kb", none);
    addCommand(file, "Task1", "Task", none);
    addCommand(file, "File2", "File", none);
    QMenu* project = menu("Project2", "Project");
    addCommand(project, "Comprules1", "Comp rules ", none);
    addCommand(project, "Compproj1", "Comp proj", none);
    QMenu* task = menu("Task2", "Task");
    addCommand(task, "Open1", "Open", none);
    addCommand(task, "Close1", "Close", none);
    addCommand(task, "Save1", "Save", none);
    addCommand(task, "Saveas1", "Save as", none);
    QMenu* database = menu("DataBase1", "DataBase");
    addCommand(database, "New1", "New", [this] { New1Click(); });
    addCommand(database, "Open2", "Open", [this] { Open2Click(); });
    addCommand(database, "Close2", "Close", none);
    addCommand(database, "Save2", "Save", none);
    addCommand(database, "Saveas2", "Save as", none);
    addCommand(database, "Inheritance1", "Inheritance", [this] { Inheritance1Click(); });
    QMenu* records = menu("Records1", "Records");
    addCommand(records, "Open3", "Open", [this] { Open3Click(); });
    addCommand(records, "Close3", "Close", none);
    addCommand(records, "Save3", "Save", [this] { Save3Click(); });
    addCommand(records, "SaveDos1", "Save Dos", none);
    addCommand(records, "Add1", "Add", [this] { Add1Click(); });
    QMenu* text = menu("Text1", "Text");
    addCommand(text, "Open4", "Open", [this] { Open4Click(); });
    addCommand(text, "Close4", "Close", [this] { Close4Click(); });
    addCommand(text, "Save4", "Save", none);
    addCommand(text, "SAveas1", "SAve as", none);
    QMenu* object = menu("Object1", "Object");
    addCommand(object, "Open5", "Open", none);
    addCommand(object, "Create1", "Create", none);
    addCommand(object, "Save5", "Save", none);
    addCommand(object, "Update1", "Update", none);
    addCommand(object, "Close5", "Close", none);
    addCommand(object, "Retract1", "Retract", [this] { Retract1Click(); });
    QAction* editor = menuBar()->addAction(QStringLiteral("EditOr"));
    editor->setObjectName(QStringLiteral("EditOr1"));
    connect(editor, &QAction::triggered, this, [this] { dispatch([this] { EditOr1Click(); }); });
}

// Centred on the desktop when first shown.
void TForm14::FormShow()
{
    centreOnDesktop(this);
}

std::optional<std::string> TForm14::openDialog() { return ui().openFileDialog(DialogKind::Document, openFilter_); }

// ---- menu "DataBase" -----------------------------------------------------------------------

// The chosen path names the new database folder; it is made there and given both description
// files, so that Open database finds it at once.
void TForm14::New1Click()
{
    const auto chosen = ui().saveFileDialog(DialogKind::Document, "");
    if (!chosen)
        return;
    if (platform::directoryExists(*chosen))
        throw Failure("Unable to create directory");
    if (platform::fileExists(*chosen))
        throw Failure("Unable to create directory: a file named " + *chosen + " exists");
    if (!platform::makeDirectory(*chosen))
        throwIoError(true);
    const TextBlock block{"DataBase desciption", "0"};
    const std::string folder = withTrailingSeparator(*chosen);
    WriteLines(folder + NewDescriptionFile, block, 2);
    WriteLines(folder + DescriptionFile, block, 2);
}

void TForm14::Open2Click()
{
    openFilter_ = cp1251(DbOpenFilter);
    const auto chosen = openDialog();
    if (!chosen || fileNamePart(*chosen) != DescriptionFile)
        return;
    TextBlock block;
    ReadLines(*chosen, block, 2);
    DbState.recCount = TryStrToInt(block[1]).value_or(0);
    DbState.dbDir = folderOf(*chosen);
    DbState.dbFile = *chosen;
    DbState.dbDesc = block[0];
    LoadTextArea(MemDesc, *chosen);
    descriptionDoc_->detach();
    edNum->setText(toQt(std::to_string(DbState.recCount)));
}

void TForm14::Inheritance1Click()
{
    std::string code, value;
    RunGoal(goals::Inheritance, code, value);
}

// ---- menu "Records" ------------------------------------------------------------------------

std::string TForm14::recordPath(std::int32_t n, const char* extension) const
{
    return withTrailingSeparator(DbState.dbDir) + std::to_string(n) + extension;
}

// A record opens whole or not at all: its text and its description (the ".dsc" of the same
// stem beside it; none reads as empty) are read before either area changes.
void TForm14::Open3Click()
{
    if (DbState.dbDir.empty()) {
        ShowMessage("Database is not opened!");
        return;
    }
    if (!mayReplaceRecord())
        return;
    const auto chosen = openDialog();
    if (!chosen || !TryStrToInt(StripExt(fileNamePart(*chosen))))
        return;
    const std::string description = RecordDescriptionPath(*chosen);
    const std::string recordText = loadFileBytes(*chosen);
    const std::string descriptionText = platform::fileExists(description) ? loadFileBytes(description) : "";
    CheckBytesFitToShow(descriptionText, description);
    ShowBytes(memCont, recordText, *chosen);
    ShowBytes(MemDesc, descriptionText, description);
    recordDoc_->setFile(*chosen);
    descriptionDoc_->setFile(description);
    DbState.recFile = *chosen;
}

// Saves the record and the description the areas show; with none open, says so.
void TForm14::Save3Click()
{
    if (!recordDoc_->hasFile()) {
        ShowMessage("No record is open!");
        return;
    }
    if (recordDoc_->saveTo(recordDoc_->path()))
        descriptionDoc_->saveTo(descriptionDoc_->path());
}

// The new record takes the first number after the count whose record and description are
// both free, so no record is ever overwritten; the count in "DbDesc.dbm" follows it, so the
// numbering goes on after the database is opened again. A record whose description cannot
// be written is taken back; the texts stay in the window for another try.
void TForm14::Add1Click()
{
    if (DbState.dbDir.empty()) {
        ShowMessage("Database is not opened!");
        return;
    }
    if (!recordDoc_->confirmEncodable() || !descriptionDoc_->confirmEncodable())
        return;
    const std::int32_t n = nextFreeRecord();
    const std::string record = recordPath(n, ".dbm");
    SaveTextArea(memCont, record);
    try {
        SaveTextArea(MemDesc, recordPath(n, ".dsc"));
    } catch (const Error&) {
        platform::deleteFile(record);
        throw;
    }
    recordDoc_->setFile(record);
    descriptionDoc_->setFile(recordPath(n, ".dsc"));
    DbState.recFile = record;
    DbState.recCount = n;
    writeRecordCount(n);
}

std::int32_t TForm14::nextFreeRecord() const
{
    for (std::int32_t n = DbState.recCount;;) {
        if (n == std::numeric_limits<std::int32_t>::max())
            throw OverflowError();
        ++n;
        if (!platform::fileExists(recordPath(n, ".dbm")) && !platform::fileExists(recordPath(n, ".dsc")))
            return n;
    }
}

// Only line 2, the count, changes: the description and any further lines stay.
void TForm14::writeRecordCount(std::int32_t n)
{
    Lines lines = readLines(DbState.dbFile);
    lines.resize(std::max<std::size_t>(lines.size(), 2));
    lines[1] = std::to_string(n);
    saveFileAtomically(DbState.dbFile, joinLines(lines));
}

// ---- menu "Text", "EditOr", buttons --------------------------------------------------------

void TForm14::Open4Click()
{
    const auto chosen = openDialog();
    if (chosen)
        ShowFileInViewer(Form16, Form16->memtxt, *chosen);
}

void TForm14::Close4Click() { Form16->Close(); }

void TForm14::EditOr1Click() { Form17->ShowModal(); }

// The converted text is an edit of the record.
void TForm14::Button1Click()
{
    ShowBytes(memCont, DosToWinText(joinLines(GetLines(memCont))), "");
    recordDoc_->setModified(true);
}

void TForm14::bbClearClick() { recordDoc_->clear(); }

// ---- the engine's objects ------------------------------------------------------------------

// Replacing an open record with engine objects asks first when it has unsaved edits.
bool TForm14::mayReplaceRecord() { return MayDiscard({recordDoc_, descriptionDoc_}); }

// The areas show engine objects now: no record file, nothing a Save writes.
void TForm14::showingObjects()
{
    recordDoc_->detach();
    descriptionDoc_->detach();
}

void TForm14::OnShow()
{
    showingObjects();
    context.ObjectCount = 0;
    context.ObjectCursor = 0;
    edProj->setText(toQt(context.CurrentKb.str()));
    MemDesc->clear();
    memCont->clear();
    LoadObjectList(edNum, [this] { showObjectList(); });
}

// The list's lines go into the record area in one step; when a number ends the load, the
// lines read up to it are shown all the same.
void TForm14::showObjectList()
{
    std::string lines;
    const auto show = [&] { memCont->setPlainText(decodeLines(lines)); };
    try {
        for (const ObjectListGroup& group : ReadObjectList()) {
            CheckGroupFitsToShow(group);
            for (const std::string* line : {&group.number, &group.text1, &group.text2}) {
                lines += *line;
                lines += "\r\n";
            }
            PushObjectNumber(group);
        }
    } catch (const Error&) {
        show();
        throw;
    }
    show();
}

// A description is made only for an object the engine has created: it names the new
// object's number.
void TForm14::bbCreateClick()
{
    std::string number;
    if (createObject(number))
        createDescription(number);
}

bool TForm14::createObject(std::string& number)
{
    if (!SaveObjectText(memCont))
        return false;
    std::string code;
    RunGoal(goals::CreateObject, code, number);
    if (code != "0")
        return false;
    edNum->setText(toQt(number));
    return true;
}

void TForm14::createDescription(const std::string& number)
{
    const std::string description = DescriptionText(GetLines(MemDesc));
    if (description.empty())
        return;
    saveFileAtomically(context.WorkDir + files::ObjectFrame, joinLines({DescriptionTerm(number, description)}));
    std::string code, value;
    RunGoal(goals::CreateObject, code, value);
}

void TForm14::bbNextClick()
{
    if (context.ObjectCursor >= context.ObjectCount || !mayReplaceRecord())
        return;
    context.ObjectCursor = context.ObjectCursor + 1;
    ShowRecord(context.ObjectNumbers[context.ObjectCursor]);
}

void TForm14::bbPrevClick()
{
    if (context.ObjectCursor <= 1 || !mayReplaceRecord())
        return;
    context.ObjectCursor = context.ObjectCursor - 1;
    ShowRecord(context.ObjectNumbers[context.ObjectCursor]);
    edNum->setText(toQt(std::to_string(context.ObjectNumbers[context.ObjectCursor])));
}

void TForm14::bbFindClick()
{
    const std::string pattern = fromQt(edFind->text());
    if (pattern.empty() || !mayReplaceRecord())
        return;
    std::string code, value;
    RunGoal(goals::FindObject(pattern), code, value);
    if (code != "0")
        return;
    TextBlock block;
    ReadLines(context.WorkDir + context.ObjectShowFile, block, 1);
    if (const auto found = TryStrToInt(block[0]))
        ShowRecord(*found);
}

void TForm14::Retract1Click()
{
    std::string code, value;
    RunGoal(goals::Retract(fromQt(edNum->text())), code, value);
}

void TForm14::ShowRecord(std::int32_t n)
{
    std::string code, value;
    RunGoal(goals::ShowObject(std::to_string(n)), code, value);
    LoadTextArea(memCont, context.WorkDir + context.ObjectShowFile);
    showingObjects();
    edNum->setText(toQt(std::to_string(n)));
    RunGoalQuiet(goals::FindObjectByNumber(fromQt(edNum->text())), code, value);
    if (code != "0") {
        MemDesc->clear();
        return;
    }
    TextBlock block;
    ReadLines(context.WorkDir + context.ObjectListFile, block, 1);
    const auto description = TryStrToInt(block[0]);
    if (!description)
        return;
    RunGoal(goals::ShowObject(std::to_string(*description)), code, value);
    LoadTextArea(MemDesc, context.WorkDir + context.ObjectShowFile);
}

}  // namespace tarnix
