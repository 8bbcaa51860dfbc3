// Whole numbers typed by the user or written by the engine, read the way the workbench's
// number fields always have been: optional leading blanks, an optional sign, decimal digits,
// and a value that fits 32 bits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarnix {

// The value of `text`, or nothing when it is not a whole number of 32 bits.
std::optional<std::int32_t> TryStrToInt(const std::string& text);
// The value of `text`; a text that is not a whole number of 32 bits throws the conversion
// error "'<text>' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);
// Decimal text of `n`: a leading "-" for negatives, no padding.
std::string IntToStr(std::int64_t n);

}  // namespace tarnix
