// The main window: the project fields, the eight sheets of text areas, the status bar and the
// menu of every command of the workbench.
#pragma once

#include <array>
#include <vector>

#include "form.h"

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QWidget;

namespace tarnix {

class CodePane;
class Document;
class FindBar;
class OutputView;

class TForm12 : public Form {
    Q_OBJECT

public:
    explicit TForm12(QWidget* parent = nullptr);

    // The project fields.
    QLineEdit* edProj;
    QLineEdit* edTask;
    QLineEdit* edKb;
    QLineEdit* edDepth;
    QLineEdit* edLength;
    // The sheets and their text areas.
    QTabWidget* PageControl1;
    QWidget* TabSheetComp;
    QWidget* TabSheetRun;
    QWidget* Task;
    QWidget* Rules;
    QWidget* TabSheetPresdb;
    QWidget* TabSheetTrace;
    QWidget* TabSheetTree;
    QWidget* TabSheetText;
    OutputView* mmCompL;
    OutputView* mmCompR;
    OutputView* mmTask;
    OutputView* mmTree;
    CodePane* mmTaskText;
    CodePane* mmRuleText;
    OutputView* mmPresdb;
    OutputView* mmTrace;
    OutputView* mmEsExp;
    CodePane* mmText;
    // The two panels of the status bar, and the place of the cursor in the pane in use.
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;
    QLabel* CursorPlace;
    // Find and replace in the sheets' panes (Ctrl+F, F3, Shift+F3, Ctrl+H).
    FindBar* FindBar1;

    // The activation routine: re-reads the settings and the run parameters into the state and
    // the fields, and cleans the project folder of its "*.tmp" files.
    void FormActivate();

    // Menu "Проект".
    void OpenProject1Click();
    // The projects opened last (per user), each opened as "Открыть проект" opens the one chosen.
    QMenu* RecentProjects1;
    void openProject(const std::string& path);
    void openRecentProject(const std::string& path);
    // The project named on the command line: a project file, or a folder (its project file
    // when it holds exactly one).
    void openProjectAt(const std::string& place);
    void CompileKb1Click();
    void CompileProject1Click();
    void NewProject1Click();
    void Run1Click();
    void Exit1Click();
    // Menus "Задача", "БЗ", "Текст".
    void Open1Click();
    void Close1Click();
    void Save1Click();
    void SaveAs1Click();
    void Open2Click();
    void Close2Click();
    void Save2Click();
    void SaveAs2Click();
    void Open3Click();
    void Close3Click();
    void Save3Click();
    void SaveAs3Click();
    // Menu "Справка".
    void Help2Click();
    void About1Click();

    // The sheets that load their files when brought to the front.
    void TaskShow();
    void RulesShow();
    void TabSheetPresdbShow();
    void TabSheetPresdbEnter();
    void TabSheetPresdbContextPopup();
    void TabSheetTraceShow();
    void TabSheetTreeShow();

protected:
    void FormShow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    QWidget* createFieldBar();
    void createSheets();
    void createMenu();
    void fillRecentProjects();
    void createDocuments();
    void followSheetShortcuts(int index);
    QWidget* addSheet(const char* name, const char* caption);
    // Wraps a command: errors go to the error box, and closing an information message
    // runs the activation routine before the command's next step.
    std::function<void()> command(void (TForm12::*method)());
    std::function<void()> command(std::function<void()> body);
    void watchActivation();
    void showRunParameters();
    void connectSheets();
    void sheetShown(int index);
    std::string field(QLineEdit* edit) const;
    // Loads `path` into `view` when the file exists; otherwise leaves the view alone. A view
    // that follows its file during a run has it already.
    static void loadIfExists(OutputView* view, const std::string& path);
    // During a run the output sheets follow the files the engine writes; after it, each shows
    // its file as it is.
    void followOutputs(bool on);
    void showRunResults();
    // The listing and the run output lead to the line of the knowledge base's source that one
    // of their lines names, shown in the left pane of "Компиляция".
    void connectSourceLines();
    void showSourceLine(const QString& message);
    void showFirstError();
    void createWrapCommand();
    // The panes that show what the engine and the build wrote.
    std::vector<OutputView*> outputPanes() const;
    // The panes where documents are edited.
    std::vector<CodePane*> editPanes() const;
    // Save and "Сохранить как" of each document; false when nothing was saved.
    bool saveTaskAs();
    bool saveKb();
    bool saveKbAs();
    bool saveTextAs();

    // The documents of the sheets "Задача", "БЗ" and "Текст".
    Document* taskDoc_ = nullptr;
    Document* kbDoc_ = nullptr;
    Document* textDoc_ = nullptr;
    // "Открыть" and "Сохранить" of the menus "Задача", "БЗ", "Текст".
    std::array<QAction*, 3> openItems_{};
    std::array<QAction*, 3> saveItems_{};
    // The left pane of "Компиляция" holds the knowledge base's source (not the build log).
    bool sourceShown_ = false;
};

extern TForm12* Form12;

}  // namespace tarnix
