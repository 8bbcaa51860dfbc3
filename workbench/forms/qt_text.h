// Conversions between the workbench's code page 1251 texts and Qt's Unicode strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tarnix {

// Code page 1251 bytes -> QString (lossless for every byte).
QString toQt(std::string_view cp1251Text);
// QString -> code page 1251 bytes; a character the code page cannot hold becomes '?'.
std::string fromQt(const QString& text);
// True for every line break a person can type into a text area: LF (Enter), U+2028 (Shift+Enter,
// a line separator) and U+2029 (the paragraph separator that ends a block in the raw text).
constexpr bool isLineBreak(char16_t c) { return c == u'\n' || c == 0x2028 || c == 0x2029; }
// A fixed text of the program (UTF-8 in the source) as a QString.
inline QString literal(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace tarnix
