// The parts of the platform layer that are the same on every system.
#include "platform.h"
#include "platform_internal.h"

namespace tarnix::platform {

std::string describe(const ProcessEnd& end) {
    switch (end.kind) {
        case ProcessEnd::Kind::Exited: return "ended with exit status " + std::to_string(end.number);
        case ProcessEnd::Kind::Signalled: return detail::killedBy(end.number);
        case ProcessEnd::Kind::NotRun: break;
    }
    return "did not run";
}

}  // namespace tarnix::platform

namespace tarnix::platform::detail {
namespace {

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool trimmed(std::string_view s) {
    return s.empty() || (!isProfileBlank(s.front()) && !isProfileBlank(s.back()));
}

}  // namespace

// A line break would split the entry and let a value write keys of its own; a key that begins
// like a comment or a section header would be a line no reader finds. Windows' profile
// functions report a longer text written and write garbage.
bool profileEntryWritable(std::string_view section, std::string_view key, std::string_view value) {
    return !section.empty() && !key.empty() && !hasLineBreak(section) && !hasLineBreak(key) && !hasLineBreak(value) &&
           key.find('=') == std::string_view::npos && section.find(']') == std::string_view::npos &&
           trimmed(key) && trimmed(section) && key.front() != ';' && key.front() != '[' &&
           section.size() <= ProfileTextMax && key.size() <= ProfileTextMax && value.size() <= ProfileTextMax;
}

}  // namespace tarnix::platform::detail
