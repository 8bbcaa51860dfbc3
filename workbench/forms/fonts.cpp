#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace tarnix {

QFont FixedPitchFont(const QString& preferred)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    QStringList families;
    if (!preferred.isEmpty())
        families << preferred;
    families << font.family() << QStringLiteral("Courier New") << QStringLiteral("DejaVu Sans Mono")
             << QStringLiteral("Liberation Mono") << QStringLiteral("Courier");
    families.removeDuplicates();
    font.setFamilies(families);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace tarnix
