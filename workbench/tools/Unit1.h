// The tools launcher: opens the rule, object and string tool windows, runs a goal file and
// shows two of the model texts it leaves, picks a task name, and creates or opens a knowledge
// base.
#pragma once

#include <functional>

#include "form.h"

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tarnix {

class OutputView;

class TForm1 : public Form {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    QPushButton* Button1;  // Run
    QPushButton* Button2;  // base
    QPushButton* bbtrace;
    QPushButton* Button4;  // "M3", "M4" and "Button3": no commands
    QPushButton* Button5;
    QPushButton* bbReq;
    QPushButton* bbExec;
    QPushButton* bbTask;
    QLineEdit* edTask;
    QPushButton* Button6;  // Exit
    QPushButton* Button3;
    QLineEdit* edKb;
    OutputView* Memo1;
    OutputView* Memo2;
    QMenu* Files1;
    QAction* NewProject1;  // no command
    QAction* NewKb1;
    QAction* OpenKb1;
    QAction* Exit1;  // no command
    QAction* KB1;
    QAction* ES1;
    QAction* DataBase1;
    QAction* Test1;

    // Each time the launcher becomes the active window: the settings into the shared record,
    // the task and knowledge-base fields from it.
    void FormActivate();

    // Run: sends the goal named by a goal file and shows model texts 0 and 5.
    void Button1Click();
    // Task: the stem of a chosen goal file becomes the task name.
    void bbTaskClick();
    // New Kb: asks the engine to create a knowledge base of a new name.
    void NewKb1Click();
    // Open Kb: a chosen knowledge base becomes the current one, in the settings file too.
    void OpenKb1Click();
    void Button6Click();

    // The tool windows: modal ones block the launcher until they are closed.
    void Button2Click();    // rule-base viewer, modal
    void bbtraceClick();    // rule execution
    void bbReqClick();      // request builder, modal
    void bbExecClick();     // substitution tester
    void KB1Click();        // knowledge-base catalogue
    void ES1Click();        // the workbench's main window
    void DataBase1Click();  // database editor, modal
    void Test1Click();      // string function tester

protected:
    void FormShow() override;

private:
    void createControls();
    void createMenu();
    std::function<void()> command(void (TForm1::*method)());
};

extern TForm1* Form1;
// What "ES" does: shows the workbench's main window. Set by the program when it creates its
// windows (the main window is not a tool window).
extern std::function<void()> ShowWorkbench;

}  // namespace tarnix
