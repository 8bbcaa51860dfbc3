// An output file held for showing: its bytes as read, where each of its lines starts, and a
// search over the bytes. Nothing is decoded here: a viewer decodes only the lines it shows.
//
// Lines end at LF, CR LF or a CR alone. The last line's terminator does not start another line,
// so an empty file has no lines, "a" and "a\r\n" have one, "a\n\n" has two ("a" and "").
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnix {

class OutputText {
public:
    OutputText();

    // Replaces the whole text.
    void assign(std::string bytes);
    // Adds bytes written at the end since: the last line may go on, or a CR that ended the text
    // may turn out to be the first half of a CR LF.
    void append(std::string_view more);

    std::string_view bytes() const { return *bytes_; }
    std::size_t size() const { return bytes_->size(); }
    std::size_t lineCount() const { return starts_.size(); }
    // Line `i` (from 0) without its terminator.
    std::string_view line(std::size_t i) const;
    std::size_t lineStart(std::size_t i) const { return starts_[i]; }
    // Where line `i`'s text ends, before its terminator.
    std::size_t lineEnd(std::size_t i) const { return starts_[i] + line(i).size(); }
    // The line that holds byte `offset` (the last line for the end of the text); 0 when there are
    // no lines.
    std::size_t lineOf(std::size_t offset) const;
    // The length of the longest line, at most two bytes over.
    std::size_t longestLine() const { return longest_; }
    // The bytes, for a search or a copy that may outlive a later change of the text: a change
    // then works on a copy of its own.
    std::shared_ptr<const std::string> share() const { return bytes_; }

private:
    void indexFrom(std::size_t offset);

    std::shared_ptr<std::string> bytes_;
    std::vector<std::size_t> starts_;
    std::size_t longest_ = 0;
};

// The letter of code page 1251 byte `b` in lower case (Latin and Cyrillic letters; any other
// byte is itself).
unsigned char LowerCase1251(unsigned char b);

inline constexpr std::size_t NotFound = std::string_view::npos;

// Where `needle` first occurs in `bytes` starting at or after `from`; with `backwards`, where it
// last occurs starting before `from`. Letter case counts only with `matchCase`. NotFound when
// there is no match, or when `stop` became true while searching.
std::size_t FindBytes(std::string_view bytes, std::string_view needle, bool matchCase, std::size_t from,
                      bool backwards, const std::atomic<bool>* stop = nullptr);

// The next match after `from` (the previous one before it, with `backwards`), going on round the
// end of the text to where it began.
std::size_t FindAround(std::string_view bytes, std::string_view needle, bool matchCase, std::size_t from,
                       bool backwards, const std::atomic<bool>* stop = nullptr);

}  // namespace tarnix
