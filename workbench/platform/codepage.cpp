// Code page 1251 (Windows Cyrillic) conversions. Shared by both halves of the platform layer.
#include "platform.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tarnix::platform {
namespace {

// Unicode of the bytes 0x80..0xFF. The one byte code page 1251 leaves unassigned, 0x98,
// stands for U+0098 so that every byte survives a round trip through Unicode.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

constexpr std::array<char16_t, 256> makeToUnicode() {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 128; ++b) t[b] = static_cast<char16_t>(b);
    for (int b = 0; b < 128; ++b) t[128 + b] = kHighHalf[b];
    return t;
}
constexpr std::array<char16_t, 256> kToUnicode = makeToUnicode();

// The high half sorted by code point, for the way back.
constexpr std::array<std::pair<char16_t, unsigned char>, 128> makeFromUnicode() {
    std::array<std::pair<char16_t, unsigned char>, 128> t{};
    for (int b = 0; b < 128; ++b) t[b] = {kHighHalf[b], static_cast<unsigned char>(128 + b)};
    std::sort(t.begin(), t.end());
    return t;
}
constexpr auto kFromUnicode = makeFromUnicode();

// The byte for one code point, or '?' when code page 1251 has no such character.
char toByte(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
    if (cp > 0xFFFF) return '?';
    const auto it = std::lower_bound(kFromUnicode.begin(), kFromUnicode.end(),
                                     std::pair<char16_t, unsigned char>{static_cast<char16_t>(cp), 0});
    if (it != kFromUnicode.end() && it->first == cp) return static_cast<char>(it->second);
    return '?';
}

char32_t upperCodePoint(char32_t cp) {
    if (cp >= U'a' && cp <= U'z') return cp - 0x20;
    if (cp >= 0x0430 && cp <= 0x044F) return cp - 0x20;  // а..я
    if (cp >= 0x0450 && cp <= 0x045F) return cp - 0x50;  // ѐ..џ, ё included
    if (cp == 0x0491) return 0x0490;                     // ґ
    return cp;
}

std::array<char, 256> makeUpper() {
    std::array<char, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = toByte(upperCodePoint(kToUnicode[b]));
    return t;
}
const std::array<char, 256> kUpper = makeUpper();

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr char32_t NoCodePoint = 0xFFFFFFFF;

// The code point of UTF-8 `text` at `i`, moving `i` past it; NoCodePoint for a stray
// continuation byte, an invalid lead byte (both skipped alone), a truncated sequence (skipped
// as far as it goes) or an overlong one.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07;
    } else {
        ++i;
        return NoCodePoint;
    }
    std::size_t j = i + 1;
    for (; j < text.size() && j <= i + extra; ++j) {
        const auto b = static_cast<unsigned char>(text[j]);
        if ((b & 0xC0) != 0x80) break;
        cp = (cp << 6) | (b & 0x3F);
    }
    const bool whole = j == i + 1 + extra;
    i = j;
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    return whole && cp >= kMinimum[extra] ? cp : NoCodePoint;
}

}  // namespace

std::u16string cp1251ToUtf16(std::string_view text) {
    std::u16string out(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = kToUnicode[static_cast<unsigned char>(text[i])];
    return out;
}

std::string utf16ToCp1251(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        // A surrogate pair is one character beyond the basic plane: one '?'.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
            out += '?';
            continue;
        }
        out += (c >= 0xD800 && c <= 0xDFFF) ? '?' : toByte(c);
    }
    return out;
}

std::string cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) appendUtf8(out, kToUnicode[static_cast<unsigned char>(c)]);
    return out;
}

bool fitsCp1251(std::string_view utf8) { return cp1251ToUtf8(utf8ToCp1251(utf8)) == utf8; }

std::string utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = nextCodePoint(text, i);
        out += cp == NoCodePoint ? '?' : toByte(cp);
    }
    return out;
}

std::string utf16leToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const auto unitAt = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unitAt(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::string utf8ToUtf16le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    const auto unit = [&out](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (cp == NoCodePoint || cp > 0x10FFFF) {
            unit(0xFFFD);
        } else if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

char upperCp1251(char c) { return kUpper[static_cast<unsigned char>(c)]; }

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperCp1251(a[i]) != upperCp1251(b[i])) return false;
    return true;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    // Iterative matching with one back-tracking point: the last '*' seen.
    auto match = [](std::string_view p, std::string_view n) {
        std::size_t pi = 0, ni = 0, star = std::string_view::npos, mark = 0;
        while (ni < n.size()) {
            if (pi < p.size() && (p[pi] == '?' || (p[pi] != '*' && upperCp1251(p[pi]) == upperCp1251(n[ni])))) {
                ++pi, ++ni;
            } else if (pi < p.size() && p[pi] == '*') {
                star = pi++;
                mark = ni;
            } else if (star != std::string_view::npos) {
                pi = star + 1;
                ni = ++mark;
            } else {
                return false;
            }
        }
        while (pi < p.size() && p[pi] == '*') ++pi;
        return pi == p.size();
    };
    if (match(pattern, name)) return true;
    // As on Windows, a trailing ".*" also matches names without an extension ("*.*", "a.*").
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return match(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

}  // namespace tarnix::platform
