// The small table editor window that the database editor opens modally: four edit boxes in a
// row over a grid.
#pragma once

#include "form.h"

class QLineEdit;

namespace tarnix {

class StringGrid;

class TForm17 : public Form {
    Q_OBJECT

public:
    explicit TForm17(QWidget* parent = nullptr);

    QLineEdit* edNum;
    QLineEdit* edType;
    QLineEdit* Edit1;
    QLineEdit* edText;
    StringGrid* StringGrid1;

protected:
    void FormShow() override;

private:
    void createControls();
};

extern TForm17* Form17;

}  // namespace tarnix
