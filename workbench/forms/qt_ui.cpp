#include "qt_ui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#ifdef _WIN32
#include <QWinEventNotifier>
#else
#include <QSocketNotifier>
#endif
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <optional>

#include "context.h"
#include "qt_text.h"
#include "user_settings.h"

namespace tarnix {
namespace {

// "*TSK" -> "*[tT][sS][kK]": Qt compares names with case on POSIX.
QString caseBlindPattern(const QString& pattern)
{
    QString out;
    for (const QChar c : pattern) {
        if (c.toLower() != c.toUpper())
            out += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

// The Qt patterns of one pattern of the data. As on Windows (and in the platform layer's
// wildcard search), a trailing ".*" also takes names without an extension: "*.*" is every file,
// the rule file "Kb1" among them, and "kb.*" takes "kb" too.
QStringList qtPatterns(const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return {QStringLiteral("*")};
    QStringList patterns{caseBlindPattern(pattern)};
    if (pattern.size() > 2 && pattern.endsWith(QLatin1String(".*")))
        patterns.prepend(caseBlindPattern(pattern.chopped(2)));
    return patterns;
}

QString displayText(QString shown)
{
    if (shown.size() > MessageDisplayLimit)
        shown = shown.left(MessageDisplayLimit) + QChar(0x2026);
    return shown;
}

void showBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QApplication::applicationName(), displayText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}


// The progress window of an engine run: which program, which goal, how long, and Cancel.
// Escape and its close box reject it as Cancel does.
class ProgressWindow : public QDialog {
public:
    // `clock` runs since the program's start.
    ProgressWindow(const ProgramWait& wait, QElapsedTimer clock) : clock_(clock)
    {
        setObjectName(QLatin1String(ProgressWindowName));
        setWindowTitle(QApplication::applicationName());
        setWindowModality(Qt::ApplicationModal);
        setMinimumWidth(320);
        auto* rows = new QVBoxLayout(this);
        auto* program = new QLabel(QStringLiteral("Running %1").arg(toQt(wait.program)), this);
        program->setObjectName(QStringLiteral("lbProgram"));
        rows->addWidget(program);
        if (!wait.goal.empty()) {
            goal_ = new QLabel(QStringLiteral("Goal: %1").arg(displayText(toQt(wait.goal)).left(200)), this);
            goal_->setObjectName(QStringLiteral("lbGoal"));
            goal_->setTextFormat(Qt::PlainText);
            rows->addWidget(goal_);
        }
        elapsed_ = new QLabel(this);
        elapsed_->setObjectName(QStringLiteral("lbElapsed"));
        rows->addWidget(elapsed_);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
        cancel->setObjectName(QStringLiteral("bbCancel"));
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        rows->addWidget(cancel, 0, Qt::AlignRight);
        tick();
        connect(&ticker_, &QTimer::timeout, this, &ProgressWindow::tick);
        ticker_.start(250);
    }

private:
    void tick()
    {
        const qint64 seconds = clock_.elapsed() / 1000;
        elapsed_->setText(QStringLiteral("Elapsed: %1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0')));
    }

    QLabel* goal_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QElapsedTimer clock_;
    QTimer ticker_;
};

// While an engine program runs, no window but the progress window and a box it opens takes
// input, so no second command can start; windows still repaint, move and resize. Closing a
// window asks whether to cancel the program.
class InputGuard : public QObject {
public:
    explicit InputGuard(std::function<void()> cancel)
        : cancel_(std::move(cancel)), outerModal_(QApplication::activeModalWidget())
    {
        qApp->installEventFilter(this);
    }
    ~InputGuard() override { qApp->removeEventFilter(this); }
    // The progress window, once it is shown.
    QPointer<QDialog> progress;
    // A window whose closing the user asked for and confirmed.
    QPointer<QWidget> closeAfter;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::Drop:
                return !takesInput(object);
            case QEvent::Close:
                return closing(object, static_cast<QCloseEvent*>(event));
            default:
                return false;
        }
    }

private:
    bool allowed(const QWidget* window) const
    {
        // A modal window opened during the wait (the question below); not the modal tool
        // window whose command started the program.
        return (window && window == progress) ||
               (window && window == QApplication::activeModalWidget() && window != outerModal_);
    }
    bool takesInput(QObject* object) const
    {
        if (auto* widget = qobject_cast<QWidget*>(object))
            return allowed(widget->window());
        if (auto* window = qobject_cast<QWindow*>(object)) {
            for (const QWidget* w : {static_cast<QWidget*>(progress.data()), QApplication::activeModalWidget()})
                if (w && w->windowHandle() == window)
                    return allowed(w);
        }
        return false;  // actions and other objects: no command starts
    }
    bool closing(QObject* object, QCloseEvent* event)
    {
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget || !widget->isWindow() || !widget->isVisible() || allowed(widget))
            return false;
        event->ignore();
        if (!asking_) {
            asking_ = true;
            const auto answer = QMessageBox::question(
                widget, QApplication::applicationName(),
                QStringLiteral("An engine program is running. Cancel it and close the window?"),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            asking_ = false;
            if (answer == QMessageBox::Yes) {
                closeAfter = widget;
                cancel_();
            }
        }
        return true;
    }

    std::function<void()> cancel_;
    QPointer<QWidget> outerModal_;
    bool asking_ = false;
};

QString dialogFolderKey(const QWidget* window, DialogKind kind)
{
    const char* const kinds[] = {"document", "project", "knowledge-base"};
    const QString owner = window && !window->window()->objectName().isEmpty() ? window->window()->objectName()
                                                                               : QStringLiteral("none");
    return QStringLiteral("folders/") + owner + QLatin1Char('/') +
           QLatin1String(kinds[static_cast<int>(kind)]);
}

}  // namespace

QStringList qtNameFilters(const std::string& filter)
{
    const QStringList parts = toQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << qtPatterns(p.trimmed());
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

void QtUi::showMessage(const std::string& text) { showBox(QMessageBox::NoIcon, toQt(text)); }

void QtUi::showError(const std::string& text) { showBox(QMessageBox::Critical, toQt(text)); }

void QtUi::showErrorUtf8(const std::string& text) { showBox(QMessageBox::Critical, QString::fromUtf8(text)); }

// The first button is the default one; Escape and the close box choose the last.
std::size_t QtUi::ask(const std::string& utf8Text, const std::vector<std::string>& utf8Buttons)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), displayText(QString::fromUtf8(utf8Text)),
                    QMessageBox::NoButton, QApplication::activeWindow());
    std::vector<QPushButton*> buttons;
    for (const std::string& caption : utf8Buttons)
        buttons.push_back(box.addButton(QString::fromUtf8(caption), QMessageBox::ActionRole));
    box.setDefaultButton(buttons.front());
    box.setEscapeButton(buttons.back());
    box.exec();
    const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return chosen == buttons.end() ? buttons.size() - 1 : static_cast<std::size_t>(chosen - buttons.begin());
}

std::optional<std::string> QtUi::openFileDialog(DialogKind kind, const std::string& filter)
{
    return fileDialog(kind, filter, false);
}

std::optional<std::string> QtUi::saveFileDialog(DialogKind kind, const std::string& filter)
{
    return fileDialog(kind, filter, true);
}

std::optional<std::string> QtUi::fileDialog(DialogKind kind, const std::string& filter, bool save)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtNameFilters(filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The save commands ask about replacing in their own way (the backup rule).
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Each window's dialogs of a kind open where the last of them was left, in this run or an
    // earlier one; the knowledge-base dialogs always open in the project folder.
    const QString folderKey = dialogFolderKey(dialog.parentWidget(), kind);
    if (kind == DialogKind::KnowledgeBase)
        dialog.setDirectory(toQt(context.WorkDir));
    else if (const QString folder = UserSettings().value(folderKey).toString(); QDir(folder).exists())
        dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    UserSettings().setValue(folderKey, dialog.directory().absolutePath());
    return fromQt(dialog.selectedFiles().first());
}

void QtUi::openDocument(const std::string& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(toQt(path)));
}

}  // namespace tarnix

namespace tarnix {

bool QtUi::waitForProgram(const ProgramWait& wait)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    bool ended = false;
#ifdef _WIN32
    // The process handle becomes signalled when the program ends.
    QWinEventNotifier notifier(reinterpret_cast<Qt::HANDLE>(wait.endHandle));
    QObject::connect(&notifier, &QWinEventNotifier::activated, &loop, [&] {
#else
    QSocketNotifier notifier(static_cast<qintptr>(wait.endHandle), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
#endif
        ended = true;
        notifier.setEnabled(false);
        loop.quit();
    });
    std::optional<InputGuard> guard(std::in_place, [&loop] { loop.quit(); });
    // The progress window is made only when it is due: a quick goal costs nothing more.
    std::unique_ptr<ProgressWindow> progress;
    QTimer showLater;
    showLater.setSingleShot(true);
    QObject::connect(&showLater, &QTimer::timeout, &loop, [&] {
        progress = std::make_unique<ProgressWindow>(wait, clock);
        QObject::connect(progress.get(), &QDialog::rejected, &loop, &QEventLoop::quit);
        guard->progress = progress.get();
        progress->show();
    });
    showLater.start(ProgressDelayMs);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // A loop that returns without the program's end (cancelled, or the program is quitting)
    // leaves the program to be ended here.
    loop.exec();
    QApplication::restoreOverrideCursor();
    progress.reset();
    const QPointer<QWidget> closeAfter = guard->closeAfter;
    guard.reset();
    // Cancelling closes the end handle: the notifier lets go of it first (on Windows a wait
    // still registered on a closed handle is undefined).
    notifier.setEnabled(false);
    if (!ended)
        wait.cancel();
    if (closeAfter)
        closeAfter->close();  // the program is gone: the window the user closed may go now
    return ended;
}

}  // namespace tarnix
