// A grid of text cells addressed as Cells(col, row), with one fixed row and one fixed column
// at index 0 (the header row and the row captions) that stay in place while the rest scrolls.
// Texts are code page 1251. The cells are not edited in place.
#pragma once

#include <QTableWidget>
#include <initializer_list>
#include <string>

namespace tarnix {

class StringGrid : public QTableWidget {
    Q_OBJECT

public:
    // A grid of `colCount` columns and `rowCount` rows, fixed row and column included.
    StringGrid(int colCount, int rowCount, QWidget* parent = nullptr);

    int ColCount() const { return columnCount() + 1; }
    int RowCount() const { return rowCount() + 1; }
    // Grows or shrinks the grid; the fixed row and column stay.
    void SetRowCount(int rows);
    // The widths of the columns from column 0 (the fixed one) on.
    void SetColWidths(std::initializer_list<int> widths);

    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    // Empties every cell of rows `fromRow`.. to the end, the fixed column included.
    void ClearRows(int fromRow);

signals:
    // A click on a cell that is not fixed, in grid coordinates.
    void cellSelected(int col, int row);

private:
    QTableWidgetItem* cellItem(int col, int row) const;
    QTableWidgetItem* ensureItem(int col, int row);
    std::string corner_;
};

}  // namespace tarnix
