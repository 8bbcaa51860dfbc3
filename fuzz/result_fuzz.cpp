// The gateway's reading of a result file: whatever the engine program left, the answer is
// the file's first four lines as the line reader splits them (missing ones empty); a line
// may only be cut where it is longer than any real answer.
#include "fuzz_support.h"
#include "gateway.h"
#include "text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnix;
    using namespace tarnix::fuzz;
    static ScratchFolder scratch;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string file = scratch.fresh() + ResultFileName;
    writeFile(file, bytes);

    const Lines answer = ReadResultLines(file);
    Lines expected = splitLines(bytes, 4);
    expected.resize(4);
    FUZZ_CHECK(answer.size() == 4, "result file: " + shown(bytes));
    constexpr std::size_t longestAnswer = 1 << 16;
    for (std::size_t i = 0; i < 4; ++i) {
        const bool same = answer[i] == expected[i] ||
                          (expected[i].size() > longestAnswer && expected[i].rfind(answer[i], 0) == 0);
        FUZZ_CHECK(same, "line " + std::to_string(i + 1) + " reads [" + shown(answer[i]) + "]\nresult file: " +
                             shown(bytes));
    }
    return 0;
}
