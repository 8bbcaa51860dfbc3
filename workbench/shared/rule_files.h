// The helpers that move rules, model texts and line lists between the shared record, the
// windows and the files the engine programs read and write, and the small text helpers of
// the tool windows.
//
// File formats (code page 1251, every line ended by CR LF when written):
// - model file "m<k>.txt": any number of lines; at most the first 999 are taken;
// - rule-set file "unlr<k>.ari": one group of seven lines per rule: "ru", Number, Comment,
//   Type, P2, P3, P4; no header, no trailer;
// - check-rule file (CheckRuleFile): the six fields of CheckedRule, no marker line;
// - line list ("list.txt"): plain lines.
//
// Every rule field is stored on one line: the writers pass each field through OneLine, so
// a text typed with line breaks can never shift the seven-line groups and corrupt the rules
// behind it. Windows that take a rule out of their boxes use OneLine too (OneLineText of a
// text area), so that the rule they keep in memory is the one the file holds.
//
// Every write replaces its file atomically: a failed write throws FileCreateError and leaves
// the earlier file whole. A file that cannot be read throws InOutError ("File not found",
// "File access denied"); a rule or line index outside 1..1000 throws RangeError.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "text_file.h"

namespace tarnix {

// The most rules of a set and lines of a model text that are read from a file.
inline constexpr int MaxRulesRead = 999;
inline constexpr int MaxModelLinesRead = 999;

// The text up to, not including, its first full stop; empty when it has none.
std::string FileStem(const std::string& text);

// The text with each of the 66 Cyrillic letters of code page 866 replaced by the same letter
// of code page 1251; every other byte unchanged.
std::string DosToWinText(const std::string& text);

// The text on one line: every line break (CR LF, CR or LF) replaced by one blank. A text
// without line breaks comes back unchanged.
std::string OneLine(const std::string& text);

// The outcome of counting the brackets of a text. Only the counts are compared: a closing
// bracket before its opening one passes.
struct BracketCheck {
    int flag = 0;  // 1 when any difference is not 0
    std::int64_t squareDifference = 0;  // "[" minus "]"
    std::int64_t roundDifference = 0;   // "(" minus ")"
    std::int64_t curlyDifference = 0;   // "{" minus "}"
    std::int64_t openSquare = 0, closeSquare = 0;
    std::int64_t openRound = 0, closeRound = 0;
    std::int64_t openCurly = 0, closeCurly = 0;
};
BracketCheck CheckBrackets(const std::string& text);
// The message shown when a text is refused for its brackets: "Res= 1 Ob= 3 Cb= 2".
std::string BracketMessage(const BracketCheck& check);

// The three sections of a rule's trace file after its three heading lines, each ended by a
// separator: a line shorter than two characters or one that starts with "--". A file that
// ends early ends the current section and leaves the later ones empty.
std::array<Lines, 3> TraceSections(const Lines& file);

// WorkDir + "m<k>.txt" and WorkDir + "unlr<k>.ari".
std::string ModelPath(int k);
std::string RuleSetPath(int k);

// Appends every line of WorkDir + name to `list`. When the file does not exist shows
// "Not exists file - " + path, leaves the list unchanged and returns false.
bool ReadWorkLines(const std::string& name, Lines& list);

// Sends the trace-list goal again (its result ignored), as the engine may rely on; the
// caller has read "list.txt" itself, so it is not read a second time.
void RefreshTraceList();

// Fills Models[k] (k = 0..5) with the first 999 lines of WorkDir + "m<k>.txt" and counts the
// lines past them (linesNotRead). Lines past the new count keep what an earlier load left there.
void LoadModel(int k);

// A file read cut short is not written back: throws Failure saying how many lines would be lost.
void CheckNothingLost(const std::string& path, std::int64_t linesNotRead);
// Writes CheckedRule to WorkDir + CheckRuleFile: its six fields, each on one line.
void WriteCheckRule();

// Writes entries 1..count of RuleSets[k] (k = 1..3) to `path`, each field on one line; an
// entry with an empty rule number is left out (that is how a deleted rule disappears). A set
// read cut short (linesNotRead) is not written: Failure says how many lines would be lost.
void WriteRuleSet(int k, const std::string& path);

// Fills RuleSets[k] (k = 1..3) from the groups of `path`, at most 999; the rules take slots
// 1..count in file order, so the rules behind a left-out one move up a slot. The marker line
// is not checked; the missing fields of a last group cut short are empty. The lines past the
// 999th rule are counted (linesNotRead).
void ReadRuleSet(int k, const std::string& path);

}  // namespace tarnix
