#include "form.h"

#include <QEventLoop>
#include <QHideEvent>
#include <QMenu>

#include "errors.h"

namespace tarnix {

Form::Form(const char* name, QWidget* parent) : QMainWindow(parent) { setObjectName(QString::fromLatin1(name)); }

void Form::Show()
{
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
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
}

void Form::Close() { close(); }

QAction* Form::addCommand(QMenu* menu, const char* name, const char* caption, std::function<void()> command)
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [command = std::move(command)] { dispatch(command); });
    return action;
}

void Form::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (modalLoop_ && !event->spontaneous())
        modalLoop_->quit();
}

}  // namespace tarnix
