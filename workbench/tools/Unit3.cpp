#include "Unit3.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "Unit4.h"
#include "Unit5.h"
#include "document.h"
#include "code_pane.h"
#include "find_bar.h"
#include "qt_text.h"
#include "string_grid.h"
#include "text_area.h"
#include "window_layout.h"

namespace tarnix {

TForm3* Form3 = nullptr;

namespace {

constexpr int GridColumns = 6;
constexpr int GridRows = 21;
const char* const TextOpenFilter = "txt файлы (*.txt)|*TXT|Все файлы (*.*)|*.*";
const char* const TextSaveFilter = "txt файлы (*.txt)|*txt|Все файлы (*.*)|*.*";

std::string modelTextPath(int k) { return context.WorkDir + "m" + std::to_string(k) + ".txm"; }

QPlainTextEdit* makePane(const QString& name, const QString& initial)
{
    auto* pane = new CodePane(initial);
    pane->setObjectName(name);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setTabChangesFocus(true);
    return pane;
}

}  // namespace

void ShowRuleSetInGrid(StringGrid* grid, const rules& set)
{
    grid->setUpdatesEnabled(false);
    grid->SetRowCount(std::max(GridRows, set.count + 1));
    for (std::int32_t r = 1; r <= set.count; ++r) {
        const rcont& rule = set.entries[r];
        int col = 0;
        for (const std::string* field : {&rule.Number, &rule.Comment, &rule.Type, &rule.P2, &rule.P3, &rule.P4})
            grid->SetCells(col++, r, *field);
    }
    grid->ClearRows(set.count + 1);
    grid->setUpdatesEnabled(true);
}

TForm3::TForm3(QWidget* parent) : Form("Form3", parent)
{
    setWindowTitle(QStringLiteral("RuleBase[*]"));  // "*" while a document is modified
    resize(1024, 689);
    createControls();
    AddFindBar(this);
    createDocuments();
    createMenu();
    onClick(Button6, [this] { Button6Click(); });
    onClick(bbSave, [this] { bbSaveClick(); });
    onClick(bbLoadText, [this] { bbLoadTextClick(); });
    onClick(bbSaveText, [this] { bbSaveTextClick(); });
    onClick(bbSaveTextAs, [this] { bbSaveTextAsClick(); });
    for (int k = 1; k <= 3; ++k)
        connect(StringGrids[k - 1], &StringGrid::cellSelected, this,
                [this, k](int, int row) { dispatch([this, k, row] { StringGridClick(k, row); }); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        dispatch([this, index] { PageShow(index); });
        dispatch([this, index] { PageControl1Change(index); });
    });
}

// ---- controls ------------------------------------------------------------------------------

void TForm3::createControls()
{
    createPages();
    stackControls(this, {createButtonBar(), PageControl1});
}

QWidget* TForm3::createButtonBar()
{
    Button1 = make<QPushButton>("Button1", QStringLiteral("Run"));
    Button2 = make<QPushButton>("Button2", QStringLiteral("M1"));
    Button3 = make<QPushButton>("Button3", QStringLiteral("M2"));
    Button4 = make<QPushButton>("Button4", QStringLiteral("M3"));
    Button5 = make<QPushButton>("Button5", QStringLiteral("M4"));
    Button6 = make<QPushButton>("Button6", QStringLiteral("Exit"));
    bbSave = make<QPushButton>("bbSave", QStringLiteral("Save"));
    bbLoadText = make<QPushButton>("bbLoadText", QStringLiteral("Load Text"));
    bbSaveText = make<QPushButton>("bbSaveText", QStringLiteral("SaveText"));
    bbSaveTextAs = make<QPushButton>("bbSaveTextAs", QStringLiteral("SaveText As"));
    return wrappingRow({Button1, Button2, Button3, Button4, Button5, bbSave, bbLoadText, bbSaveText, bbSaveTextAs,
                        Button6});
}

QWidget* TForm3::addPage(const char* name, const QString& caption, QWidget* content)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(content);
    PageControl1->addTab(page, caption);
    return page;
}

void TForm3::createPages()
{
    PageControl1 = make<QTabWidget>("PageControl1");
    for (int k = 1; k <= 3; ++k) {
        auto* grid = new StringGrid(GridColumns, GridRows);
        grid->setObjectName(QStringLiteral("StringGrid%1").arg(k));
        grid->SetColWidths({64, 395, 35, 35, 271, 367});
        // Titled as the rule editor names the fields; the narrow ones say it in a tip.
        const char* const titles[] = {"Comment", "Type", "Model 2", "Model 1", "Result"};
        for (int c = 1; c < GridColumns; ++c) {
            grid->SetCells(c, 0, titles[c - 1]);
            grid->horizontalHeaderItem(c - 1)->setToolTip(QString::fromLatin1(titles[c - 1]));
        }
        StringGrids[k - 1] = grid;
        tabRule[k - 1] = addPage(("tabRule" + std::to_string(k)).c_str(), QStringLiteral("Rule%1").arg(k), grid);
    }
    for (int k = 0; k <= 5; ++k) {
        mmM[k] = makePane(QStringLiteral("mmM%1").arg(k), QStringLiteral("Model %1").arg(k));
        tabM[k] = addPage(("tabM" + std::to_string(k)).c_str(), QStringLiteral("M%1").arg(k), mmM[k]);
    }
    for (int k = 0; k <= 5; ++k) {
        mmMt[k] = makePane(QStringLiteral("mmM%1t").arg(k), QStringLiteral("mmM%1t").arg(k));
        mmMt[k]->setTabChangesFocus(false);  // these take Tab characters
        TabSheet[k] = addPage(("TabSheet" + std::to_string(k + 1)).c_str(), QStringLiteral("M%1t").arg(k), mmMt[k]);
    }
    mmText = makePane(QStringLiteral("mmText"), QStringLiteral("mmText"));
    Te = addPage("Te", QStringLiteral("Text"), mmText);
    const QSignalBlocker quiet(PageControl1);
    PageControl1->setCurrentIndex(FirstModelTextPage + 5);  // "M5t", with its initial text
}

// The panes that a Save writes: page M0 (m0.txt), the six ".txm" pages and the text document.
// Until a model page has shown its file, its pane is scratch text that no Save writes.
void TForm3::createDocuments()
{
    modelDoc_ = new Document(mmM[0], QStringLiteral("M0"), Document::WithoutFile::Scratch);
    modelDoc_->markInTab(PageControl1, tabM[0]);
    for (int k = 0; k <= 5; ++k) {
        modelTextDocs_[k] = new Document(mmMt[k], QStringLiteral("M%1t").arg(k), Document::WithoutFile::Scratch);
        modelTextDocs_[k]->markInTab(PageControl1, TabSheet[k]);
    }
    textDoc_ = new Document(mmText, QStringLiteral("Text"));
    textDoc_->markInTab(PageControl1, Te);
    textDoc_->setSaveAsCommand([this] { return saveTextAs(); });
}

void TForm3::createMenu()
{
    File1 = menuBar()->addMenu(QStringLiteral("File"));
    File1->setObjectName(QStringLiteral("File1"));
    addCommand(File1, "ClearText1", "ClearText", [this] { ClearText1Click(); });
    addCommand(File1, "l1", "l", [] {});
}

// ---- pages ---------------------------------------------------------------------------------

void TForm3::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous())
        dispatch([this] { PageShow(PageControl1->currentIndex()); });
}

// A page whose pane holds unsaved edits keeps them.
void TForm3::PageShow(int index)
{
    if (index >= FirstRulePage && index < FirstRulePage + 3) {
        showRuleSet(index - FirstRulePage + 1);
    } else if (index == FirstModelPage) {
        if (!modelDoc_->isModified())
            showPage(modelDoc_, ModelPath(0), [this] { ShowModel(mmM[0], 0); });
    } else if (index > FirstModelPage && index < FirstModelPage + 6) {
        ShowModel(mmM[index - FirstModelPage], index - FirstModelPage);
    }
}

void TForm3::PageControl1Change(int index)
{
    const int k = index - FirstModelTextPage;
    if (k >= 0 && k < 6 && !modelTextDocs_[k]->isModified())
        showPage(modelTextDocs_[k], modelTextPath(k), [this, k] { LoadTextArea(mmMt[k], modelTextPath(k)); });
}

// A page whose file could not be shown holds no file's text any more: Save then writes nothing.
void TForm3::showPage(Document* page, const std::string& file, const std::function<void()>& load)
{
    try {
        load();
    } catch (...) {
        page->detach();
        throw;
    }
    page->setFile(file);
}

void TForm3::showRuleSet(int k)
{
    ReadRuleSet(k, RuleSetPath(k));  // a file that cannot be read changes nothing
    const rules& set = context.RuleSets[k];
    try {
        for (std::int32_t r = 1; r <= set.count; ++r)
            CheckRuleFitsToShow(set.entries[r], RuleSetPath(k));
    } catch (const Failure&) {
        // No row may go on showing, or opening, a rule of the set that was replaced.
        shownRules_[k - 1] = 0;
        StringGrids[k - 1]->ClearRows(1);
        throw;
    }
    ShowRuleSetInGrid(StringGrids[k - 1], set);
    shownRules_[k - 1] = set.count;
}

void TForm3::StringGridClick(int k, int row)
{
    if (row > shownRules_[k - 1])
        return;  // an empty row opens no slot
    context.RuleSetNo = k;
    context.RuleCursor = row;
    Form5->ShowOb();
    Form5->Show();
}

// ---- commands ------------------------------------------------------------------------------

// Page M0 and the ".txm" pages save the file they show; a page that shows none (not yet
// loaded, or its file could not be shown) says so and writes nothing.
void TForm3::bbSaveClick()
{
    const int index = PageControl1->currentIndex();
    if (index == FirstModelPage)
        saveModelPage();
    else if (index >= FirstModelTextPage && index < FirstModelTextPage + 6)
        savePage(modelTextDocs_[index - FirstModelTextPage], modelTextPath(index - FirstModelTextPage));
}

// Page M0 shows at most the first 999 lines of m0.txt: a longer file is not cut by a Save.
void TForm3::saveModelPage()
{
    if (modelDoc_->hasFile())
        CheckNothingLost(ModelPath(0), context.Models[0].linesNotRead);
    savePage(modelDoc_, ModelPath(0));
}

void TForm3::savePage(Document* page, const std::string& file)
{
    if (page->path() != file) {
        ShowMessage("Nothing saved: the page does not show the text of " + file);
        return;
    }
    page->saveTo(file);
}

void TForm3::bbLoadTextClick()
{
    if (!MayDiscard({textDoc_}))
        return;
    const auto chosen = ui().openFileDialog(DialogKind::Document, cp1251(TextOpenFilter));
    if (!chosen)
        return;
    textDoc_->load(*chosen);  // a file that cannot be read leaves the document as it was
    context.TextFilePath = *chosen;
}

// The text document saves to its own file; one never loaded saves as a new file.
void TForm3::bbSaveTextClick() { textDoc_->save(); }

void TForm3::bbSaveTextAsClick() { saveTextAs(); }

// The new file is a copy: the document stays with its own file, unless it had none.
bool TForm3::saveTextAs()
{
    const auto chosen = ui().saveFileDialog(DialogKind::Document, cp1251(TextSaveFilter));
    return chosen && textDoc_->saveAs(ChangeFileExt(*chosen, ".txt"), !textDoc_->hasFile());
}

void TForm3::ClearText1Click() { textDoc_->clear(); }

void TForm3::Button6Click() { Close(); }

}  // namespace tarnix
