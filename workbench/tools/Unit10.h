// The knowledge-base catalogue: the objects of the current knowledge base as the engine lists
// them, one row each; another knowledge base opened or a new one created; a double click
// opens the object editor on the row's object.
#pragma once

#include "form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarnix {

class StringGrid;

class TForm10 : public Form {
    Q_OBJECT

public:
    explicit TForm10(QWidget* parent = nullptr);

    QLineEdit* edKb;
    QLineEdit* edNum;
    QPushButton* bbExit;
    StringGrid* StringGrid1;

    // Every showing: the current knowledge base and its objects.
    void OnShow() override;
    // Refills the grid and ObjectNumbers from the engine's object list.
    void FillCatalogue();
    // Menu "File".
    void CreateKb1Click();
    void OpenKb1Click();
    // Double click on a row: the object editor on that row's object.
    void StringGrid1DblClick();

private:
    void createControls();
    QWidget* createToolBar();
    void createMenu();
    void clearCatalogue();
    void showObjectList();
    void makeCurrent(const std::string& kb);
};

extern TForm10* Form10;

}  // namespace tarnix
