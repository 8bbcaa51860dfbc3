// The request builder: five editable choice lists side by side, each showing a prompt until
// something is chosen. Closing hides the window, so the choices stay for the next opening.
#pragma once

#include "form.h"

class QComboBox;
class QGroupBox;

namespace tarnix {

class TForm9 : public Form {
    Q_OBJECT

public:
    explicit TForm9(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QGroupBox* GroupBox3;
    QGroupBox* GroupBox4;
    QGroupBox* GroupBox5;
    QComboBox* cbOper;
    QComboBox* cbObj;
    QComboBox* cbCond;
    QComboBox* cbRes;
    QComboBox* ComboBox1;

private:
    void createControls();
};

extern TForm9* Form9;

}  // namespace tarnix
