#include "string_functions.h"

#include <cstring>
#include <vector>

namespace tarnix {

namespace {

// Finds a fixed pattern in linear time (Knuth-Morris-Pratt): after a mismatch the search goes
// on from the longest part of the pattern already matched that is also its beginning, so no
// byte of the text is looked at more than twice. While nothing is matched, memchr runs to the
// next byte that can begin the pattern.
class PatternSearch {
public:
    explicit PatternSearch(std::string_view pattern) : pattern_(pattern), fallback_(pattern.size() + 1, 0)
    {
        // fallback_[q]: the length of the longest proper prefix of the first q bytes that is
        // also their suffix.
        std::size_t k = 0;
        for (std::size_t q = 1; q < pattern.size(); ++q) {
            while (k > 0 && pattern[q] != pattern[k])
                k = fallback_[k];
            if (pattern[q] == pattern[k])
                ++k;
            fallback_[q + 1] = k;
        }
    }

    // The 0-based start of the first occurrence at or after `from`; npos when there is none.
    // The pattern must not be empty.
    std::size_t find(std::string_view text, std::size_t from) const
    {
        const std::size_t n = text.size();
        const std::size_t m = pattern_.size();
        std::size_t matched = 0;
        std::size_t i = from;
        while (i < n) {
            if (matched == 0) {
                if (n - i < m)
                    return std::string_view::npos;
                const void* hit = std::memchr(text.data() + i, pattern_[0], n - i - m + 1);
                if (!hit)
                    return std::string_view::npos;
                i = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) + 1;
                matched = 1;
            } else if (text[i] == pattern_[matched]) {
                ++matched;
                ++i;
            } else {
                matched = fallback_[matched];
                continue;
            }
            if (matched == m)
                return i - m;
        }
        return std::string_view::npos;
    }

private:
    std::string_view pattern_;
    std::vector<std::size_t> fallback_;
};

std::string replaceAll(std::string_view text, std::string_view pattern, std::string_view replacement)
{
    if (pattern.empty())
        return std::string(text);
    const PatternSearch search(pattern);
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t hit; (hit = search.find(text, done)) != std::string_view::npos; done = hit + pattern.size()) {
        out.append(text.substr(done, hit - done));
        out.append(replacement);
    }
    out.append(text.substr(done));
    return out;
}

}  // namespace

std::string SubstAll(std::string_view text, std::string_view pattern, std::string_view replacement)
{
    return replaceAll(text, pattern, replacement);
}

std::string Substitute(std::string_view text, std::string_view pattern, std::string_view replacement)
{
    return replaceAll(text, pattern, replacement);
}

std::optional<std::size_t> FindSub(std::string_view text, std::string_view pattern)
{
    if (pattern.empty() || text.empty())
        return std::nullopt;
    std::size_t start = 0;
    std::size_t matched = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (matched > 0 && text[i] == pattern[matched]) {
            if (++matched == pattern.size())
                return start + 1;
            continue;
        }
        // No partial match is open, or the open one failed at this byte: this byte is tried
        // as a new start, and the failed part is not looked at again.
        matched = 0;
        if (text[i] == pattern[0]) {
            start = i;
            matched = 1;
            if (pattern.size() == 1)
                return start + 1;
        }
    }
    return std::nullopt;
}

std::string DelSub(std::string_view text, std::string_view pattern)
{
    std::string out(text);
    if (const auto start = FindSub(text, pattern))
        out.erase(*start - 1, pattern.size());
    return out;
}

std::string DelSeq(std::string_view text)
{
    std::string out(text);
    const std::size_t start = out.find('1');
    if (start != std::string::npos)
        out.erase(start, out.find_first_not_of('1', start) - start);
    return out;
}

}  // namespace tarnix
