// The parameters window: a grid under the project's label; nothing opens it.
#pragma once

#include "form.h"

class QLabel;

namespace tarnix {

class StringGrid;

class TForm13 : public Form {
    Q_OBJECT

public:
    explicit TForm13(QWidget* parent = nullptr);

    QLabel* Label1;
    StringGrid* StringGrid1;

private:
    void createControls();
};

extern TForm13* Form13;

}  // namespace tarnix
