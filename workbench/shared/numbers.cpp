#include "numbers.h"

#include <optional>

#include "errors.h"

namespace tarnix {
namespace {

std::optional<std::int32_t> parse(const std::string& text)
{
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > std::int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t StrToInt(const std::string& text)
{
    const auto value = parse(text);
    if (!value)
        throw ConvertError(text);
    return *value;
}

std::int32_t StrToIntDef(const std::string& text, std::int32_t fallback) { return parse(text).value_or(fallback); }

}  // namespace tarnix
