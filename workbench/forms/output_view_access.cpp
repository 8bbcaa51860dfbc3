// What screen readers and the accessibility bus see of an output view: a read-only text whose
// characters are the lines joined with '\n', read a range at a time and decoded on demand.
#include <QAccessibleWidget>
#include <QScrollBar>
#include <climits>

#include "output_view.h"
#include "text_area.h"

namespace tarnix {
namespace {

// A whole text is given as the value only when it is small; readers ask for ranges.
constexpr int LargestValue = 1 << 20;

class OutputViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit OutputViewAccessible(OutputView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return characterCount() <= LargestValue ? text(0, characterCount()) : QString();
        return QAccessibleWidget::text(t);
    }

    // ---- the text interface
    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index != 0 || view()->selectionBytes().first == view()->selectionBytes().second)
            return;
        *start = view()->charOf(view()->selectionBytes().first);
        *end = view()->charOf(view()->selectionBytes().second);
    }
    int selectionCount() const override { return view()->selectionBytes().first != view()->selectionBytes().second; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { view()->select(view()->caretByte(), view()->caretByte()); }
    void setSelection(int, int start, int end) override { view()->select(view()->byteOf(start), view()->byteOf(end)); }
    int cursorPosition() const override { return view()->charOf(view()->caretByte()); }
    void setCursorPosition(int position) override { setSelection(0, position, position); }
    QString text(int start, int end) const override
    {
        const std::size_t from = view()->byteOf(start), to = view()->byteOf(end);
        return to > from ? decodeText(view()->text().bytes().substr(from, to - from)) : QString();
    }
    int characterCount() const override { return view()->charOf(view()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QRect cell = view()->placeRect(view()->byteOf(offset));
        return cell.isEmpty() ? QRect() : QRect(view()->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return view()->charOf(view()->offsetAt(view()->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int start, int) override { view()->select(view()->byteOf(start), view()->byteOf(start)); }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    OutputView* view() const { return static_cast<OutputView*>(widget()); }
};

QAccessibleInterface* outputViewAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(OutputView::staticMetaObject.className()) && object && object->isWidgetType())
        return new OutputViewAccessible(static_cast<OutputView*>(object));
    return nullptr;
}

}  // namespace

void InstallOutputViewAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(outputViewAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace tarnix
