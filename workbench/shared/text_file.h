// The one reader and writer of text files: code page 1251 bytes, lines ending at LF with an
// optional CR before it, every written line followed by CR LF.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnix {

using Lines = std::vector<std::string>;

// Splits bytes into lines: a line ends at LF, a CR right before the LF is dropped, a last line
// without a terminator is a line, and empty bytes have no lines.
Lines splitLines(std::string_view bytes, std::size_t maxLines = std::numeric_limits<std::size_t>::max());
// Every line followed by CR LF.
std::string joinLines(const Lines& lines);

// Reads the first `maxLines` lines the Pascal way: a file that cannot be opened or read throws
// InOutError ("File not found", "File access denied"). Of a line longer than `maxLineLength`
// bytes only the first `maxLineLength` are kept; the rest is read past, never held in memory.
Lines readLines(const std::string& path, std::size_t maxLines = std::numeric_limits<std::size_t>::max(),
                std::size_t maxLineLength = std::numeric_limits<std::size_t>::max());
// Writes the file with the lines (whole, old or new, as saveFileAtomically does, but without
// waiting for the disk: for exchange and parameter files); failures throw InOutError.
void writeLines(const std::string& path, const Lines& lines);
// Writes the file with the bytes, as writeLines does; failures throw InOutError.
void writeBytes(const std::string& path, std::string_view bytes);

// Reads a whole file for a text area or a document; failures throw FileOpenError
// ("Cannot open file "%s". %s").
std::string loadFileBytes(const std::string& path);
// The bytes of the file from `offset` to its end; none when it cannot be read or is now shorter
// than `offset` (it was cut or replaced).
std::optional<std::string> loadFileBytesFrom(const std::string& path, std::size_t offset);
// Replaces the file with `bytes` through the platform's one writer (whole, old or new; links,
// mode and hard links kept) and waits until they are on the disk. A failure throws
// FileCreateError and leaves the earlier file whole.
void saveFileAtomically(const std::string& path, std::string_view bytes);

// The file-name part of a path: the text after the last separator (the whole text when none).
std::string fileNamePart(const std::string& path);
// The folder part of a path, with its trailing separator (empty when none).
std::string folderPart(const std::string& path);
// `dir` with a trailing separator added when it has none (empty stays empty).
std::string withTrailingSeparator(const std::string& dir);
// Code page 1251 bytes of a UTF-8 literal, for the fixed texts of the program.
std::string cp1251(std::string_view utf8);

}  // namespace tarnix
