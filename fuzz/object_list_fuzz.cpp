// The object list: any file reads as groups of three lines (a last group cut short with empty
// lines), and each group's number goes into the object numbers as a whole number, or is refused
// with the conversion error without changing them.
#include "context.h"
#include "errors.h"
#include "fuzz_support.h"
#include "numbers.h"
#include "objects.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnix;
    using namespace tarnix::fuzz;
    static ScratchFolder scratch;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    context.WorkDir = scratch.fresh();
    context.ObjectListFile = "cgo.ari";
    writeFile(context.WorkDir + "cgo.ari", bytes);
    const auto what = [&] { return "object list: " + shown(bytes.substr(0, 400)); };

    const auto groups = ReadObjectList();
    const Lines lines = splitLines(bytes);
    FUZZ_CHECK(groups.size() == (lines.size() + 2) / 3, what());
    const auto line = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    context.ObjectCursor = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        FUZZ_CHECK(groups[g].number == line(3 * g) && groups[g].text1 == line(3 * g + 1) &&
                       groups[g].text2 == line(3 * g + 2),
                   "group " + std::to_string(g) + "\n" + what());
        const std::int32_t before = context.ObjectCursor;
        const auto number = TryStrToInt(groups[g].number);
        try {
            PushObjectNumber(groups[g]);
            FUZZ_CHECK(number && context.ObjectCursor == before + 1 && context.ObjectNumbers[context.ObjectCursor] == *number,
                       "group " + std::to_string(g) + "\n" + what());
        } catch (const ConvertError&) {
            FUZZ_CHECK(!number && context.ObjectCursor == before, "group " + std::to_string(g) + "\n" + what());
        } catch (const RangeError&) {
            FUZZ_CHECK(before >= 10000, what());
            break;
        }
    }
    return 0;
}
