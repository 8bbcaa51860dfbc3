#include "activation.h"

#include <QApplication>
#include <QPointer>
#include <QWindow>
#include <memory>

#include "errors.h"
#include "form.h"
#include "ui.h"

namespace tarnix {
namespace {

// The Form whose top-level window is `window`, if any.
const Form* formOf(const QWindow* window)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == window)
            return qobject_cast<const Form*>(widget);
    }
    return nullptr;
}

}  // namespace

std::function<void()> WithActivation(std::function<void()> command, std::function<void()> routine)
{
    return [command = std::move(command), routine = std::move(routine)] {
        ActivationHook hook([routine] { dispatch(routine); });
        command();
    };
}

void WatchActivation(Form* form, std::function<void()> routine, std::function<bool(const Form*)> ignored)
{
    auto lastActive = std::make_shared<QPointer<QWindow>>();
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, form,
                     [form, routine = std::move(routine), ignored = std::move(ignored), lastActive](QWindow* window) {
                         if (!window)
                             return;
                         const QWindow* previous = *lastActive;
                         *lastActive = window;
                         if (window != form->windowHandle() || !previous || previous == window)
                             return;
                         const Form* from = formOf(previous);
                         if (from && from != form && !ignored(from))
                             routine();
                     });
}

}  // namespace tarnix
