// The small common base of all windows: Show, ShowModal and Close, and helpers that give
// every control and menu item its name.
#pragma once

#include <QMainWindow>
#include <functional>

class QAbstractButton;
class QAction;
class QWidget;
class QMenu;
class QEventLoop;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace tarnix {

class Form : public QMainWindow {
    Q_OBJECT

public:
    explicit Form(const char* name, QWidget* parent = nullptr);

    // Shows the window without blocking. Shown while a modal window runs, it belongs to that
    // window, so it takes the user's input instead of being blocked by it.
    void Show();
    // Shows the window modally and returns when it has been closed or hidden.
    void ShowModal();
    void Close();

    // Makes this window the program's main window: closing it ends the program, whatever other
    // windows of the program are open or hidden.
    void SetMainForm();

protected:
    // Runs before the window is first drawn by Show.
    virtual void FormShow() {}
    // Runs every time the window is shown (Show, ShowModal), through the dispatcher: the
    // steps a window takes on each showing, such as refilling its lists.
    virtual void OnShow() {}

    // A control that carries its given name as its object name.
    template <typename Control, typename... Args>
    Control* make(const char* name, Args&&... args)
    {
        auto* control = new Control(std::forward<Args>(args)...);
        control->setObjectName(QString::fromLatin1(name));
        return control;
    }
    // A menu item (in a menu, or straight on the menu bar) that runs `command` through the
    // dispatcher.
    QAction* addCommand(QWidget* menu, const char* name, const char* caption, std::function<void()> command);
    // Makes a click on `button` run `command` through the dispatcher.
    void onClick(QAbstractButton* button, std::function<void()> command);
    // Adds a row of a named label with `caption` and a named one-line edit to `rows`; returns
    // the edit.
    QLineEdit* addField(QFormLayout* rows, QLabel*& label, const char* labelName, const char* caption,
                        const char* editName);
    void showEvent(QShowEvent* event) override;

    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void belongToModalWindow();

    QEventLoop* modalLoop_ = nullptr;
    bool shownOnce_ = false;
    bool placed_ = false;
};

// Moves the window to the centre of the desktop.
void centreOnDesktop(QWidget* window);

}  // namespace tarnix
