// The rule editor: one rule of one of the three rule sets of the shared record; steps through
// the set, appends, changes, deletes and checks rules, and after each change writes the set's
// file and has the engine load it.
#pragma once

#include <cstdint>
#include <string>

#include "form.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tarnix {

struct rcont;

class TForm5 : public Form {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);

    QPushButton* bbPrtev;
    QPushButton* bbNext;
    QPushButton* bbAdd;
    QPushButton* bbUpdate;
    QPushButton* bbRun;
    QPushButton* bbSave;  // no command
    QPushButton* bbDelete;
    QPushButton* bbCheck;
    QPushButton* bbExit;
    QLabel* Label1;
    QLineEdit* edNum;
    QLabel* Label4;
    QLineEdit* edType;
    QLabel* Label3;
    QLineEdit* edKbNm;  // shows RuleSetNo; read-only
    QLabel* Label2;
    QLineEdit* edFile;
    QPlainTextEdit* mmComm;
    QPlainTextEdit* mmP2;
    QPlainTextEdit* mmP3;
    QPlainTextEdit* mmP4;
    QMenu* File1;

    // Shows rule RuleCursor of set RuleSetNo.
    void ShowOb();
    // Stores the boxes into rule RuleCursor of set RuleSetNo (not its number).
    void ReadOb();

    void bbPrtevClick();
    void bbNextClick();
    void bbAddClick();
    void bbUpdateClick();
    void bbDeleteClick();
    void bbCheckClick();
    void bbRunClick();
    void bbExitClick();

private:
    void createControls();
    QWidget* createFields();
    void createMenu();
    // Writes the shown set to its file and has the engine load it.
    void SendRuleSet();
    // Shows the rule at `cursor`; a rule that cannot be shown leaves the cursor where it was.
    void showAt(std::int32_t cursor);
    // The boxes' texts as a rule's fields (no number); throws when one could not be shown again.
    rcont fieldsFromBoxes() const;
    static bool isRuleSet(int k) { return k >= 1 && k <= 3; }
};

extern TForm5* Form5;

}  // namespace tarnix
