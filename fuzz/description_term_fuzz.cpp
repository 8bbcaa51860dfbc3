// Description objects: from any object number and description text the term names that number
// and quotes the description so that it stays one item: undoing the doubled apostrophes gives
// the description back, and no apostrophe inside stands alone. The description is the lines up
// to the first empty one, each in brackets.
// Input: object number NUL description text.
#include "fuzz_support.h"
#include "objects.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnix;
    using namespace tarnix::fuzz;
    const auto f = fields(data, size, 2);
    const std::string &number = f[0], &text = f[1];
    const auto what = [&] { return "number: " + shown(number) + "\ntext: " + shown(text.substr(0, 400)); };

    const Lines lines = splitLines(text);
    const std::string description = DescriptionText(lines);
    std::string expected;
    for (const std::string& line : lines) {
        if (line.empty())
            break;
        expected += "[" + line + "]";
    }
    FUZZ_CHECK(description == expected, what());

    const std::string term = DescriptionTerm(number, description);
    const std::string head = "[comm,for,object(" + number + "),val,'";
    FUZZ_CHECK(term.rfind(head, 0) == 0 && term.size() >= head.size() + 3 && term.ends_with("']."), what());
    const std::string quoted = term.substr(head.size(), term.size() - head.size() - 3);
    std::string undone;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        undone += quoted[i];
        if (quoted[i] == '\'') {
            FUZZ_CHECK(i + 1 < quoted.size() && quoted[i + 1] == '\'', "a lone apostrophe\n" + what());
            ++i;
        }
    }
    FUZZ_CHECK(undone == description, what());
    return 0;
}
