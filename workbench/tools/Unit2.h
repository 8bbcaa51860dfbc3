// The "M1" viewer: the explanation of one rule of a trace, filled and shown by the rule
// execution window. Its buttons carry no commands.
#pragma once

#include "form.h"

class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tarnix {

class OutputView;

class TForm2 : public Form {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    QLineEdit* edRn;  // the rule number
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    OutputView* Memo1;
    QMenu* File1;

private:
    void createControls();
    void createMenu();
};

extern TForm2* Form2;

}  // namespace tarnix
