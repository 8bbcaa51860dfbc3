// Text areas (Qt, offscreen): a file loaded into a text area and saved again keeps every
// byte but the line breaks, which become CR LF (a CR alone is a line break too, and a file of
// one empty line becomes an empty area); load -> save -> load is stable. Text typed into an
// area comes out as lines split at every break a person can
// type (Enter, Shift+Enter, a pasted paragraph separator), with '?' for what code page 1251
// cannot hold.
#include "errors.h"
#include "fuzz_support.h"
#include "platform.h"
#include "text_area.h"

#include <QApplication>
#include <algorithm>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

using namespace tarnix;
using namespace tarnix::fuzz;

QPlainTextEdit* area = nullptr;

std::string listed(const Lines& lines)
{
    std::string out;
    for (const auto& l : lines) out += "  [" + shown(l) + "]\n";
    return out;
}

// The text area's lines after loading `file`: its lines, but a file of one empty line is an
// empty area.
Lines loadedLines(std::string_view file)
{
    Lines lines = breakLines(file);
    if (lines.size() == 1 && lines[0].empty()) lines.clear();
    return lines;
}

std::string saved() { return encodeLines(area->document()->toRawText()); }

// One typed character per input byte: the byte's own character for most, and for the last
// few a line separator (Shift+Enter), a paragraph separator, Enter, characters code page
// 1251 cannot hold (one of them outside the basic plane) and a tab.
struct Typed {
    QString text;
    Lines lines{""};
};

Typed typed(std::string_view input)
{
    Typed t;
    for (const char c : input) {
        const auto b = static_cast<unsigned char>(c);
        const auto newLine = [&] { t.lines.emplace_back(); };
        switch (b) {
        case 0xF8: t.text += QChar(0x2028), newLine(); break;
        case 0xF9: t.text += QChar(0x2029), newLine(); break;
        case 0xFA: t.text += u'\n', newLine(); break;
        case 0xFB: t.text += QChar(0x00E9), t.lines.back() += '?'; break;
        case 0xFC: t.text += QString::fromUtf8("\xF0\x9F\x98\x80"), t.lines.back() += '?'; break;
        case 0xFD: t.text += QChar(0x4E2D), t.lines.back() += '?'; break;
        case 0xFE: t.text += u'\t', t.lines.back() += '\t'; break;
        default:
            if (b == '\r' || b == '\n') {  // Enter
                t.text += u'\n', newLine();
            } else {
                t.text += QChar(platform::cp1251ToUtf16(std::string(1, c))[0]);
                t.lines.back() += c;
            }
        }
    }
    if (input.empty()) t.lines.clear();
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "text_area_fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    area = new QPlainTextEdit;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // A line too long to lay out is refused, and the area keeps its text.
    std::size_t longest = 0;
    for (std::size_t run = 0; const char c : bytes) {
        run = c == '\r' || c == '\n' ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    const QString before = area->document()->toRawText();
    try {
        ShowBytes(area, bytes, "input");
    } catch (const Failure&) {
        FUZZ_CHECK(longest > LongestShownLine && area->document()->toRawText() == before,
                   "file: " + shown(bytes.substr(0, 400)));
        return 0;
    }
    FUZZ_CHECK(longest <= LongestShownLine, "a line too long was shown\nfile: " + shown(bytes.substr(0, 400)));

    // File -> area -> file.
    const Lines lines = loadedLines(bytes);
    const std::string once = saved();
    FUZZ_CHECK(once == joinLines(lines), "file: " + shown(bytes) + "\nsaved: " + shown(once) + "\nexpected lines:\n" +
                                             listed(lines));
    FUZZ_CHECK(GetLines(area) == lines, "file: " + shown(bytes) + "\nlines:\n" + listed(GetLines(area)));
    area->setPlainText(decodeLines(once));
    FUZZ_CHECK(saved() == once, "load -> save -> load is not stable\nfile: " + shown(bytes));

    // Typed text -> lines and file.
    const Typed t = typed(bytes);
    area->setPlainText(t.text);
    FUZZ_CHECK(GetLines(area) == t.lines, "typed (as bytes): " + shown(bytes) + "\nlines:\n" + listed(GetLines(area)) +
                                              "expected:\n" + listed(t.lines));
    FUZZ_CHECK(saved() == joinLines(t.lines), "typed (as bytes): " + shown(bytes) + "\nsaved: " + shown(saved()));
    return 0;
}
