// Whole numbers typed into the windows' boxes or read from files, read as the workbench has
// always read them.
#pragma once

#include <cstdint>
#include <string>

namespace tarnix {

// The 32-bit integer a text holds: leading blanks, an optional sign, then decimal digits or
// "$"/"0x" and hexadecimal digits, nothing after them. Anything else throws ConvertError
// ("'%s' is not a valid integer value").
std::int32_t StrToInt(const std::string& text);
// As StrToInt, with `fallback` for a text that holds no integer.
std::int32_t StrToIntDef(const std::string& text, std::int32_t fallback);

}  // namespace tarnix
