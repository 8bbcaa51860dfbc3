#include "icon.h"

#include <QPainter>
#include <QPainterPath>

namespace tarnix {

QPixmap tarnixPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x3a, 0x5f));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    // Edges of a small inference tree: one goal, two rules, three facts.
    p.setPen(QPen(QColor(0xe8, 0xee, 0xf4), 1.6));
    const QPointF goal(16, 7), left(9, 16), right(23, 16), f1(5, 25), f2(13, 25), f3(23, 25);
    for (const auto& [a, b] : {std::pair{goal, left}, {goal, right}, {left, f1}, {left, f2}, {right, f3}})
        p.drawLine(a, b);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xb7, 0x05));
    p.drawEllipse(goal, 3.6, 3.6);
    p.setBrush(QColor(0x7f, 0xc8, 0xf8));
    for (const QPointF& n : {left, right})
        p.drawEllipse(n, 3, 3);
    p.setBrush(QColor(0xe8, 0xee, 0xf4));
    for (const QPointF& n : {f1, f2, f3})
        p.drawEllipse(n, 2.4, 2.4);
    return pixmap;
}

QIcon tarnixIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(tarnixPixmap(size));
    return icon;
}

}  // namespace tarnix
