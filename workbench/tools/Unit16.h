// The text viewer window: a text file chosen in the database editor.
#pragma once

#include "form.h"

class QPlainTextEdit;

namespace tarnix {

class OutputView;

class TForm16 : public Form {
    Q_OBJECT

public:
    explicit TForm16(QWidget* parent = nullptr);

    OutputView* memtxt;
};

extern TForm16* Form16;

}  // namespace tarnix
