// Which line of the knowledge base's source a line of the engine's messages names: the
// compilation listing, the build log and the run output say "строка 12" or number the source
// lines they repeat.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnix {

// The source line (from 1) that one line of a message names: "строка 12" or "line 12" (any
// letter case, with at most a few words and signs between the word and the number, as in
// "строка в файле: 12"), or a numbered listing line ("  12  rule(..."). Code page 1251 text.
std::optional<int> SourceLineOf(std::string_view line);

// The index of the first line that reports an error ("***", "ошибка" or "error" in it) and names
// a source line.
std::optional<std::size_t> FirstErrorLine(const std::vector<std::string>& lines);

}  // namespace tarnix
