// The rule-base viewer: the three rule sets as grids, the six model texts, six ".txm" texts
// and one free text document on one page control. A click on a rule opens it in the rule
// editor.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "form.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace tarnix {

class Document;
class StringGrid;
struct rules;

class TForm3 : public Form {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    QPushButton* Button1;  // "Run", "M1".."M4": no commands
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;  // "Exit"
    QPushButton* bbSave;
    QPushButton* bbLoadText;
    QPushButton* bbSaveText;
    QPushButton* bbSaveTextAs;
    QTabWidget* PageControl1;
    std::array<QWidget*, 3> tabRule;     // pages 0..2: "Rule1".."Rule3"
    std::array<StringGrid*, 3> StringGrids;  // StringGrid1..StringGrid3
    std::array<QWidget*, 6> tabM;        // pages 3..8: "M0".."M5"
    std::array<QPlainTextEdit*, 6> mmM;  // mmM0..mmM5
    std::array<QWidget*, 6> TabSheet;    // pages 9..14: "M0t".."M5t"
    std::array<QPlainTextEdit*, 6> mmMt;  // mmM0t..mmM5t
    QWidget* Te;                          // page 15: "Text"
    QPlainTextEdit* mmText;
    QMenu* File1;

    // Page indexes.
    static constexpr int FirstRulePage = 0;
    static constexpr int FirstModelPage = 3;
    static constexpr int FirstModelTextPage = 9;
    static constexpr int TextPage = 15;

    void bbSaveClick();
    void bbLoadTextClick();
    void bbSaveTextClick();
    void bbSaveTextAsClick();
    void ClearText1Click();
    void Button6Click();
    // A click on row `row` of the grid of rule set k.
    void StringGridClick(int k, int row);
    // A Rule or M page becoming visible reads its file again.
    void PageShow(int index);
    // Turning to an M k t page reads its ".txm" file.
    void PageControl1Change(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    QWidget* createButtonBar();
    void createPages();
    QWidget* addPage(const char* name, const QString& caption, QWidget* content);
    void createMenu();
    void createDocuments();
    void showRuleSet(int k);
    void showPage(Document* page, const std::string& file, const std::function<void()>& load);
    void saveModelPage();
    void savePage(Document* page, const std::string& file);
    bool saveTextAs();

    std::array<int, 3> shownRules_{};  // rows of each grid that show a rule
    Document* modelDoc_ = nullptr;               // page M0
    std::array<Document*, 6> modelTextDocs_{};  // pages M0t..M5t
    Document* textDoc_ = nullptr;                // page Text
};

// Fills `grid` with rules 1..count of `set`, one a row from row 1, growing the grid to fit and
// emptying the rows after the last rule; the fixed header row stays as it is.
void ShowRuleSetInGrid(StringGrid* grid, const rules& set);

extern TForm3* Form3;

}  // namespace tarnix
