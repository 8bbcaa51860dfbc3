#include "script.h"

#include "engine.h"
#include "os.h"
#include "platform.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace tarnix::standin {
namespace {

using Block = ScriptBlock;

// Content escapes: \n \r \t \\ \xHH; any other backslash stays as it is.
std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char e = text[i + 1];
        auto hex = [](char c) {
            return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        };
        if (e == 'n') out += '\n', ++i;
        else if (e == 'r') out += '\r', ++i;
        else if (e == 't') out += '\t', ++i;
        else if (e == '\\') out += '\\', ++i;
        else if (e == 'x' && i + 3 < text.size() && hex(text[i + 2]) >= 0 && hex(text[i + 3]) >= 0) {
            out += static_cast<char>(hex(text[i + 2]) * 16 + hex(text[i + 3]));
            i += 3;
        } else {
            out += '\\';
        }
    }
    return out;
}

// "name content": the first blank-free word, then everything after the one blank behind it.
std::pair<std::string, std::string> nameAndContent(const std::string& rest) {
    const auto blank = rest.find(' ');
    if (blank == std::string::npos) return {rest, {}};
    return {rest.substr(0, blank), unescape(std::string_view(rest).substr(blank + 1))};
}

}  // namespace

std::vector<ScriptBlock> parseScript(const std::vector<std::string>& lines) {
    std::vector<Block> blocks;
    for (const std::string& raw : lines) {
        std::size_t start = raw.find_first_not_of(" \t");
        if (start == std::string::npos || raw[start] == '#') continue;
        const std::string line = raw.substr(start);
        const auto blank = line.find(' ');
        const std::string keyword = line.substr(0, blank);
        const std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        if (keyword == "goal") {
            blocks.emplace_back().goal = rest;
            continue;
        }
        if (blocks.empty()) continue;  // directives before the first block belong to none
        Block& b = blocks.back();
        if (keyword == "program") b.program = rest;
        else if (keyword == "code") b.answer.code = rest;
        else if (keyword == "message") b.answer.message = rest;
        else if (keyword == "value") b.answer.value = rest;
        else if (keyword == "result-lines") b.resultLines = std::clamp<int>(static_cast<int>(toInteger(rest).value_or(4)), 0, 4);
        else if (keyword == "no-result") b.noResult = true;
        else if (keyword == "file") b.files.push_back(nameAndContent(rest));
        else if (keyword == "home-file") b.homeFiles.push_back(nameAndContent(rest));
        else if (keyword == "record") b.records.push_back(trim(rest));
        else if (keyword == "child") b.children.push_back(trim(rest));
        else if (keyword == "hang") b.hangSeconds = std::atof(rest.c_str());
        else if (keyword == "crash") b.crash = true;
        else if (keyword == "no-build") b.noBuild = true;
    }
    return blocks;
}

namespace {

bool matches(const Block& b, const Session& session) {
    if (b.goal != "*" && b.goal != session.goal) return false;
    return !b.program || platform::equalsNoCase(*b.program, session.program);
}

void play(const Block& b, const Session& session) {
    // Each child's process number goes into WorkDir/<name>.
    for (const std::string& name : b.children) {
        if (const long child = startSleepingChild()) writeBytes(session.work(name), std::to_string(child) + "\n");
    }
    if (b.hangSeconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(b.hangSeconds));
    // The build program builds whatever it answers, unless the script says it must not.
    if (!b.noBuild && session.goal == " " && platform::equalsNoCase(session.program, "sh.exe"))
        buildProgram(session);
    for (const std::string& name : b.records) {
        const char* probe = std::getenv("TARNIX_STANDIN_PROBE");
        writeLines(session.work(name), {"program=" + session.program, "argc=" + std::to_string(session.argc),
                                        "cwd=" + session.homeDir.substr(0, session.homeDir.size() - 1),
                                        "probe=" + platform::utf8ToCp1251(probe ? probe : "")});
    }
    for (const auto& [name, content] : b.files) writeBytes(session.work(name), content);
    for (const auto& [name, content] : b.homeFiles) writeBytes(session.home(name), content);
    if (b.crash) crash();
    if (!b.noResult) writeResult(session, b.answer, b.resultLines);
}

}  // namespace

bool writeResult(const Session& session, const Answer& answer, int lines) {
    const std::vector<std::string> all = {answer.code, answer.message, answer.value, ""};
    return writeLines(session.work("ovc17.ari"), std::vector<std::string>(all.begin(), all.begin() + lines));
}

bool answerFromScript(const Session& session, const std::string& scriptPath) {
    const auto lines = readLines(scriptPath);
    if (!lines) return false;
    for (const Block& b : parseScript(*lines)) {
        if (matches(b, session)) {
            play(b, session);
            return true;
        }
    }
    return false;
}

}  // namespace tarnix::standin
