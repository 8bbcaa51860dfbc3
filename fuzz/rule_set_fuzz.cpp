// Rule-set files: any file reads as groups of seven lines (the marker unchecked, the fields of a
// group cut short empty), at most 999 rules; a set read whole is written back so that it reads
// as the same rules (the rules without a number left out), and a set read cut short is never
// written, so no line is lost.
#include "context.h"
#include "errors.h"
#include "fuzz_support.h"
#include "rule_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnix;
    using namespace tarnix::fuzz;
    static ScratchFolder scratch;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string folder = scratch.fresh();
    writeFile(folder + "unlr1.ari", bytes);
    const auto what = [&] { return "rule-set file: " + shown(bytes.substr(0, 400)); };

    ReadRuleSet(1, folder + "unlr1.ari");
    const rules& read = context.RuleSets[1];
    const Lines lines = splitLines(bytes);
    const std::size_t groups = (lines.size() + 6) / 7;
    FUZZ_CHECK(read.count == static_cast<std::int32_t>(std::min<std::size_t>(groups, MaxRulesRead)), what());
    const std::size_t kept = static_cast<std::size_t>(read.count) * 7;
    FUZZ_CHECK(read.linesNotRead == static_cast<std::int64_t>(lines.size() > kept ? lines.size() - kept : 0), what());
    for (std::int32_t r = 1; r <= read.count; ++r) {
        const rcont& rule = read.entries[r];
        std::size_t i = static_cast<std::size_t>(r - 1) * 7 + 1;
        for (const std::string* field : {&rule.Number, &rule.Comment, &rule.Type, &rule.P2, &rule.P3, &rule.P4}) {
            FUZZ_CHECK(*field == (i < lines.size() ? lines[i] : std::string()), "rule " + std::to_string(r) + "\n" + what());
            ++i;
        }
    }

    if (read.linesNotRead > 0) {
        bool refused = false;
        try {
            WriteRuleSet(1, folder + "unlr1.ari");
        } catch (const Failure&) {
            refused = true;
        }
        FUZZ_CHECK(refused && readFile(folder + "unlr1.ari") == bytes, what());
        return 0;
    }
    const rules before = read;
    WriteRuleSet(1, folder + "copy.ari");
    ReadRuleSet(2, folder + "copy.ari");
    const rules& again = context.RuleSets[2];
    std::int32_t next = 1;
    for (std::int32_t r = 1; r <= before.count; ++r) {
        const rcont& rule = before.entries[r];
        if (rule.Number.empty())
            continue;
        const rcont& back = again.entries[next++];
        FUZZ_CHECK(back.Number == rule.Number && back.Comment == rule.Comment && back.Type == rule.Type &&
                       back.P2 == rule.P2 && back.P3 == rule.P3 && back.P4 == rule.P4,
                   "rule " + std::to_string(r) + " reads back otherwise\n" + what());
    }
    FUZZ_CHECK(again.count == next - 1, what());
    return 0;
}
