#include "numbers.h"

#include <algorithm>
#include <charconv>

#include "errors.h"

namespace tarnix {

std::optional<std::int32_t> TryStrToInt(const std::string& text)
{
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return std::nullopt;
    // from_chars takes a "-" but no "+"; a "+" may not be followed by another sign.
    if (text[start] == '+' && start + 1 < text.size() && text[start + 1] != '-')
        ++start;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

std::int32_t StrToInt(const std::string& text)
{
    const auto value = TryStrToInt(text);
    if (!value) {
        // The error's text ends at a NUL byte, so a NUL from a binary file is shown as '?'.
        std::string shown = text;
        std::replace(shown.begin(), shown.end(), '\0', '?');
        throw ConvertError(shown);
    }
    return *value;
}

std::string IntToStr(std::int64_t n) { return std::to_string(n); }

}  // namespace tarnix
