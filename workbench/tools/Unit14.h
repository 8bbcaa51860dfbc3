// The database editor: a small database of records kept as text files in a folder, and on the
// same window the engine's objects with their descriptions.
//
// A database is a folder holding:
// - "DbDesc.dbm" (and "DbDesc.txt" beside it): line 1 a description, line 2 the number of
//   the last record in decimal;
// - record n: "<n>.dbm", any number of lines of record text, and "<n>.dsc", its description.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "form.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarnix {

class Document;

// The database editor's state; lives for the whole run, nothing resets it.
struct Tdbcont {
    std::string unused;
    std::string dbDir;    // folder of the opened description file, no trailing separator
    std::string dbDesc;   // its first line
    std::string dbFile;   // its full path
    std::string recFile;  // full path of the record file last opened
    std::int32_t recCount = 0;  // number of the last record
};
extern Tdbcont DbState;

// Ten texts, of which the first n are read or written.
using TextBlock = std::array<std::string, 10>;
// Replaces the file `path` with the first n texts of `block` (n from 0 to 10), one a line.
void WriteLines(const std::string& path, const TextBlock& block, int n);
// Empties `block`, then reads the first n lines of `path` into it; lines past the end of the
// file read as empty.
void ReadLines(const std::string& path, TextBlock& block, int n);
// The part of `name` before its first "."; empty when it has none or begins with one.
std::string StripExt(const std::string& name);

class TForm14 : public Form {
    Q_OBJECT

public:
    explicit TForm14(QWidget* parent = nullptr);

    QLabel* Project;
    QLineEdit* edProj;
    QPushButton* bbFind;
    QLineEdit* edFind;
    QLabel* Label3;
    QLineEdit* edNum;
    QLabel* Label5;
    QLineEdit* edLength;
    QPushButton* Button1;
    QPushButton* bbCreate;
    QPushButton* bbClear;
    QPushButton* Button2;
    QPushButton* bbPrev;
    QPushButton* bbNext;
    QPlainTextEdit* MemDesc;
    QPlainTextEdit* memCont;

    // Every showing: the object list of the current knowledge base into the record area.
    void OnShow() override;
    // Menu "DataBase".
    void New1Click();
    void Open2Click();
    void Inheritance1Click();
    // Menu "Records".
    void Open3Click();
    void Save3Click();
    void Add1Click();
    // Menu "Text" and the menu-bar item "EditOr".
    void Open4Click();
    void Close4Click();
    void EditOr1Click();
    // Menu "Object".
    void Retract1Click();
    // The buttons.
    void Button1Click();
    void bbClearClick();
    void bbCreateClick();
    void bbNextClick();
    void bbPrevClick();
    void bbFindClick();

    // Object n in the record area and its description in the description area.
    void ShowRecord(std::int32_t n);

protected:
    void FormShow() override;

private:
    void createControls();
    QWidget* createFieldBar();
    QWidget* createButtonBar();
    void createMenu();
    void showObjectList();
    bool createObject(std::string& number);
    void createDescription(const std::string& number);
    std::string recordPath(std::int32_t n, const char* extension) const;
    std::int32_t nextFreeRecord() const;
    void writeRecordCount(std::int32_t n);
    std::optional<std::string> openDialog();
    static std::string descriptionPath(const std::string& record);

    // The open dialog's filter: set by Open database, kept for the later uses of the dialog.
    std::string openFilter_;
    Document* recordDoc_ = nullptr;
    Document* descriptionDoc_ = nullptr;
};

extern TForm14* Form14;

}  // namespace tarnix
