#include "window_layout.h"

#include <QHBoxLayout>
#include <QMainWindow>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace tarnix {
namespace {

// Lays its items out left to right at their preferred sizes and starts a new row where the next
// would pass the right edge.
class WrappingLayout : public QLayout {
public:
    explicit WrappingLayout(QWidget* parent) : QLayout(parent)
    {
        setContentsMargins(0, 0, 0, 0);
        setSpacing(6);
    }
    ~WrappingLayout() override
    {
        while (QLayoutItem* item = takeAt(0))
            delete item;
    }
    void addItem(QLayoutItem* item) override { items_.append(item); }
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override
    {
        return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
    }
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
    void setGeometry(const QRect& rect) override
    {
        QLayout::setGeometry(rect);
        arrange(rect, true);
    }
    // One row when there is room for it.
    QSize sizeHint() const override
    {
        QSize size(0, 0);
        for (const QLayoutItem* item : items_)
            if (!item->isEmpty())
                size = QSize(size.width() + item->sizeHint().width() + spacing(),
                             std::max(size.height(), item->sizeHint().height()));
        return size;
    }
    // As narrow as the widest item.
    QSize minimumSize() const override
    {
        QSize size(0, 0);
        for (const QLayoutItem* item : items_)
            if (!item->isEmpty())
                size = size.expandedTo(item->minimumSize());
        return size;
    }

private:
    // Places the items (or only measures) within `rect`; the height they take.
    int arrange(const QRect& rect, bool place) const
    {
        int x = rect.x(), y = rect.y(), rowHeight = 0;
        for (QLayoutItem* item : items_) {
            if (item->isEmpty())
                continue;
            const QSize size = item->sizeHint();
            if (x > rect.x() && x + size.width() > rect.x() + rect.width()) {
                x = rect.x();
                y += rowHeight + spacing();
                rowHeight = 0;
            }
            if (place)
                item->setGeometry(QRect(QPoint(x, y), size));
            x += size.width() + spacing();
            rowHeight = std::max(rowHeight, size.height());
        }
        return y + rowHeight - rect.y();
    }
    QList<QLayoutItem*> items_;
};

}  // namespace

QWidget* wrappingRow(std::initializer_list<QWidget*> controls)
{
    auto* row = new QWidget;
    auto* layout = new WrappingLayout(row);
    for (QWidget* control : controls)
        layout->addWidget(control);
    return row;
}

QWidget* controlRow(std::initializer_list<std::pair<QWidget*, int>> controls)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto& [control, stretch] : controls) {
        if (control)
            layout->addWidget(control, stretch);
        else
            layout->addStretch(stretch);
    }
    return row;
}

void stackControls(QMainWindow* window, std::initializer_list<QWidget*> controls)
{
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    for (QWidget* control : controls)
        layout->addWidget(control, control == *std::prev(controls.end()) ? 1 : 0);
    window->setCentralWidget(central);
}

}  // namespace tarnix
