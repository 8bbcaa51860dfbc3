// The memo viewer: the backward explanation of a rule, filled and shown by the rule
// execution window.
#pragma once

#include "form.h"

class QPlainTextEdit;

namespace tarnix {

class OutputView;

class TForm8 : public Form {
    Q_OBJECT

public:
    explicit TForm8(QWidget* parent = nullptr);

    OutputView* Memo1;
};

extern TForm8* Form8;

}  // namespace tarnix
