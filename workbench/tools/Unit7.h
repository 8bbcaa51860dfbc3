// A window holding one list; nothing opens it.
#pragma once

#include "form.h"

class QListWidget;

namespace tarnix {

class TForm7 : public Form {
    Q_OBJECT

public:
    explicit TForm7(QWidget* parent = nullptr);

    QListWidget* ListBox1;
};

extern TForm7* Form7;

}  // namespace tarnix
