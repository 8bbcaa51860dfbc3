// The one way to move a text file into a text area and back: code page 1251 bytes, lines ending
// in CR LF on disk; the area's lines are its text split at line breaks.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "text_file.h"

class QPlainTextEdit;

namespace tarnix {

struct rcont;

// File bytes -> the area's text: the lines joined with '\n', no trailing one. A CR that is
// not part of a CR LF is a line break of its own.
QString decodeLines(std::string_view bytes);
// Bytes -> text with every line break (CR LF, LF or a CR alone) one '\n', the last one kept.
QString decodeText(std::string_view bytes);
// The area's text -> file bytes: the text split at every line break (isLineBreak), every line
// followed by CR LF; an empty text has no lines.
std::string encodeLines(const QString& text);

// The characters of a text that code page 1251 cannot hold (each saved as '?'): how many
// there are, and the first few different ones.
struct Unencodable {
    std::vector<QString> first;
    std::size_t count = 0;
    bool more = false;  // other different ones than `first` are there too
};
Unencodable FindUnencodable(const QString& text, std::size_t shown = 5);

// Every text area is filled through these, so none can be handed a line too long to lay out:
// such a text is refused with "Line too long to show" (CheckBytesFitToShow), and the area keeps
// what it had.
// Replaces the whole content of `area` with the lines of `bytes` (read from `source`).
void ShowBytes(QPlainTextEdit* area, std::string_view bytes, const std::string& source);
// Replaces the whole content of `area` with the lines of the file (FileOpenError when it
// cannot be read; the area then keeps what it had).
void LoadTextArea(QPlainTextEdit* area, const std::string& path);
// Replaces the file with the area's lines, atomically.
void SaveTextArea(QPlainTextEdit* area, const std::string& path);
// The area's lines, split as encodeLines splits them: what every reader of a text area uses.
Lines GetLines(QPlainTextEdit* area);
// Lines longer than this are not shown: laying out one such line takes the toolkit seconds
// to minutes, so a window showing it would stop answering.
inline constexpr std::size_t LongestShownLine = 65536;
// Throws Failure "Line too long to show - <source>" when a line is longer than LongestShownLine.
void CheckLinesFitToShow(const Lines& lines, const std::string& source);
// The same for the lines of `bytes`, which end at LF or CR.
void CheckBytesFitToShow(std::string_view bytes, const std::string& source);
// The same for the six fields of a rule.
void CheckRuleFitsToShow(const rcont& rule, const std::string& source);

// Replaces the whole content of `area` with `lines` (taken from `source`).
void SetLines(QPlainTextEdit* area, const Lines& lines, const std::string& source);
// The area's text on one line, its lines joined by one blank: a rule field as it is stored.
std::string OneLineText(QPlainTextEdit* area);
// Loads model text k (LoadModel): its lines.
Lines ModelLines(int k);
// Loads model text k (LoadModel) and shows its lines in `area` (which keeps its text when a
// line is too long to show).
void ShowModel(QPlainTextEdit* area, int k);

}  // namespace tarnix
