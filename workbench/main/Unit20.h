// The about box: the start-up splash and the "О программе" window. Any key, a mouse move over
// its margin, a click on it or its panel, or its 10-second timer closes it.
#pragma once

#include "form.h"

class QFrame;
class QLabel;
class QTimer;

namespace tarnix {

class TAboutBox : public Form {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* ProductName;
    QLabel* Image1;
    QLabel* Version;
    QLabel* ProgramFolder;
    QLabel* Copyright;
    QLabel* Comments;
    QTimer* Timer1;

    // Sets the timer to 10,000 ms, starts it and shows the box modally.
    void ShowSplash();

    void Timer1Timer();
    void FormKeyDown();
    void FormKeyPress();
    void FormMouseDown();
    void FormMouseMove();
    void FormClick();
    void FormDblClick();
    void Panel1Click();

protected:
    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void placeOnScreen();
    void closeBox();
};

extern TAboutBox* AboutBox;

}  // namespace tarnix
