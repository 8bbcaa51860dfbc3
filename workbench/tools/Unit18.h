// The pattern substitution tester: replaces every occurrence of a pattern in an input string
// and shows the result. It has no close button; the window's frame closes it.
#pragma once

#include "form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarnix {

class TForm18 : public Form {
    Q_OBJECT

public:
    explicit TForm18(QWidget* parent = nullptr);

    QLabel* Substitution;
    QPushButton* bbExec;
    QLabel* Label2;
    QLineEdit* edInp;
    QLabel* Label1;
    QLineEdit* edPatt;
    QLabel* Label4;
    QLineEdit* edRepl;
    QLabel* Label3;
    QLineEdit* edRes;
    QLabel* lb1;

    // Exec: the result field gets the input string with every occurrence of the pattern
    // replaced.
    void bbExecClick();

private:
    void createControls();
};

extern TForm18* Form18;

}  // namespace tarnix
