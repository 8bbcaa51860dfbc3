#include "text_area.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <algorithm>
#include <array>

#include "context.h"
#include "errors.h"
#include "platform/platform.h"
#include "qt_text.h"
#include "rule_files.h"

namespace tarnix {
namespace {

// Code page 1251 byte -> UTF-16 unit.
const std::array<char16_t, 256>& decodeTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = platform::cp1251ToUtf16(std::string(1, static_cast<char>(b)))[0];
        return t;
    }();
    return table;
}

// UTF-16 unit -> code page 1251 byte ('?' for what the code page cannot hold).
const std::array<char, 65536>& encodeTable()
{
    static const std::array<char, 65536> table = [] {
        std::array<char, 65536> t;
        t.fill('?');
        const auto& decode = decodeTable();
        for (int b = 0; b < 256; ++b)
            t[decode[b]] = static_cast<char>(b);
        return t;
    }();
    return table;
}

// True when in[i] and in[i + 1] are one character beyond the basic plane (a surrogate pair).
bool surrogatePair(const char16_t* in, std::size_t i, std::size_t n)
{
    return in[i] >= 0xD800 && in[i] <= 0xDBFF && i + 1 < n && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF;
}

}  // namespace

QString decodeLines(std::string_view bytes)
{
    // The last line's terminator is not part of the text.
    if (!bytes.empty() && bytes.back() == '\n') {
        bytes.remove_suffix(1);
        if (!bytes.empty() && bytes.back() == '\r')
            bytes.remove_suffix(1);
    } else if (!bytes.empty() && bytes.back() == '\r') {
        bytes.remove_suffix(1);
    }
    return decodeText(bytes);
}

QString decodeText(std::string_view bytes)
{
    const auto& table = decodeTable();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    const std::size_t n = bytes.size();
    std::size_t w = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            continue;
        out[w++] = b == '\r' ? u'\n' : table[b];
    }
    text.truncate(static_cast<qsizetype>(w));
    return text;
}

std::string encodeLines(const QString& text)
{
    const auto& table = encodeTable();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()) + static_cast<std::size_t>(text.size()) / 16 + 2);
    const auto* in = reinterpret_cast<const char16_t*>(text.utf16());
    const std::size_t n = static_cast<std::size_t>(text.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (isLineBreak(c)) {
            bytes += "\r\n";
        } else if (surrogatePair(in, i, n)) {
            bytes += '?';  // one character outside the basic plane
            ++i;
        } else {
            bytes += table[c];
        }
    }
    if (n > 0)
        bytes += "\r\n";
    return bytes;
}

Unencodable FindUnencodable(const QString& text, std::size_t shown)
{
    const auto& table = encodeTable();
    Unencodable found;
    const auto* in = reinterpret_cast<const char16_t*>(text.utf16());
    const std::size_t n = static_cast<std::size_t>(text.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = in[i];
        const bool pair = surrogatePair(in, i, n);
        if (!pair && (table[c] != '?' || c == u'?' || isLineBreak(c)))
            continue;
        const QString character = text.mid(static_cast<qsizetype>(i), pair ? 2 : 1);
        i += pair ? 1 : 0;
        ++found.count;
        if (std::find(found.first.begin(), found.first.end(), character) != found.first.end())
            continue;
        if (found.first.size() < shown)
            found.first.push_back(character);
        else
            found.more = true;
    }
    return found;
}

void ShowBytes(QPlainTextEdit* area, std::string_view bytes, const std::string& source)
{
    CheckBytesFitToShow(bytes, source);
    area->setPlainText(decodeLines(bytes));
}

void LoadTextArea(QPlainTextEdit* area, const std::string& path) { ShowBytes(area, loadFileBytes(path), path); }

void SaveTextArea(QPlainTextEdit* area, const std::string& path)
{
    saveFileAtomically(path, encodeLines(area->document()->toRawText()));
}

// The raw text keeps non-breaking spaces (byte 0xA0), which toPlainText() would turn into blanks.
Lines GetLines(QPlainTextEdit* area) { return splitLines(encodeLines(area->document()->toRawText())); }

namespace {

[[noreturn]] void throwTooLongToShow(const std::string& source)
{
    throw Failure("Line too long to show (over " + std::to_string(LongestShownLine) + " characters) - " + source);
}

}  // namespace

void CheckLinesFitToShow(const Lines& lines, const std::string& source)
{
    for (const std::string& line : lines)
        if (line.size() > LongestShownLine)
            throwTooLongToShow(source);
}

// A CR alone breaks the line in the text area too.
void CheckBytesFitToShow(std::string_view bytes, const std::string& source)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        if (end - start > LongestShownLine)
            throwTooLongToShow(source);
        start = end + 1;
    }
}

void CheckRuleFitsToShow(const rcont& rule, const std::string& source)
{
    for (const std::string* field : {&rule.Number, &rule.Comment, &rule.Type, &rule.P2, &rule.P3, &rule.P4})
        if (field->size() > LongestShownLine)
            CheckLinesFitToShow({*field}, source);
}

void SetLines(QPlainTextEdit* area, const Lines& lines, const std::string& source)
{
    CheckLinesFitToShow(lines, source);
    area->setPlainText(decodeLines(joinLines(lines)));
}

std::string OneLineText(QPlainTextEdit* area)
{
    std::string bytes = encodeLines(area->document()->toRawText());
    if (!bytes.empty())
        bytes.resize(bytes.size() - 2);  // the last line's CR LF
    return OneLine(bytes);
}

Lines ModelLines(int k)
{
    LoadModel(k);
    const Mtext& model = context.Models[k];
    Lines lines;
    lines.reserve(static_cast<std::size_t>(model.count));
    for (std::int32_t i = 1; i <= model.count; ++i)
        lines.push_back(model.lines[i]);
    return lines;
}

void ShowModel(QPlainTextEdit* area, int k) { SetLines(area, ModelLines(k), ModelPath(k)); }

}  // namespace tarnix
