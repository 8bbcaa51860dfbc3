#include "listing_lines.h"

#include <cctype>

#include "text_file.h"

namespace tarnix {
namespace {

// Code page 1251 letters in lower case: А-Я (0xC0-0xDF) become а-я (0xE0-0xFF), Latin as usual.
char lower1251(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0xC0 && u <= 0xDF)
        return static_cast<char>(u + 0x20);
    return static_cast<char>(std::tolower(u));
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lower1251(c);
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0xC0; }

std::optional<int> number(std::string_view text, std::size_t& at)
{
    if (at >= text.size() || !isDigit(text[at]))
        return std::nullopt;
    long value = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > 100'000'000)
            return std::nullopt;
    }
    if (value == 0)
        return std::nullopt;
    return static_cast<int>(value);
}

// The number after `word` in `lowerLine`, when at most MaxGap characters without a digit stand
// between them; the word must start a word.
std::optional<int> numberAfter(const std::string& lowerLine, const std::string& word)
{
    constexpr std::size_t MaxGap = 12;
    for (std::size_t at = lowerLine.find(word); at != std::string::npos; at = lowerLine.find(word, at + 1)) {
        if (at > 0 && isWordChar(lowerLine[at - 1]))
            continue;
        std::size_t next = at + word.size();
        const std::size_t limit = next + MaxGap;
        while (next < lowerLine.size() && next < limit && !isDigit(lowerLine[next]))
            ++next;
        if (const auto n = number(lowerLine, next))
            return n;
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> SourceLineOf(std::string_view line)
{
    // A numbered listing line: the number, then two blanks or a tab (or nothing) before the text.
    std::size_t at = line.find_first_not_of(' ');
    if (at != std::string_view::npos) {
        const auto n = number(line, at);
        if (n && (at == line.size() || line[at] == '\t' || line.substr(at, 2) == "  "))
            return n;
    }
    const std::string lower = lowered(line);
    if (const auto n = numberAfter(lower, cp1251("строка")))
        return n;
    return numberAfter(lower, "line");
}

std::optional<std::size_t> FirstErrorLine(const std::vector<std::string>& lines)
{
    const std::string error = cp1251("ошибка");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string lower = lowered(lines[i]);
        const std::size_t start = lower.find_first_not_of(' ');
        if (start == std::string::npos || isDigit(lower[start]))
            continue;  // a repeated source line, whatever its text says
        const bool reports = lower.find("***") != std::string::npos || lower.find(error) != std::string::npos ||
                             lower.find("error") != std::string::npos;
        if (reports && SourceLineOf(lines[i]))
            return i;
    }
    return std::nullopt;
}

}  // namespace tarnix
