// The rule execution window: runs a model and shows two model texts side by side, fetches the
// engine's trace list and, for a chosen rule, its trace and the two explanations.
#pragma once

#include <array>
#include <string>

#include "form.h"
#include "text_file.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tarnix {

class OutputView;

class TForm6 : public Form {
    Q_OBJECT

public:
    explicit TForm6(QWidget* parent = nullptr);

    QPushButton* Button1;  // "Next", "Prev", "New": no commands
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* bbRun;
    QPushButton* bbTrace;
    QPushButton* Button7;  // "Save": no command
    QPushButton* Button8;  // "Exit"
    QLabel* Label5;
    QLineEdit* edLM;  // the model to run
    QLabel* Label7;
    QLineEdit* edRule;  // the chosen rule's identifier
    QLabel* Label6;
    QLineEdit* edRM;
    // Never used; kept out of sight.
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QListWidget* ListBox1;
    OutputView* Memo1;
    OutputView* Memo2;
    QMenu* File1;

    void bbRunClick();
    void bbTraceClick();
    // Show rule: the trace and the explanations of the rule of the clicked entry.
    void ListBox1Click(const std::string& entry);
    void Button8Click();
    // ListBox1's entries := the lines of a trace list.
    void ShowTraceList(const Lines& list);

private:
    void createControls();
    QWidget* createButtonBar();
    QWidget* createPanes();
    void createMenu();
    void showModels(int left, int right);
    void showTrace(const std::string& rule);
};


extern TForm6* Form6;

}  // namespace tarnix
