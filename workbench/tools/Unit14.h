// The database editor: a small database of records kept as text files in a folder (records.h),
// and on the same window the engine's objects with their descriptions.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "form.h"
#include "records.h"

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
    bool mayReplaceRecord();
    void showingObjects();

    // The open dialog's filter: set by Open database, kept for the later uses of the dialog.
    std::string openFilter_;
    Document* recordDoc_ = nullptr;
    Document* descriptionDoc_ = nullptr;
};

extern TForm14* Form14;

}  // namespace tarnix
