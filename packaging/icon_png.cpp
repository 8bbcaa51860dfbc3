// Writes the program's icon, as the windows draw it, into PNG files for the desktop's icon theme:
// tarnix-icon-png FOLDER SIZE... makes FOLDER/tarnix-SIZE.png for each size. Needs no screen.
#include <QApplication>
#include <QString>

#include "icon.h"

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString file = QStringLiteral("%1/tarnix-%2.png").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (size <= 0 || !tarnix::tarnixPixmap(size).save(file))
            return 1;
    }
    return 0;
}
