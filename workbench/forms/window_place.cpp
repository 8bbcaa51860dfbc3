#include "window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QWidget>

#include "user_settings.h"

namespace tarnix {
namespace {

QString key(const QWidget* window, const QString& part)
{
    return QStringLiteral("windows/") + window->objectName() + QLatin1Char('/') + part;
}

// The splitters a window keeps the positions of: those with a name.
QList<QSplitter*> namedSplitters(const QWidget* window)
{
    QList<QSplitter*> named;
    for (QSplitter* splitter : window->findChildren<QSplitter*>())
        if (!splitter->objectName().isEmpty())
            named.append(splitter);
    return named;
}

void fitOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The frame is not known before the first showing: count a title bar and borders.
    const QMargins frame(8, 32, 8, 8);
    const QRect outer = window->geometry().marginsAdded(frame);
    const QRect fitted = FitInto(outer, available).marginsRemoved(frame);
    if (fitted.size() != window->size())
        window->resize(fitted.size().expandedTo(window->minimumSize()));
    window->move(fitted.topLeft());
}

}  // namespace

QRect FitInto(const QRect& frame, const QRect& available)
{
    QRect fitted(frame.topLeft(), frame.size().boundedTo(available.size()));
    if (fitted.right() > available.right())
        fitted.moveRight(available.right());
    if (fitted.bottom() > available.bottom())
        fitted.moveBottom(available.bottom());
    if (fitted.left() < available.left())
        fitted.moveLeft(available.left());
    if (fitted.top() < available.top())
        fitted.moveTop(available.top());
    return fitted;
}

void PlaceWindow(QWidget* window, const QWidget* opener)
{
    const QSettings store = UserSettings();
    const QByteArray geometry = store.value(key(window, QStringLiteral("geometry"))).toByteArray();
    if (!geometry.isEmpty())
        window->restoreGeometry(geometry);
    else if (opener && opener != window && opener->isVisible())
        window->move(opener->geometry().topLeft() + QPoint(40, 40));
    for (QSplitter* splitter : namedSplitters(window))
        splitter->restoreState(store.value(key(window, splitter->objectName())).toByteArray());
    fitOnScreen(window);
}

void RememberWindow(const QWidget* window)
{
    QSettings store = UserSettings();
    store.setValue(key(window, QStringLiteral("geometry")), window->saveGeometry());
    for (QSplitter* splitter : namedSplitters(window))
        store.setValue(key(window, splitter->objectName()), splitter->saveState());
}

}  // namespace tarnix
