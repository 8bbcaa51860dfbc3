// A document on screen: a text area whose text a Save writes to a file. It knows that file and
// whether the text has edits not yet saved, and it is what the windows ask about before they
// close. The main window's sheets and the tool windows' editable panes share this one type.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QTabWidget;
class QWidget;

namespace tarnix {

class Document : public QObject {
    Q_OBJECT

public:
    // What edits count for while the area shows no file: unsaved work that Save asks a name
    // for (a typed task), or scratch text that no Save writes (engine output put in an
    // editable area).
    enum class WithoutFile { Unsaved, Scratch };

    // `caption` names the document to the user (the sheet or page it is on). The document
    // belongs to the window of `area`.
    Document(QPlainTextEdit* area, const QString& caption, WithoutFile withoutFile = WithoutFile::Unsaved);

    QPlainTextEdit* area() const { return area_; }
    // The file the area shows; empty when it shows none.
    const std::string& path() const { return path_; }
    bool hasFile() const { return !path_.empty(); }
    bool isModified() const;
    // Whether leaving the window must ask about this document.
    bool hasUnsavedWork() const;
    // "Задача: task2.tsk", as the questions list it (UTF-8).
    std::string describe() const;

    // Loads the file whole, or changes nothing (a file that cannot be read throws).
    void load(const std::string& path);
    // The area's text is now what `path` holds (the caller put it there): it is the
    // document's file, with no edits.
    void setFile(const std::string& path);
    // Loads the file when it exists and the area has no unsaved edits: what showing a sheet
    // does. True when loaded.
    bool loadIfUnmodified(const std::string& path);
    // Writes the text to `path` and makes it the document's file. False, with nothing
    // written, when the user declined to lose characters that code page 1251 cannot hold.
    bool saveTo(const std::string& path);
    // "Save as": the same, but an existing file of that name is first kept as its ".BAK"
    // (MakeBackup). With `adopt` false the file written is a copy: the document keeps its file.
    bool saveAs(const std::string& path, bool adopt = true);
    // Asks before a save would turn characters into "?"; true to go on.
    bool confirmEncodable() const;
    // "Закрыть": empties the area; the file stays, nothing counts as unsaved.
    void clear();
    // The area now holds text that is no file's (or an edit is given up): no file, no edits.
    void detach();
    void setModified(bool modified);

    // Save: writes the document's file; one with no file runs the window's "Save as" command
    // (none: nothing is saved). A window may give Save a command of its own instead. False when
    // nothing was saved (the user cancelled).
    void setSaveAsCommand(std::function<bool()> command) { saveAsCommand_ = std::move(command); }
    void setSaveCommand(std::function<bool()> command) { saveCommand_ = std::move(command); }
    bool save();

    // Shows "*" after the caption of `page` in `tabs` while the document is modified.
    void markInTab(QTabWidget* tabs, QWidget* page);

signals:
    void modifiedChanged(bool modified);

private:
    // The question about "?", then the ".BAK" of an existing file when asked, then the write.
    bool write(const std::string& path, bool backup, bool adopt);

    QPlainTextEdit* area_;
    QString caption_;
    WithoutFile withoutFile_;
    std::string path_;
    std::function<bool()> saveCommand_;
    std::function<bool()> saveAsCommand_;
    std::uint64_t made_ = 0;  // documents are listed in the order they were made

    friend std::vector<Document*> DocumentsOf(const QWidget* window);
};

// Every document of `window` (a top-level window and its children).
std::vector<Document*> DocumentsOf(const QWidget* window);
// Every document of every window of the program.
std::vector<Document*> AllDocuments();

// Before `documents` go away: when some hold unsaved work, asks once, listing them, whether to
// save them all, discard the edits or cancel. True when the caller may go on (nothing unsaved,
// all saved, or discarded); an error while saving is shown and counts as cancel.
bool MayDiscard(const std::vector<Document*>& documents);

}  // namespace tarnix
