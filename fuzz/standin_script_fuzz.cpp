// The stand-in's script files: any bytes parse without harm; a script written from blocks
// parses back to the same blocks (file contents through their escapes); and an answer the
// stand-in writes reads back through the gateway's reader exactly.
// Input: any bytes, read once as a script and once as the description of blocks to write.
#include "fuzz_support.h"
#include "gateway.h"
#include "script.h"
#include "text_file.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

namespace {

using namespace tarnix;
using namespace tarnix::fuzz;
using standin::ScriptBlock;

// A text for one directive line: anything but a line feed.
std::string lineText(FuzzedDataProvider& in, std::size_t max)
{
    std::string s = in.ConsumeRandomLengthString(max);
    std::erase(s, '\n');
    return s;
}

// A word without blanks, for file and record names.
std::string word(FuzzedDataProvider& in)
{
    std::string s = lineText(in, 12);
    std::erase_if(s, [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
    return s.empty() ? "f" : s;
}

std::string escaped(std::string_view content)
{
    std::string out;
    for (const char c : content) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::vector<ScriptBlock> blocksFrom(FuzzedDataProvider& in, std::vector<std::string>& script)
{
    std::vector<ScriptBlock> blocks;
    const int count = in.ConsumeIntegralInRange(0, 4);
    for (int n = 0; n < count; ++n) {
        ScriptBlock& b = blocks.emplace_back();
        b.goal = lineText(in, 40);
        script.push_back("goal " + b.goal);
        if (in.ConsumeBool()) script.push_back("program " + *(b.program = lineText(in, 12)));
        script.push_back("code " + (b.answer.code = lineText(in, 8)));
        script.push_back("message " + (b.answer.message = lineText(in, 40)));
        script.push_back("value " + (b.answer.value = lineText(in, 40)));
        b.resultLines = in.ConsumeIntegralInRange(0, 4);
        script.push_back("result-lines " + std::to_string(b.resultLines));
        for (int k = in.ConsumeIntegralInRange(0, 2); k > 0; --k) {
            const bool home = in.ConsumeBool();
            std::pair<std::string, std::string> file{word(in), in.ConsumeRandomLengthString(60)};
            script.push_back(std::string(home ? "home-file " : "file ") + file.first + ' ' + escaped(file.second));
            (home ? b.homeFiles : b.files).push_back(file);
        }
        if (in.ConsumeBool()) script.push_back("record " + b.records.emplace_back(word(in)));
        if (in.ConsumeBool()) {
            b.hangSeconds = in.ConsumeIntegralInRange(1, 999) / 100.0;
            script.push_back("hang " + std::to_string(b.hangSeconds));
        }
        if ((b.noResult = in.ConsumeBool())) script.push_back("no-result");
        if ((b.crash = in.ConsumeBool())) script.push_back("  crash");
        if ((b.noBuild = in.ConsumeBool())) script.push_back("no-build");
        if (in.ConsumeBool()) script.push_back("# a comment: code 7");
    }
    return blocks;
}

bool same(const ScriptBlock& a, const ScriptBlock& b)
{
    return a.goal == b.goal && a.program == b.program && a.answer.code == b.answer.code &&
           a.answer.message == b.answer.message && a.answer.value == b.answer.value &&
           a.resultLines == b.resultLines && a.noResult == b.noResult && a.files == b.files &&
           a.homeFiles == b.homeFiles && a.records == b.records && std::fabs(a.hangSeconds - b.hangSeconds) < 1e-6 &&
           a.crash == b.crash && a.noBuild == b.noBuild;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchFolder scratch;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Any script.
    for (const ScriptBlock& b : standin::parseScript(splitLines(bytes)))
        FUZZ_CHECK(b.resultLines >= 0 && b.resultLines <= 4, "script: " + shown(bytes));

    // Blocks -> script -> blocks.
    FuzzedDataProvider in(data, size);
    std::vector<std::string> script;
    const auto blocks = blocksFrom(in, script);
    const std::string text = joinLines(script);
    const auto parsed = standin::parseScript(splitLines(text));
    FUZZ_CHECK(parsed.size() == blocks.size(), "script: " + shown(text));
    for (std::size_t i = 0; i < blocks.size(); ++i)
        FUZZ_CHECK(same(parsed[i], blocks[i]), "block " + std::to_string(i + 1) + " of script: " + shown(text));

    // The stand-in's result file -> the gateway's reader.
    if (blocks.empty()) return 0;
    standin::Session session;
    session.homeDir = session.workDir = scratch.fresh();
    const ScriptBlock& b = blocks.front();
    FUZZ_CHECK(standin::writeResult(session, b.answer, b.resultLines), "the result file was not written");
    const Lines answer = ReadResultLines(session.work(ResultFileName));
    const Lines wrote = {b.answer.code, b.answer.message, b.answer.value, ""};
    for (int i = 0; i < 4; ++i)
        FUZZ_CHECK(answer[i] == (i < b.resultLines ? wrote[i] : ""),
                   "line " + std::to_string(i + 1) + " reads [" + shown(answer[i]) + "]\nscript: " + shown(text));
    return 0;
}
