#include "rule_files.h"

#include <algorithm>
#include <array>

#include "context.h"
#include "errors.h"
#include "gateway.h"
#include "goals.h"
#include "platform/platform.h"
#include "ui.h"

namespace tarnix {
namespace {

constexpr int RuleGroupLines = 7;

// Code page 866 -> 1251 for the Cyrillic letters; every other byte maps to itself.
const std::array<unsigned char, 256>& dosToWinTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = static_cast<unsigned char>(b);
        for (int b = 0x80; b <= 0xAF; ++b)  // А..Я, а..п
            t[b] = static_cast<unsigned char>(b + 0x40);
        for (int b = 0xE0; b <= 0xEF; ++b)  // р..я
            t[b] = static_cast<unsigned char>(b + 0x10);
        t[0xF0] = 0xA8;  // Ё
        t[0xF1] = 0xB8;  // ё
        return t;
    }();
    return table;
}

// Line `i` of `lines`, or an empty text past their end (a group cut short).
const std::string& lineOrEmpty(const Lines& lines, std::size_t i)
{
    static const std::string empty;
    return i < lines.size() ? lines[i] : empty;
}

// The six fields of a rule in their file order.
std::array<std::string*, 6> fieldsOf(rcont& rule)
{
    return {&rule.Number, &rule.Comment, &rule.Type, &rule.P2, &rule.P3, &rule.P4};
}

// A field without LF cannot shift the groups (a line ends only at LF), so it is written byte for
// byte, a lone CR included; a field with line breaks is put on one line.
void appendRule(Lines& lines, rcont rule)
{
    for (std::string* field : fieldsOf(rule))
        lines.push_back(field->find('\n') == std::string::npos ? *field : OneLine(*field));
}


constexpr std::size_t TraceHeadingLines = 3;

bool isTraceSeparator(const std::string& line) { return line.size() < 2 || (line[0] == '-' && line[1] == '-'); }

}  // namespace

std::array<Lines, 3> TraceSections(const Lines& file)
{
    std::array<Lines, 3> sections;
    std::size_t i = TraceHeadingLines;
    for (Lines& section : sections) {
        for (; i < file.size() && !isTraceSeparator(file[i]); ++i)
            section.push_back(file[i]);
        ++i;  // the separator, or the end of the file read as an empty line
    }
    return sections;
}

std::string FileStem(const std::string& text)
{
    const std::size_t dot = text.find('.');
    return dot == std::string::npos ? std::string() : text.substr(0, dot);
}

std::string DosToWinText(const std::string& text)
{
    const auto& table = dosToWinTable();
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
    return out;
}

std::string OneLine(const std::string& text)
{
    if (text.find_first_of("\r\n") == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;  // CR LF is one break
        out.push_back(c == '\r' || c == '\n' ? ' ' : c);
    }
    return out;
}

BracketCheck CheckBrackets(const std::string& text)
{
    BracketCheck check;
    for (const char c : text) {
        switch (c) {
        case '[': ++check.openSquare; break;
        case ']': ++check.closeSquare; break;
        case '(': ++check.openRound; break;
        case ')': ++check.closeRound; break;
        case '{': ++check.openCurly; break;
        case '}': ++check.closeCurly; break;
        default: break;
        }
    }
    check.squareDifference = check.openSquare - check.closeSquare;
    check.roundDifference = check.openRound - check.closeRound;
    check.curlyDifference = check.openCurly - check.closeCurly;
    const bool unbalanced = check.squareDifference != 0 || check.roundDifference != 0 || check.curlyDifference != 0;
    check.flag = unbalanced ? 1 : 0;
    return check;
}

std::string BracketMessage(const BracketCheck& check)
{
    return "Res= " + std::to_string(check.flag) + " Ob= " + std::to_string(check.openSquare) +
           " Cb= " + std::to_string(check.closeSquare);
}

std::string ModelPath(int k) { return context.WorkDir + "m" + std::to_string(k) + ".txt"; }
std::string RuleSetPath(int k) { return context.WorkDir + "unlr" + std::to_string(k) + ".ari"; }

bool ReadWorkLines(const std::string& name, Lines& list)
{
    const std::string path = context.WorkDir + name;
    if (!platform::fileExists(path)) {
        ShowMessage("Not exists file - " + path);
        return false;
    }
    Lines lines = readLines(path);
    if (list.empty()) {
        list = std::move(lines);
        return true;
    }
    list.insert(list.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    return true;
}

void RefreshTraceList()
{
    std::string code;
    std::string value;
    RunGoal(goals::TraceList, code, value);
}

void LoadModel(int k)
{
    Mtext& model = context.Models[k];
    const Lines lines = readLines(ModelPath(k));
    const std::size_t kept = std::min<std::size_t>(lines.size(), MaxModelLinesRead);
    for (std::size_t i = 0; i < kept; ++i)
        model.lines[static_cast<std::int64_t>(i) + 1] = lines[i];
    model.count = static_cast<std::int32_t>(kept);
    model.linesNotRead = static_cast<std::int64_t>(lines.size() - kept);
}

void CheckNothingLost(const std::string& path, std::int64_t linesNotRead)
{
    if (linesNotRead > 0)
        throw Failure("Not written: " + path + " has " + std::to_string(linesNotRead) +
                      " lines past those read from it, and writing would lose them");
}

void WriteCheckRule()
{
    Lines lines;
    appendRule(lines, context.CheckedRule);
    saveFileAtomically(context.WorkDir + context.CheckRuleFile, joinLines(lines));
}

void WriteRuleSet(int k, const std::string& path)
{
    const rules& set = context.RuleSets[k];
    CheckNothingLost(path, set.linesNotRead);
    Lines lines;
    for (std::int64_t i = 1; i <= set.count; ++i) {
        const rcont& rule = set.entries[i];
        if (rule.Number.empty())
            continue;
        lines.emplace_back("ru");
        appendRule(lines, rule);
    }
    saveFileAtomically(path, joinLines(lines));
}

void ReadRuleSet(int k, const std::string& path)
{
    rules& set = context.RuleSets[k];
    const Lines lines = readLines(path);
    const std::size_t kept = std::min<std::size_t>(lines.size(), static_cast<std::size_t>(MaxRulesRead) * RuleGroupLines);
    std::int32_t count = 0;
    for (std::size_t first = 0; first < kept; first += RuleGroupLines) {
        rcont& rule = set.entries[count + 1];
        std::size_t i = first + 1;  // the marker line is skipped unchecked
        for (std::string* field : fieldsOf(rule))
            *field = lineOrEmpty(lines, i++);
        ++count;
    }
    set.count = count;
    set.linesNotRead = static_cast<std::int64_t>(lines.size() - kept);
}

}  // namespace tarnix
