// The engine's own string functions, as the string testers run them: byte strings in code page
// 1251, positions counted from 1, every comparison an exact byte comparison. Each runs in time
// linear in the length of its input.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarnix {

// Every occurrence of `pattern` in `text` replaced by `replacement`, leftmost first, never two
// overlapping, the replacement never searched again. An empty pattern leaves the text as it is.
std::string SubstAll(std::string_view text, std::string_view pattern, std::string_view replacement);
// The pattern substitution routine; it gives the same result as SubstAll.
std::string Substitute(std::string_view text, std::string_view pattern, std::string_view replacement);

// The 1-based start of `pattern` in `text` as the engine finds it: one left-to-right pass that
// never goes back. A partial match that fails is resumed only at the byte that failed, so an
// occurrence starting inside the failed part is missed ("aab" is not found in "aaab").
// Nothing is found in an empty text or for an empty pattern.
std::optional<std::size_t> FindSub(std::string_view text, std::string_view pattern);
// `text` without the occurrence of `pattern` that FindSub finds; unchanged when it finds none.
std::string DelSub(std::string_view text, std::string_view pattern);
// `text` without its first run of the digit '1'.
std::string DelSeq(std::string_view text);

}  // namespace tarnix
