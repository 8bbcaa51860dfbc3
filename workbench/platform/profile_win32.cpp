// Profile (INI) files on Windows: the system's own profile functions.
#include "platform.h"
#include "platform_internal.h"
#include "win32_internal.h"

namespace tarnix::platform {
namespace {

// The profile functions take a name without a folder as one in the Windows folder, and a
// relative one against the current folder: they are always given the full name.
std::string fullName(const std::string& file) {
    std::string full(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetFullPathNameA(file.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return file;
        if (n < full.size()) {
            full.resize(n);
            return full;
        }
        full.resize(n);  // n is the size needed, its terminating zero included
    }
}

// The default the system is given, so that a missing key shows as such: the system would drop
// trailing blanks of the caller's default. No value of a text line holds these bytes.
constexpr char MissingValue[] = "\x01\x02\x03";

}  // namespace

std::string profileRead(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& defaultValue) {
    const std::string name = fullName(file);
    std::string value(1024, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(value.size());
        const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), MissingValue, value.data(), size,
                                                   name.c_str());
        // A value that fills the buffer may have been cut: it is read again into a larger one.
        if (n + 1 < size || size >= (1u << 30)) {
            value.resize(n);
            break;
        }
        value.resize(value.size() * 4);
    }
    return value == MissingValue ? defaultValue : value;
}

bool profileWrite(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value) {
    if (!detail::profileEntryWritable(section, key, value)) return detail::failWith(ERROR_INVALID_PARAMETER);
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), fullName(file).c_str()) != 0;
}

}  // namespace tarnix::platform
