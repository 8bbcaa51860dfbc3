// The object editor: the text of one object of the current knowledge base, handed to the
// engine to load, create or update an object; objects deleted, shown and walked by number.
#pragma once

#include <cstdint>
#include <string>

#include "form.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarnix {

class TForm11 : public Form {
    Q_OBJECT

public:
    explicit TForm11(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* edNum;
    QPushButton* Button1;
    QPushButton* bbPrev;
    QPushButton* bbNext;
    QPushButton* bbDel;
    QPushButton* bbShow;
    QPushButton* bbExit;
    QPlainTextEdit* Memo1;

    // Every showing: the object chosen in the catalogue, in its graph form.
    void OnShow() override;
    // Menu "Object".
    void New1Click();
    void Create1Click();
    void Delete1Click();
    void ShowOb1Click();
    void Binary1Click();
    void Update1Click();
    void Clear1Click();
    // Menu "File".
    void Show1Click();
    // The buttons.
    void Button1Click();
    void bbPrevClick();
    void bbNextClick();
    void bbDelClick();
    void bbShowClick();

private:
    void createControls();
    QWidget* createToolBar();
    void createMenu();
    // Sends the show goal for object n, then shows what the engine wrote.
    void ShowObText(std::int32_t n);
    void ShowObGraph(std::int32_t n);
    void showObjectFile();
    void deleteObject(const std::string& goal);
    // Shows the list entry at ObjectCursor.
    void showCurrentEntry();
    std::string number() const;
};

extern TForm11* Form11;

}  // namespace tarnix
