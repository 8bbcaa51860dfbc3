#include "qt_ui.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "qt_text.h"

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
    if (lastFolder_.count(kind))
        dialog.setDirectory(lastFolder_[kind]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastFolder_[kind] = dialog.directory().absolutePath();
    return fromQt(dialog.selectedFiles().first());
}

void QtUi::openDocument(const std::string& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(toQt(path)));
}

}  // namespace tarnix
