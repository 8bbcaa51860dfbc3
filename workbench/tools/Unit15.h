// The string function tester: runs one of the engine's string functions, chosen by its name,
// on the texts typed into the argument fields and shows the result.
#pragma once

#include "form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarnix {

class TForm15 : public Form {
    Q_OBJECT

public:
    explicit TForm15(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* edFun;
    QLabel* a1;
    QLineEdit* eda1;
    QLabel* Label2;
    QLineEdit* eda2;
    QLabel* Label4;
    QLineEdit* eda3;
    QLabel* Label5;
    QLineEdit* edres;
    QPushButton* Button1;
    QPushButton* Button2;

    // Exec: runs the function whose name is exactly the text of edFun; any other name changes
    // nothing but the status text, which says so.
    void Button1Click();
    // Exit: hides the window.
    void Button2Click();

private:
    void createControls();
};

extern TForm15* Form15;

}  // namespace tarnix
