#include "qt_text.h"

#include "platform/platform.h"

namespace tarnix {

QString toQt(std::string_view cp1251Text)
{
    const std::u16string wide = platform::cp1251ToUtf16(cp1251Text);
    return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

std::string fromQt(const QString& text)
{
    return platform::utf16ToCp1251(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

}  // namespace tarnix
