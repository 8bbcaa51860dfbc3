#include "document.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextDocument>
#include <QWidget>
#include <algorithm>

#include "documents.h"
#include "errors.h"
#include "platform/platform.h"
#include "qt_text.h"
#include "text_area.h"
#include "ui.h"

namespace tarnix {
namespace {

// The window shows "*" in its title while any of its documents is modified.
void showWindowModified(QWidget* window)
{
    const auto documents = DocumentsOf(window);
    window->setWindowModified(
        std::any_of(documents.begin(), documents.end(), [](const Document* d) { return d->isModified(); }));
}

std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace

Document::Document(QPlainTextEdit* area, const QString& caption, WithoutFile withoutFile)
    : QObject(area), area_(area), caption_(caption), withoutFile_(withoutFile)
{
    static std::uint64_t made = 0;
    made_ = ++made;
    setModified(false);  // the area's first text is no edit
    connect(area_->document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
        showWindowModified(area_->window());
        emit modifiedChanged(modified);
    });
}

bool Document::isModified() const { return area_->document()->isModified(); }

bool Document::hasUnsavedWork() const { return isModified() && (hasFile() || withoutFile_ == WithoutFile::Unsaved); }

std::string Document::describe() const
{
    const std::string file = hasFile() ? platform::cp1251ToUtf8(fileNamePart(path_)) : std::string("(no file)");
    return utf8(caption_) + ": " + file;
}

void Document::setModified(bool modified) { area_->document()->setModified(modified); }

void Document::load(const std::string& path)
{
    LoadTextArea(area_, path);  // a failed load leaves the area as it was
    setFile(path);
}

void Document::setFile(const std::string& path)
{
    path_ = path;
    setModified(false);
}

bool Document::loadIfUnmodified(const std::string& path)
{
    if (isModified() || !platform::fileExists(path))
        return false;
    load(path);
    return true;
}

bool Document::saveTo(const std::string& path) { return write(path, false, true); }

bool Document::saveAs(const std::string& path, bool adopt) { return write(path, true, adopt); }

bool Document::write(const std::string& path, bool backup, bool adopt)
{
    if (!confirmEncodable())
        return false;
    if (backup)
        MakeBackup(path);
    SaveTextArea(area_, path);
    if (adopt)
        setFile(path);
    return true;
}

bool Document::confirmEncodable() const
{
    const Unencodable lost = FindUnencodable(area_->document()->toRawText());
    if (lost.count == 0)
        return true;
    QStringList shown;
    for (const QString& c : lost.first)
        shown << QStringLiteral("\u00AB") + c + QStringLiteral("\u00BB");
    const std::string text = describe() + "\n\n" + std::to_string(lost.count) +
                             (lost.count == 1 ? " character" : " characters") +
                             " of the text cannot be stored in code page 1251 and would be saved as \"?\": " +
                             utf8(shown.join(QStringLiteral(", "))) + (lost.more ? ", \u2026" : "") + "\n\nSave anyway?";
    return ui().ask(text, {"Save anyway", "Cancel"}) == 0;
}

void Document::clear()
{
    area_->clear();
    setModified(false);
}

void Document::detach() { setFile({}); }

bool Document::save()
{
    if (saveCommand_)
        return saveCommand_();
    if (hasFile())
        return saveTo(path_);
    return saveAsCommand_ && saveAsCommand_();
}

void Document::markInTab(QTabWidget* tabs, QWidget* page)
{
    const QString caption = tabs->tabText(tabs->indexOf(page));
    connect(this, &Document::modifiedChanged, tabs, [tabs, page, caption](bool modified) {
        tabs->setTabText(tabs->indexOf(page), modified ? caption + QLatin1Char('*') : caption);
    });
}

// In the order the window made them (the order of its sheets), not the order of its widgets.
std::vector<Document*> DocumentsOf(const QWidget* window)
{
    const QList<Document*> found = window->findChildren<Document*>();
    std::vector<Document*> documents(found.begin(), found.end());
    std::sort(documents.begin(), documents.end(), [](const Document* a, const Document* b) { return a->made_ < b->made_; });
    return documents;
}

std::vector<Document*> AllDocuments()
{
    std::vector<Document*> all;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        const auto documents = DocumentsOf(window);
        all.insert(all.end(), documents.begin(), documents.end());
    }
    return all;
}

bool MayDiscard(const std::vector<Document*>& documents)
{
    std::vector<Document*> unsaved;
    std::copy_if(documents.begin(), documents.end(), std::back_inserter(unsaved),
                 [](const Document* d) { return d->hasUnsavedWork(); });
    if (unsaved.empty())
        return true;
    std::string text = unsaved.size() == 1 ? "Save the changes to this document?\n" : "Save the changes to these documents?\n";
    for (const Document* d : unsaved)
        text += "\n    " + d->describe();
    enum { Save, Discard, Cancel };
    switch (ui().ask(text, {unsaved.size() == 1 ? "Save" : "Save all", "Discard", "Cancel"})) {
    case Save:
        for (Document* d : unsaved) {
            bool saved = false;
            if (!dispatch([&] { saved = d->save(); }) || !saved)
                return false;
        }
        return true;
    case Discard:
        for (Document* d : unsaved)
            d->setModified(false);
        return true;
    default:
        return false;
    }
}

}  // namespace tarnix
