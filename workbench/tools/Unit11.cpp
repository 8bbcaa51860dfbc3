#include "Unit11.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "code_pane.h"
#include "find_bar.h"
#include "Unit4.h"
#include "object_tools.h"
#include "qt_text.h"
#include "text_area.h"
#include "viewer.h"
#include "window_layout.h"

namespace tarnix {

TForm11* Form11 = nullptr;

TForm11::TForm11(QWidget* parent) : Form("Form11", parent)
{
    setWindowTitle(QStringLiteral("Form11"));
    resize(760, 520);
    createControls();
    AddFindBar(this);
    createMenu();
}

void TForm11::createControls()
{
    Memo1 = makeViewerMemo(make<CodePane>("Memo1"), "", true, false);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    stackControls(this, {createToolBar(), Memo1});
}

QWidget* TForm11::createToolBar()
{
    Label1 = make<QLabel>("Label1", QStringLiteral("Number"));
    edNum = make<QLineEdit>("edNum");
    edNum->setMaximumWidth(90);
    Label1->setBuddy(edNum);
    Button1 = make<QPushButton>("Button1", QStringLiteral("Check"));
    onClick(Button1, [this] { Button1Click(); });
    bbPrev = make<QPushButton>("bbPrev", QStringLiteral("Prev"));
    onClick(bbPrev, [this] { bbPrevClick(); });
    bbNext = make<QPushButton>("bbNext", QStringLiteral("Next"));
    onClick(bbNext, [this] { bbNextClick(); });
    bbDel = make<QPushButton>("bbDel", QStringLiteral("Del"));
    onClick(bbDel, [this] { bbDelClick(); });
    bbShow = make<QPushButton>("bbShow", QStringLiteral("ShowCg"));
    onClick(bbShow, [this] { bbShowClick(); });
    bbExit = make<QPushButton>("bbExit", QStringLiteral("Exit"));
    onClick(bbExit, [this] { Close(); });
    return controlRow({{Label1, 0}, {edNum, 0}, {Button1, 0}, {bbPrev, 0}, {bbNext, 0}, {bbDel, 0}, {bbShow, 0},
                       {bbExit, 0}, {nullptr, 1}});
}

void TForm11::createMenu()
{
    QMenu* object = menuBar()->addMenu(QStringLiteral("Object"));
    object->setObjectName(QStringLiteral("Object1"));
    addCommand(object, "New1", "New", [this] { New1Click(); });
    addCommand(object, "Create1", "Create", [this] { Create1Click(); });
    addCommand(object, "Delete1", "Delete", [this] { Delete1Click(); });
    addCommand(object, "ShowOb1", "ShowOb", [this] { ShowOb1Click(); });
    addCommand(object, "Find1", "Find", [] {});
    addCommand(object, "Binary1", "Binary", [this] { Binary1Click(); });
    addCommand(object, "Update1", "Update", [this] { Update1Click(); });
    addCommand(object, "Clear1", "Clear", [this] { Clear1Click(); });
    addCommand(object, "Exit1", "Exit", [this] { Close(); });
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    addCommand(file, "Show1", "Show", [this] { Show1Click(); })->setStatusTip(QStringLiteral("Show text file"));
}

std::string TForm11::number() const { return fromQt(edNum->text()); }

// ---- showing objects -----------------------------------------------------------------------

void TForm11::OnShow()
{
    edNum->setText(toQt(std::to_string(context.SelectedObject)));
    ShowObGraph(context.SelectedObject);
}

void TForm11::ShowObText(std::int32_t n)
{
    std::string code, value;
    RunGoal(goals::ShowObject(std::to_string(n)), code, value);
    showObjectFile();
}

void TForm11::ShowObGraph(std::int32_t n)
{
    std::string code, value;
    RunGoal(goals::ShowFrame(std::to_string(n)), code, value);
    showObjectFile();
}

void TForm11::showObjectFile() { LoadTextArea(Memo1, context.WorkDir + context.ObjectShowFile); }

void TForm11::ShowOb1Click()
{
    const std::int32_t n = StrToInt(number());
    if (n > 0) {
        std::string code, value;
        RunGoal(goals::ShowFrame(std::to_string(n)), code, value);
    }
    showObjectFile();
}

void TForm11::bbShowClick()
{
    const auto n = TryStrToInt(number());
    if (!n) {
        ShowMessage("Error in Object number - " + number());
        return;
    }
    ShowObText(*n);
}

void TForm11::Binary1Click()
{
    std::string code, value;
    RunGoal(goals::BinaryObjects, code, value);
    LoadTextArea(Memo1, context.WorkDir + files::BinaryObjects);
}

void TForm11::Show1Click()
{
    const auto chosen = ui().openFileDialog(DialogKind::Document, "");
    if (chosen)
        LoadTextArea(Memo1, *chosen);
}

// ---- the object text to the engine ---------------------------------------------------------

void TForm11::New1Click()
{
    if (!SaveObjectText(Memo1))
        return;
    std::string code, value;
    RunGoal(goals::LoadFrame, code, value);
}

void TForm11::Create1Click()
{
    if (!SaveObjectText(Memo1))
        return;
    std::string code, value;
    RunGoal(goals::CreateObject, code, value);
    if (code == "0")
        edNum->setText(toQt(value));
}

void TForm11::Update1Click()
{
    if (!SaveObjectText(Memo1))
        return;
    std::string code, value;
    RunGoal(goals::UpdateObject(number()), code, value);
}

void TForm11::Button1Click() { ShowBracketCounts(Memo1); }

void TForm11::Clear1Click() { Memo1->clear(); }

// ---- deleting ------------------------------------------------------------------------------

void TForm11::deleteObject(const std::string& goal)
{
    std::string code, value;
    RunGoal(goal, code, value);
    Memo1->clear();
    edNum->clear();
}

void TForm11::Delete1Click() { deleteObject(goals::DeleteObject(number())); }

void TForm11::bbDelClick() { deleteObject(goals::DeleteObjectList(number())); }

// ---- walking the object list ---------------------------------------------------------------

void TForm11::bbPrevClick()
{
    if (context.ObjectCursor <= 1)
        return;
    context.ObjectCursor = context.ObjectCursor - 1;
    showCurrentEntry();
}

void TForm11::bbNextClick()
{
    if (context.ObjectCursor >= context.ObjectCount)
        return;
    context.ObjectCursor = context.ObjectCursor + 1;
    showCurrentEntry();
}

void TForm11::showCurrentEntry()
{
    const std::int32_t n = context.ObjectNumbers[context.ObjectCursor];
    ShowObGraph(n);
    edNum->setText(toQt(std::to_string(n)));
}

}  // namespace tarnix
