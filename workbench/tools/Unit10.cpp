#include "Unit10.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "Unit11.h"
#include "Unit4.h"
#include "object_tools.h"
#include "qt_text.h"
#include "string_grid.h"
#include "window_layout.h"
#include "fonts.h"

namespace tarnix {

TForm10* Form10 = nullptr;

namespace {

const char* const KbOpenFilter = "idb файлы (*.idb)|*IDB|Все файлы (*.*)|*.*";
// The grid's design size: a fixed header row, so at least 99 object rows.
constexpr int CatalogueRows = 100;

bool hasLatinLetter(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

}  // namespace

TForm10::TForm10(QWidget* parent) : Form("Form10", parent)
{
    setWindowTitle(QStringLiteral("Form10"));
    setFont(FixedPitchFont());
    resize(1140, 560);
    createControls();
    createMenu();
}

void TForm10::createControls()
{
    StringGrid1 = make<StringGrid>("StringGrid1", 3, CatalogueRows);
    StringGrid1->SetColWidths({64, 140, 902});
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, [this] { dispatch([this] { StringGrid1DblClick(); }); });
    stackControls(this, {createToolBar(), StringGrid1});
}

QWidget* TForm10::createToolBar()
{
    const auto label = [this](const char* caption, QLineEdit*& edit, const char* name, int width) {
        edit = make<QLineEdit>(name);
        edit->setMaximumWidth(width);
        auto* label = new QLabel(QString::fromLatin1(caption));
        label->setBuddy(edit);
        return label;
    };
    QLabel* kb = label("Kb", edKb, "edKb", 240);
    QLabel* number = label("Number", edNum, "edNum", 100);
    bbExit = make<QPushButton>("bbExit", QStringLiteral("Exit"));
    onClick(bbExit, [this] { Close(); });
    return controlRow({{kb, 0}, {edKb, 0}, {number, 0}, {edNum, 0}, {bbExit, 0}, {nullptr, 1}});
}

void TForm10::createMenu()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    addCommand(file, "CreateKb1", "Create Kb", [this] { CreateKb1Click(); });
    addCommand(file, "OpenKb1", "Open Kb", [this] { OpenKb1Click(); });
    addCommand(file, "Exit1", "Exit", [this] { Close(); });
}

void TForm10::OnShow()
{
    edKb->setText(toQt(context.CurrentKb.str()));
    FillCatalogue();
}

// ---- the object list -----------------------------------------------------------------------

void TForm10::FillCatalogue()
{
    clearCatalogue();
    LoadObjectList(edNum, [this] { showObjectList(); });
}

// Every fill starts from an empty grid of the design size and an empty number list, so no
// row of an earlier, longer list stays behind.
void TForm10::clearCatalogue()
{
    StringGrid1->SetRowCount(CatalogueRows);
    StringGrid1->ClearRows(1);
    context.ObjectCursor = 0;
}

// One row per object from row 1; the grid grows to hold every object of the list.
void TForm10::showObjectList()
{
    const std::vector<ObjectListGroup> groups = ReadObjectList();
    const auto rows = std::min<std::size_t>(groups.size() + 1, std::numeric_limits<int>::max());
    StringGrid1->SetRowCount(std::max(CatalogueRows, static_cast<int>(rows)));
    int row = 1;
    for (const ObjectListGroup& group : groups) {
        CheckGroupFitsToShow(group);
        StringGrid1->SetCells(0, row, group.number);
        StringGrid1->SetCells(1, row, group.text1);
        StringGrid1->SetCells(2, row, group.text2);
        PushObjectNumber(group);
        ++row;
    }
}

// ---- knowledge bases -----------------------------------------------------------------------

void TForm10::OpenKb1Click()
{
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->SetColWidths({42});
    const auto chosen = ui().openFileDialog(DialogKind::Document, cp1251(KbOpenFilter));
    if (!chosen)
        return;
    const std::string kb = FileStem(fileNamePart(*chosen));
    if (kb.empty())
        return;
    makeCurrent(kb);
}

void TForm10::CreateKb1Click()
{
    const std::string kb = fromQt(edKb->text());
    CheckKbName(kb);
    std::string code, value;
    if (hasLatinLetter(kb))
        RunGoal(goals::NewKb(kb), code, value);
    if (code != "0") {
        ShowMessage("Error in creating KB " + kb);
        return;
    }
    makeCurrent(kb);
}

// The knowledge base named `kb` becomes the current one, in the settings file too.
void TForm10::makeCurrent(const std::string& kb)
{
    CheckKbName(kb);
    context.CurrentKb = kb;
    WriteSetting("currKb", context.CurrentKb);
    edKb->setText(toQt(context.CurrentKb.str()));
    FillCatalogue();
}

// ---- the object editor ---------------------------------------------------------------------

void TForm10::StringGrid1DblClick()
{
    const int row = StringGrid1->currentRow() + 1;
    context.SelectedObject = TryStrToInt(StringGrid1->Cells(0, row)).value_or(0);
    context.ObjectCursor = row;
    Form11->ShowModal();
    FillCatalogue();
}

}  // namespace tarnix
