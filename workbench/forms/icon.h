// The program's icon, drawn rather than shipped: an inference tree on a dark tile.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tarnix {

QPixmap tarnixPixmap(int size);
QIcon tarnixIcon();

}  // namespace tarnix
