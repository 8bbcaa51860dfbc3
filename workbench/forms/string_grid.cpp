#include "string_grid.h"

#include <QHeaderView>

#include "errors.h"
#include "qt_text.h"

namespace tarnix {

StringGrid::StringGrid(int colCount, int rowCount, QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(24);
    setColumnCount(colCount - 1);
    for (int c = 0; c < columnCount(); ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);
    SetRowCount(rowCount);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int col) { emit cellSelected(col + 1, row + 1); });
    // A double click on the fixed column is one on its row.
    connect(verticalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int row) {
        setCurrentCell(row, 0);
        emit cellDoubleClicked(row, 0);
    });
}

void StringGrid::SetRowCount(int rows)
{
    const int before = rowCount();
    setRowCount(rows - 1);
    // A header without an item of its own would show the row's number.
    for (int r = before; r < rowCount(); ++r)
        setVerticalHeaderItem(r, new QTableWidgetItem);
}

void StringGrid::SetColWidths(std::initializer_list<int> widths)
{
    int col = 0;
    for (const int width : widths) {
        if (col == 0)
            verticalHeader()->setFixedWidth(width);
        else if (col <= columnCount())
            setColumnWidth(col - 1, width);
        ++col;
    }
}

QTableWidgetItem* StringGrid::cellItem(int col, int row) const
{
    if (col < 0 || row < 0 || col > columnCount() || row > rowCount())
        throw RangeError();
    if (row == 0)
        return col == 0 ? nullptr : horizontalHeaderItem(col - 1);
    if (col == 0)
        return verticalHeaderItem(row - 1);
    return QTableWidget::item(row - 1, col - 1);
}

QTableWidgetItem* StringGrid::ensureItem(int col, int row)
{
    if (QTableWidgetItem* existing = cellItem(col, row))
        return existing;
    auto* created = new QTableWidgetItem;
    setItem(row - 1, col - 1, created);
    return created;
}

std::string StringGrid::Cells(int col, int row) const
{
    if (col == 0 && row == 0)
        return corner_;
    const QTableWidgetItem* cell = cellItem(col, row);
    return cell ? fromQt(cell->text()) : std::string();
}

void StringGrid::SetCells(int col, int row, const std::string& text)
{
    if (col == 0 && row == 0) {
        cellItem(0, 0);  // only to check the bounds
        corner_ = text;
        return;
    }
    ensureItem(col, row)->setText(toQt(text));
}

void StringGrid::ClearRows(int fromRow)
{
    for (int row = std::max(fromRow, 1); row < RowCount(); ++row)
        for (int col = 0; col < ColCount(); ++col)
            if (QTableWidgetItem* cell = cellItem(col, row))
                cell->setText(QString());
}

}  // namespace tarnix
