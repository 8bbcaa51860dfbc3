#include "output_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace tarnix {

OutputText::OutputText() : bytes_(std::make_shared<std::string>()) {}

void OutputText::assign(std::string bytes)
{
    bytes_ = std::make_shared<std::string>(std::move(bytes));
    starts_.clear();
    longest_ = 0;
    indexFrom(0);
}

void OutputText::append(std::string_view more)
{
    if (more.empty())
        return;
    if (bytes_.use_count() > 1)  // a search or a copy still reads the old bytes
        bytes_ = std::make_shared<std::string>(*bytes_);
    bytes_->append(more);
    // The last line is indexed again: it may go on, or its CR may now be followed by an LF.
    std::size_t from = 0;
    if (!starts_.empty()) {
        from = starts_.back();
        starts_.pop_back();
    }
    indexFrom(from);
}

// One pass from `offset`, which starts a line: memchr finds each LF, and a second memchr the
// rarer CR that ends a line alone.
void OutputText::indexFrom(std::size_t offset)
{
    const char* const data = bytes_->data();
    const std::size_t size = bytes_->size();
    while (offset < size) {
        starts_.push_back(offset);
        const char* from = data + offset;
        const auto* lf = static_cast<const char*>(std::memchr(from, '\n', size - offset));
        const char* stop = lf ? lf : data + size;
        const auto* cr = static_cast<const char*>(std::memchr(from, '\r', static_cast<std::size_t>(stop - from)));
        std::size_t next;
        if (cr && cr + 1 != lf)
            next = static_cast<std::size_t>(cr - data) + 1;  // a CR alone
        else if (lf)
            next = static_cast<std::size_t>(lf - data) + 1;
        else
            next = size;
        longest_ = std::max(longest_, next - offset);  // with its terminator: a bound is enough
        offset = next;
    }
}

std::string_view OutputText::line(std::size_t i) const
{
    const std::string& b = *bytes_;
    const std::size_t start = starts_[i];
    std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : b.size();
    // What lies between the line and the next is its terminator: LF, CR LF or CR.
    if (end > start && b[end - 1] == '\n')
        --end;
    if (end > start && b[end - 1] == '\r')
        --end;
    return std::string_view(b).substr(start, end - start);
}

std::size_t OutputText::lineOf(std::size_t offset) const
{
    if (starts_.empty())
        return 0;
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return static_cast<std::size_t>(after - starts_.begin()) - (after == starts_.begin() ? 0 : 1);
}

namespace {

struct CaseTables {
    std::array<unsigned char, 256> lower{};
    std::array<unsigned char, 256> upper{};
};

// Latin and Cyrillic letters of code page 1251: A-Z and А-Я are 0x20 below their small letters;
// the other Cyrillic letters of the code page pair up one by one.
const CaseTables& caseTables()
{
    static const CaseTables tables = [] {
        CaseTables t;
        for (int b = 0; b < 256; ++b)
            t.lower[b] = t.upper[b] = static_cast<unsigned char>(b);
        const auto pair = [&t](int big, int small) {
            t.lower[big] = static_cast<unsigned char>(small);
            t.upper[small] = static_cast<unsigned char>(big);
        };
        for (int b = 'A'; b <= 'Z'; ++b)
            pair(b, b + 0x20);
        for (int b = 0xC0; b <= 0xDF; ++b)
            pair(b, b + 0x20);
        const int others[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
                                 {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
                                 {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
        for (const auto& p : others)
            pair(p[0], p[1]);
        return t;
    }();
    return tables;
}

// A search for one needle: the two forms of its first two bytes, found 16 places at a time,
// and a full comparison where both match.
class Finder {
public:
    Finder(std::string_view needle, bool matchCase) : needle_(needle), matchCase_(matchCase)
    {
        const CaseTables& t = caseTables();
        for (std::size_t k = 0; k < 2; ++k) {
            const auto b = static_cast<unsigned char>(needle[std::min(k, needle.size() - 1)]);
            small_[k] = matchCase ? b : t.lower[b];
            big_[k] = matchCase ? b : t.upper[small_[k]];
        }
        if (needle.size() == 1)
            small_[1] = big_[1] = 0, anySecond_ = true;
    }

    // The first match starting in [from, last], which must leave room for the needle.
    std::size_t first(const char* data, std::size_t from, std::size_t last) const
    {
        std::size_t p = from;
#if defined(__GNUC__)
        using V = unsigned char __attribute__((vector_size(16)));
        const V a = V{} + small_[0], A = V{} + big_[0], b = V{} + small_[1], B = V{} + big_[1];
        // p + 16 bytes and one more for the second byte must lie inside the text.
        for (; p + 16 <= last; p += 16) {
            V x, y;
            std::memcpy(&x, data + p, 16);
            std::memcpy(&y, data + p + 1, 16);
            V m = (V)((x == a) | (x == A));
            if (!anySecond_)
                m &= (V)((y == b) | (y == B));
            std::uint64_t halves[2];
            std::memcpy(halves, &m, 16);
            if ((halves[0] | halves[1]) == 0)
                continue;
            for (std::size_t k = 0; k < 16; ++k)
                if (m[k] && matchesAt(data + p + k))
                    return p + k;
        }
#endif
        for (; p <= last; ++p)
            if (firstByte(static_cast<unsigned char>(data[p])) && matchesAt(data + p))
                return p;
        return NotFound;
    }

    std::size_t size() const { return needle_.size(); }

private:
    bool firstByte(unsigned char c) const { return c == small_[0] || c == big_[0]; }

    bool matchesAt(const char* at) const
    {
        if (matchCase_)
            return std::memcmp(at, needle_.data(), needle_.size()) == 0;
        const auto& lower = caseTables().lower;
        for (std::size_t k = 0; k < needle_.size(); ++k)
            if (lower[static_cast<unsigned char>(at[k])] != lower[static_cast<unsigned char>(needle_[k])])
                return false;
        return true;
    }

    std::string_view needle_;
    bool matchCase_;
    unsigned char small_[2]{}, big_[2]{};
    bool anySecond_ = false;
};

// Searches go a block at a time, so a stop is seen soon and a search backwards can use the
// fast forward scan on each block.
constexpr std::size_t Block = 1 << 20;

bool stopped(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }

std::size_t findForward(std::string_view bytes, const Finder& finder, std::size_t from, const std::atomic<bool>* stop)
{
    const std::size_t last = bytes.size() - finder.size();  // the last place a match can start
    for (std::size_t at = from; at <= last; at += Block) {
        if (stopped(stop))
            return NotFound;
        const std::size_t found = finder.first(bytes.data(), at, std::min(last, at + Block - 1));
        if (found != NotFound)
            return found;
    }
    return NotFound;
}

std::size_t findBackward(std::string_view bytes, const Finder& finder, std::size_t before, const std::atomic<bool>* stop)
{
    std::size_t end = std::min(before, bytes.size() - finder.size() + 1);  // matches start below `end`
    while (end > 0) {
        if (stopped(stop))
            return NotFound;
        const std::size_t start = end > Block ? end - Block : 0;
        std::size_t lastFound = NotFound;
        for (std::size_t at = start; at < end;) {
            const std::size_t found = finder.first(bytes.data(), at, end - 1);
            if (found == NotFound)
                break;
            lastFound = found;
            at = found + 1;
        }
        if (lastFound != NotFound)
            return lastFound;
        end = start;
    }
    return NotFound;
}

}  // namespace

unsigned char LowerCase1251(unsigned char b) { return caseTables().lower[b]; }

std::size_t FindBytes(std::string_view bytes, std::string_view needle, bool matchCase, std::size_t from,
                      bool backwards, const std::atomic<bool>* stop)
{
    if (needle.empty() || needle.size() > bytes.size())
        return NotFound;
    const Finder finder(needle, matchCase);
    return backwards ? findBackward(bytes, finder, from, stop) : findForward(bytes, finder, from, stop);
}

std::size_t FindAround(std::string_view bytes, std::string_view needle, bool matchCase, std::size_t from,
                       bool backwards, const std::atomic<bool>* stop)
{
    from = std::min(from, bytes.size());
    const std::size_t found = FindBytes(bytes, needle, matchCase, from, backwards, stop);
    if (found != NotFound || needle.empty())
        return found;
    if (!backwards)  // from the start, up to a match that would begin at `from`
        return FindBytes(bytes.substr(0, std::min(bytes.size(), from + needle.size() - 1)), needle, matchCase, 0, false, stop);
    const std::size_t tail = FindBytes(bytes.substr(from), needle, matchCase, bytes.size() - from, true, stop);
    return tail == NotFound ? NotFound : from + tail;
}

}  // namespace tarnix
