// One table of cases, run unchanged against both halves of the platform layer: natively on
// POSIX, and as a Windows program on Windows or under Wine. Each case lays out a folder, makes
// one call and checks the answer and every file of the folder afterwards. Where the halves
// answer differently on purpose, the case says what the Windows half answers, and why.
#include "platform.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarnix::platform {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

#ifdef _WIN32
constexpr bool OnWindows = true;
#else
constexpr bool OnWindows = false;
#endif

// A folder's entries: name -> bytes; a name ending in "/" is a folder.
using Folder = std::map<std::string, std::string>;

struct Outcome {
    std::string answer;
    std::optional<Folder> folder = std::nullopt;  // none: as before the call
};

struct Case {
    const char* what;
    Folder before;
    // The call, given the folder with its trailing separator; its answer as text.
    std::function<std::string(const std::string& dir)> call;
    Outcome expected;
    // Only where the halves differ: what the Windows half answers, and why.
    std::optional<Outcome> windows = std::nullopt;
    const char* why = nullptr;
};

// A failing case is named by what it tries.
void PrintTo(const Case& c, std::ostream* out) { *out << c.what; }

const std::string Ini = "Ordo.ini";

Folder ini(const std::string& bytes) { return {{Ini, bytes}}; }

auto read(std::string section, std::string key, std::string defaultValue = "DEF", std::string file = Ini) {
    return [=](const std::string& dir) { return profileRead(dir + file, section, key, defaultValue); };
}

// UTF-16 little-endian units of `text`, whose characters are all below U+0100.
std::string units(std::string_view text) {
    std::string out;
    for (const char c : text) out += std::string{c, '\0'};
    return out;
}

const std::string Utf16Mark = "\xFF\xFE";
const std::string Smiley = "\x3D\xD8\x00\xDE";  // U+1F600, a surrogate pair

// Reading "kbpath" where the section "Files" holds just `lines`.
Case kbpathLine(const char* what, const std::string& lines, std::string expected) {
    return {what, ini("[Files]\r\n" + lines + "\r\n"), read("Files", "kbpath"), {std::move(expected)}};
}

auto write(std::string section, std::string key, std::string value, std::string file = Ini) {
    return [=](const std::string& dir) {
        return std::string(profileWrite(dir + file, section, key, value) ? "written" : "refused");
    };
}

auto exists(std::string name) {
    return [=](const std::string& dir) { return std::string(fileExists(dir + name) ? "yes" : "no"); };
}

auto rename(std::string from, std::string to) {
    return [=](const std::string& dir) {
        return std::string(renameFile(dir + from, dir + to) ? "renamed" : "refused");
    };
}

// The clean-up of a project folder: every "*.tmp" found is deleted; the answer lists the
// names found and, in brackets, those that could not be deleted.
std::string cleanTemporaryFiles(const std::string& dir) {
    std::vector<std::string> names = findFiles(dir, "*.tmp");
    std::sort(names.begin(), names.end());
    std::string answer;
    for (const std::string& name : names)
        answer += (answer.empty() ? "" : " ") + (deleteFile(dir + name) ? name : '(' + name + ')');
    return answer;
}

void layOut(const std::string& dir, const Folder& folder) {
    for (const auto& [name, bytes] : folder) {
        if (name.back() == '/')
            std::filesystem::create_directory(dir + name.substr(0, name.size() - 1));
        else
            writeBytes(dir + name, bytes);
    }
}

Folder contentsOf(const std::string& dir) {
    Folder folder;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory())
            folder[name + '/'] = "";
        else
            folder[name] = readBytes(dir + name);
    }
    return folder;
}

const std::string LongValue = [] {
    std::string value(ProfileTextMax, 'x');
    value.front() = 'A';
    value.back() = 'Z';
    return value;
}();

const char* const Rewritten =
    "Windows' profile functions write the whole file anew from what they understood of it: "
    "blanks around \"=\" and blank lines go, every line ends in CR LF. The POSIX half changes "
    "only the bytes of the value or adds one line, so a file kept under version control or "
    "edited by hand keeps its form. Both read the same afterwards.";

const std::vector<Case> Cases = {
    // ---- reading a profile file ----
    {"read, no file", {}, read("Files", "kbpath"), {"DEF"}},
    {"read, no section", ini("[Other]\r\nkbpath=x\r\n"), read("Files", "kbpath"), {"DEF"}},
    kbpathLine("read, no key", "currKb=Kb2", "DEF"),
    {"read, names in another case", ini("[files]\r\nKBPATH=x\r\n"), read("FILES", "kbPath"), {"x"}},
    kbpathLine("read, blanks around \"=\"", "  kbpath  =  c:\\a b\\  ", "c:\\a b\\"),
    {"read, tabs around \"=\"", ini("[Files]\r\n\tcurrKb\t=\tKb2\t\r\n"), read("Files", "currKb"), {"Kb2"}},
    {"read, blanks around the section name", ini("  [ Files ]  \r\nkbpath=x\r\n"), read("Files", "kbpath"), {"x"}},
    {"read, names asked with blanks", ini("[Files]\r\nkbpath=x\r\n"), read(" Files ", " kbpath "), {"x"}},
    {"read, text after the section header", ini("[Files] ; settings\r\nkbpath=x\r\n"), read("Files", "kbpath"), {"x"}},
    {"read, a header without \"]\"", ini("[Files\r\nkbpath=x\r\n"), read("Files", "kbpath"), {"DEF"}},
    kbpathLine("read, a commented-out key", ";kbpath=x", "DEF"),
    {"read, a commented-out section", ini("; [Files]\r\nkbpath=x\r\n[Files]\r\nkbpath=y\r\n"),
     read("Files", "kbpath"), {"y"}},
    {"read, a comment asked for by name", ini("[Files]\r\n;kbpath=x\r\n"), read("Files", ";kbpath"), {"DEF"},
     Outcome{"x"},
     "Windows takes a line beginning with \";\" for a key of that name when asked for it by that "
     "name. The POSIX half keeps to the convention of the format that such a line is a comment, "
     "whatever is asked; the workbench asks only for its own keys, none of which begins with \";\"."},
    {"read, \"#\" begins no comment", ini("[Files]\r\n#kbpath=x\r\n"), read("Files", "#kbpath"), {"x"}},
    kbpathLine("read, text after the value stays", "kbpath=x ; note", "x ; note"),
    kbpathLine("read, a value in double quotes", "kbpath=\"a b \"", "a b "),
    kbpathLine("read, a value in single quotes", "kbpath='a b '", "a b "),
    kbpathLine("read, quotes after blanks", "kbpath= \"a\" ", "a"),
    kbpathLine("read, quotes that do not pair", "kbpath=\"a'", "\"a'"),
    kbpathLine("read, one quote", "kbpath=\"", "\""),
    kbpathLine("read, two quotes", "kbpath=\"\"", ""),
    kbpathLine("read, quotes inside", "kbpath=a \"b\" c", "a \"b\" c"),
    kbpathLine("read, an empty value", "kbpath=", ""),
    kbpathLine("read, a value of blanks", "kbpath=   ", ""),
    kbpathLine("read, a line without \"=\"", "kbpath", "DEF"),
    kbpathLine("read, \"=\" in the value", "kbpath=a=b", "a=b"),
    {"read, a NUL byte ends the value", ini(std::string("[Files]\r\nkbpath=a\0b\r\n", 19)), read("Files", "kbpath"),
     {"a"}},
    {"read, a very long value", ini("[Files]\r\nkbpath=" + LongValue + "x\r\ncurrKb=Kb2\r\n"),
     read("Files", "kbpath"), {LongValue + "x"}},
    {"read, a key after a very long value", ini("[Files]\r\nkbpath=" + LongValue + "x\r\ncurrKb=Kb2\r\n"),
     read("Files", "currKb"), {"Kb2"}},
    {"read, a key only in the second section of that name",
     ini("[Files]\r\na=1\r\n[Other]\r\nz=9\r\n[Files]\r\nkbpath=2\r\n"), read("Files", "kbpath"), {"DEF"}},
    kbpathLine("read, a key in both sections of that name", "kbpath=1\r\n[files]\r\nkbpath=2", "1"),
    kbpathLine("read, a key twice", "kbpath=1\r\nKBPATH=2", "1"),
    {"read, LF line ends", ini("[Files]\nkbpath=x\ncurrKb=y\n"), read("Files", "currKb"), {"y"}},
    {"read, CR line ends", ini("[Files]\rkbpath=x\rcurrKb=y\r"), read("Files", "currKb"), {"y"}},
    {"read, no line end at the end", ini("[Files]\r\nkbpath=x"), read("Files", "kbpath"), {"x"}},
    {"read, a byte-order mark", ini("\xEF\xBB\xBF[Files]\r\nkbpath=x\r\n"), read("Files", "kbpath"), {"x"}},
    // A file with the UTF-8 byte-order mark holds UTF-8. "\xAB" and "\xBB" are the same
    // characters in code page 1251 and in the code page Wine takes from a Latin locale.
    {"read, UTF-8 after its byte-order mark", ini("\xEF\xBB\xBF[Files]\r\nkbpath=\xC2\xAB" "a\xC2\xBB\r\n"),
     read("Files", "kbpath"), {"\xAB" "a\xBB"}},
    {"read, UTF-16", ini(Utf16Mark + units("[Files]\r\nkbpath=\xAB" "a\xBB\r\n")), read("Files", "kbpath"),
     {"\xAB" "a\xBB"}},
    {"read, Ctrl-Z at the end", ini("[Files]\r\nkbpath=x\x1A"), read("Files", "kbpath"), {"x"}},
    kbpathLine("read, a Cyrillic value", "kbpath=c:\\\xCF\xF0\xEE\xE5\xEA\xF2\\", "c:\\\xCF\xF0\xEE\xE5\xEA\xF2\\"),
    // Windows' profile functions would drop the trailing blanks and quotes of a default too;
    // both halves hand back the caller's own default as it was given.
    {"read, the default as given", ini("[Files]\r\n"), read("Files", "kbpath", " \"def\" "), {" \"def\" "}},
    {"read, the file name in another case", ini("[Files]\r\nkbpath=x\r\n"), read("Files", "kbpath", "DEF", "ORDO.INI"),
     {"x"}},

    // ---- writing a profile file ----
    {"write, no file", {}, write("Files", "currKb", "Kb1"), {"written", ini("[Files]\r\ncurrKb=Kb1\r\n")}},
    {"write, no folder", {}, write("Files", "currKb", "Kb1", "none/Ordo.ini"), {"refused"}},
    {"write, the file name in another case", ini("[Files]\r\ncurrKb=Kb1\r\n"), write("Files", "currKb", "Kb2", "ORDO.INI"),
     {"written", ini("[Files]\r\ncurrKb=Kb2\r\n")}},
    {"write, no section, no line end at the end", ini("[Other]\r\na=1"), write("Files", "currKb", "Kb1"),
     {"written", ini("[Other]\r\na=1\r\n[Files]\r\ncurrKb=Kb1\r\n")}},
    {"write, a key in another case, comments and other sections stay",
     ini("; c\r\n[Files]\r\n; note\r\nKBPATH=c:\\old\\\r\n# hash\r\njunk\r\n[Other]\r\nkbpath=keep\r\n"),
     write("files", "kbpath", "/p/"),
     {"written", ini("; c\r\n[Files]\r\n; note\r\nKBPATH=/p/\r\n# hash\r\njunk\r\n[Other]\r\nkbpath=keep\r\n")}},
    {"write, blanks around \"=\"", ini("[Files]\r\nkbpath = c:\\old\\\r\ncurrKb=Kb1\r\n"), write("Files", "kbpath", "/p/"),
     {"written", ini("[Files]\r\nkbpath = /p/\r\ncurrKb=Kb1\r\n")},
     Outcome{"written", ini("[Files]\r\nkbpath=/p/\r\ncurrKb=Kb1\r\n")}, Rewritten},
    {"write, the same value again", ini("[Files]\nkbpath = /p/\n"), write("Files", "kbpath", "/p/"), {"written"}},
    {"write, a key added before a blank line", ini("[Files]\r\nkbpath=/p/\r\n\r\n[Other]\r\nx=1\r\n"),
     write("Files", "currentTask", "t7.tsk"),
     {"written", ini("[Files]\r\nkbpath=/p/\r\ncurrentTask=t7.tsk\r\n\r\n[Other]\r\nx=1\r\n")},
     Outcome{"written", ini("[Files]\r\nkbpath=/p/\r\ncurrentTask=t7.tsk\r\n[Other]\r\nx=1\r\n")}, Rewritten},
    {"write, LF line ends", ini("[Files]\nkbpath=/p/\ncurrKb=Kb1\n"), write("Files", "currKb", "Kb2"),
     {"written", ini("[Files]\nkbpath=/p/\ncurrKb=Kb2\n")},
     Outcome{"written", ini("[Files]\r\nkbpath=/p/\r\ncurrKb=Kb2\r\n")}, Rewritten},
    {"write, a key added to an LF file", ini("[Files]\nkbpath=/p/\n"), write("Files", "currKb", "Kb2"),
     {"written", ini("[Files]\nkbpath=/p/\ncurrKb=Kb2\r\n")},
     Outcome{"written", ini("[Files]\r\nkbpath=/p/\r\ncurrKb=Kb2\r\n")}, Rewritten},
    {"write, the first of two sections of that name", ini("[Files]\r\na=1\r\n[Files]\r\nkbpath=2\r\n"),
     write("Files", "kbpath", "3"), {"written", ini("[Files]\r\na=1\r\nkbpath=3\r\n[Files]\r\nkbpath=2\r\n")}},
    {"write, a value in quotes", ini("[Files]\r\nkbpath=/p/\r\n"), write("Files", "kbpath", "\"a b\""),
     {"written", ini("[Files]\r\nkbpath=\"a b\"\r\n")}},
    {"write, an empty value", ini("[Files]\r\nkbpath=/p/\r\n"), write("Files", "kbpath", ""),
     {"written", ini("[Files]\r\nkbpath=\r\n")}},
    {"write, blanks around the value", ini("[Files]\r\nkbpath=/p/\r\n"), write("Files", "kbpath", "  /q/  "),
     {"written", ini("[Files]\r\nkbpath=/q/  \r\n")}},
    {"write, UTF-8 after a byte-order mark", ini("\xEF\xBB\xBF[Files]\r\nkbpath=1\r\n"),
     write("Files", "currKb", "\xAB" "b\xBB"),
     {"written", ini("\xEF\xBB\xBF[Files]\r\nkbpath=1\r\ncurrKb=\xC2\xAB" "b\xC2\xBB\r\n")}},
    {"write, UTF-16", ini(Utf16Mark + units("[Files]\r\nnote=") + Smiley + units("\r\n")),
     write("Files", "currKb", "\xAB" "b\xBB"),
     {"written", ini(Utf16Mark + units("[Files]\r\nnote=") + Smiley + units("\r\ncurrKb=\xAB" "b\xBB\r\n"))}},
    {"write, a Cyrillic value", ini("[Files]\r\n"), write("Files", "kbpath", "c:\\\xCF\xF0\xEE\xE5\xEA\xF2\\"),
     {"written", ini("[Files]\r\nkbpath=c:\\\xCF\xF0\xEE\xE5\xEA\xF2\\\r\n")}},
    {"write, the longest value", ini("[Files]\r\n"), write("Files", "kbpath", LongValue),
     {"written", ini("[Files]\r\nkbpath=" + LongValue + "\r\n")}},
    // Windows' own profile functions report success for these and write a damaged file: a
    // longer value comes out as garbage, a line break writes a key of its own.
    {"write, a value too long", ini("[Files]\r\n"), write("Files", "kbpath", LongValue + "x"), {"refused"}},
    {"write, a line break in the value", ini("[Files]\r\nkbpath=/p/\r\n"),
     write("Files", "kbpath", "/x/\r\ncurrKb=evil"), {"refused"}},
    {"write, \"=\" in the key", ini("[Files]\r\n"), write("Files", "a=b", "v"), {"refused"}},
    {"write, a key like a comment", ini("[Files]\r\n"), write("Files", ";k", "v"), {"refused"}},
    {"write, blanks around the key", ini("[Files]\r\n"), write("Files", " k ", "v"), {"refused"}},

    // ---- files ----
    {"a file found in another case", {{"Prestrac.ari", "t"}}, exists("PRESTRAC.ARI"), {"yes"}},
    {"a name that only begins like a file", {{"Prestrac.ari", "t"}}, exists("prestrac.ar"), {"no"}},
    {"a folder is no file", {{"Sub/", ""}}, exists("SUB"), {"no"}},
    {"\".BAK\" rename onto an existing one", {{"old.tsk", "new"}, {"old.BAK", "older"}}, rename("old.tsk", "old.BAK"),
     {"refused"}},
    {"\".BAK\" rename onto one in another case", {{"old.tsk", "new"}, {"OLD.bak", "older"}},
     rename("old.tsk", "old.BAK"), {"refused"}},
    {"\".BAK\" rename to a free name", {{"Old.tsk", "new"}}, rename("old.tsk", "old.BAK"),
     {"renamed", Folder{{"old.BAK", "new"}}}},
    {"rename of a missing file", {{"a.BAK", "x"}}, rename("a.tsk", "a.BAK"), {"refused"}},
    {"rename that changes only the case", {{"old.tsk", "x"}}, rename("old.tsk", "OLD.TSK"),
     {"renamed", Folder{{"OLD.TSK", "x"}}}, Outcome{"renamed"},
     "Wine reports the rename done but keeps the old spelling; Windows itself takes the new one, "
     "as the POSIX half does. The workbench renames only to \".BAK\" names."},
    {"\"*.tmp\" clean-up",
     {{"a.tmp", "1"}, {"B.TMP", "2"}, {"f.TmP", "3"}, {".tmp", "4"}, {"long name here.tmp", "5"}, {"k.tmp.tmp", "6"},
      {"c.tmpx", "7"}, {"g.tmp~", "8"}, {"d.tm", "9"}, {"e.tmp.bak", "10"}, {"dir.tmp/", ""}},
     cleanTemporaryFiles,
     {".tmp B.TMP a.tmp (dir.tmp) f.TmP k.tmp.tmp long name here.tmp",
      Folder{{"c.tmpx", "7"}, {"g.tmp~", "8"}, {"d.tm", "9"}, {"e.tmp.bak", "10"}, {"dir.tmp/", ""}}}},
};

class PlatformCases : public ::testing::TestWithParam<Case> {};

TEST_P(PlatformCases, AnswerAndFilesAfter) {
    const Case& c = GetParam();
    TempFolder dir;
    layOut(dir.path(), c.before);
    const bool differs = OnWindows && c.windows;
    SCOPED_TRACE(differs ? c.why : "expected the same on both halves");
    const Outcome& expected = differs ? *c.windows : c.expected;
    EXPECT_EQ(c.call(dir.path()), expected.answer);
    EXPECT_EQ(contentsOf(dir.path()), expected.folder.value_or(c.before));
}

INSTANTIATE_TEST_SUITE_P(BothHalves, PlatformCases, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name = std::to_string(info.index) + '_';
                             for (const char* p = info.param.what; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

}  // namespace
}  // namespace tarnix::platform
