// Code page 1251: every byte string survives the way through UTF-16 and through UTF-8; the
// way back from any Unicode text keeps what the code page holds and puts one '?' for each
// other character; case-blind comparison and wildcard matching agree with themselves.
#include "fuzz_support.h"
#include "platform.h"

namespace {

using namespace tarnix;
using namespace tarnix::fuzz;

bool validUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// The number of characters of a UTF-16 text: a well-formed surrogate pair counts once.
std::size_t characters(std::u16string_view s)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i, ++n)
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) ++i;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Bytes -> Unicode -> bytes, both ways, for all 256 byte values.
    const std::u16string wide = platform::cp1251ToUtf16(bytes);
    FUZZ_CHECK(wide.size() == bytes.size(), shown(bytes));
    FUZZ_CHECK(platform::utf16ToCp1251(wide) == bytes, "UTF-16 round trip: " + shown(bytes));
    const std::string utf8 = platform::cp1251ToUtf8(bytes);
    FUZZ_CHECK(validUtf8(utf8), shown(bytes) + " -> " + shown(utf8));
    FUZZ_CHECK(platform::utf8ToCp1251(utf8) == bytes, "UTF-8 round trip: " + shown(bytes));

    // The same input read as UTF-16 (any code units, lone surrogates included) and as UTF-8:
    // one byte per character, and a character that comes back is the one that went in.
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::string narrow = platform::utf16ToCp1251(units);
    FUZZ_CHECK(narrow.size() == characters(units), "one byte per character: " + shown(bytes));
    const std::u16string back = platform::cp1251ToUtf16(narrow);
    for (std::size_t i = 0, j = 0; i < units.size(); ++i, ++j) {
        const bool pair = units[i] >= 0xD800 && units[i] <= 0xDBFF && i + 1 < units.size() &&
                          units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
        FUZZ_CHECK(back[j] == units[i] || narrow[j] == '?', "a character changed: " + shown(bytes));
        if (pair) ++i;
    }
    const std::string fromUtf8 = platform::utf8ToCp1251(bytes);
    FUZZ_CHECK(fromUtf8.size() <= bytes.size(), "UTF-8 decoding grew: " + shown(bytes));

    // Case-blind comparison: upper case is stable, every text equals itself and its upper case.
    std::string upper = bytes;
    for (char& c : upper) c = platform::upperCp1251(c);
    for (const char c : upper) FUZZ_CHECK(platform::upperCp1251(c) == c, "upper case of upper case: " + shown(bytes));
    FUZZ_CHECK(platform::equalsNoCase(bytes, upper) && platform::equalsNoCase(upper, bytes), shown(bytes));

    // Wildcards: a name matches itself (its '*' and '?' match themselves too), "*" matches
    // everything, and "*<name>" matches the name.
    const std::string name = bytes.substr(0, 64);
    FUZZ_CHECK(platform::wildcardMatch(name, name), "a name does not match itself: " + shown(name));
    FUZZ_CHECK(platform::wildcardMatch("*", name), shown(name));
    FUZZ_CHECK(platform::wildcardMatch("*" + upper.substr(0, 64), name), shown(name));
    return 0;
}
