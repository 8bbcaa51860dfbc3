#include "form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QFormLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QShowEvent>
#include <QWindow>
#include <limits>

#include "document.h"
#include "errors.h"
#include "window_place.h"

namespace tarnix {
namespace {

QPointer<Form> mainForm;

}  // namespace

Form::Form(const char* name, QWidget* parent) : QMainWindow(parent) { setObjectName(QString::fromLatin1(name)); }

void Form::Show()
{
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
    belongToModalWindow();
    show();
    raise();
    activateWindow();
}

void Form::ShowModal()
{
    QEventLoop loop;
    modalLoop_ = &loop;
    setWindowModality(Qt::ApplicationModal);
    Show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
    // Shown later with Show, the window blocks nothing.
    setWindowModality(Qt::NonModal);
}

// A modal window blocks every window but its own: a window shown without blocking from inside
// one (the rule editor from the rule-base viewer) becomes its transient window and so takes
// input. Outside a modal window it belongs to no one again.
void Form::belongToModalWindow()
{
    if (parentWidget() || windowModality() != Qt::NonModal)
        return;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == this)
        return;
    create();
    windowHandle()->setTransientParent(modal ? modal->windowHandle() : nullptr);
}

void Form::Close() { close(); }

void Form::SetMainForm() { mainForm = this; }

QAction* Form::addCommand(QWidget* menu, const char* name, const char* caption, std::function<void()> command)
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [command = std::move(command)] { dispatch(command); });
    return action;
}

void Form::onClick(QAbstractButton* button, std::function<void()> command)
{
    connect(button, &QAbstractButton::clicked, this, [command = std::move(command)] { dispatch(command); });
}

QLineEdit* Form::addField(QFormLayout* rows, QLabel*& label, const char* labelName, const char* caption,
                          const char* editName)
{
    label = make<QLabel>(labelName, QString::fromUtf8(caption));
    auto* edit = make<QLineEdit>(editName);
    edit->setMaxLength(std::numeric_limits<int>::max());  // a field holds what it is given, however long
    label->setBuddy(edit);
    rows->addRow(label, edit);
    return edit;
}

void Form::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        RememberWindow(this);
    QMainWindow::hideEvent(event);
    if (modalLoop_ && !event->spontaneous())
        modalLoop_->quit();
}

void Form::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && !placed_) {
        placed_ = true;
        PlaceWindow(this, QApplication::activeWindow());
    }
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        dispatch([this] { OnShow(); });
}

// A window with unsaved documents asks first; closing the main window ends the program, so it
// asks about every window's documents. The main window's close ends the event loop at once:
// quit() would first ask every other window to close, and one that refused would keep the
// program running.
void Form::closeEvent(QCloseEvent* event)
{
    if (!MayDiscard(this == mainForm ? AllDocuments() : DocumentsOf(this))) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted() && this == mainForm)
        QCoreApplication::exit(0);
}

void centreOnDesktop(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

}  // namespace tarnix
