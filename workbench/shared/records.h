// The files of the database editor's record databases.
//
// A database is a folder holding:
// - "DbDesc.dbm" (and "DbDesc.txt" beside it): line 1 a description, line 2 the number of
//   the last record in decimal;
// - record n: "<n>.dbm", any number of lines of record text, and "<n>.dsc", its description.
#pragma once

#include <array>
#include <string>

namespace tarnix {

// Ten texts, of which the first n are read or written.
using TextBlock = std::array<std::string, 10>;
// Replaces the file `path` with the first n texts of `block` (n from 0 to 10), one a line.
void WriteLines(const std::string& path, const TextBlock& block, int n);
// Empties `block`, then reads the first n lines of `path` into it; lines past the end of the
// file read as empty.
void ReadLines(const std::string& path, TextBlock& block, int n);
// The part of `name` before its first "."; empty when it has none or begins with one.
std::string StripExt(const std::string& name);
// The description file of a record file: the ".dsc" of the record's own stem, beside it.
std::string RecordDescriptionPath(const std::string& record);

}  // namespace tarnix
