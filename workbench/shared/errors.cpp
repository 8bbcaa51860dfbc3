#include "errors.h"

#include "ui.h"
#include "platform/platform.h"

namespace tarnix {

FileOpenError::FileOpenError(const std::string& path, const std::string& reason)
    : Error("Cannot open file \"" + path + "\". " + reason) {}

FileCreateError::FileCreateError(const std::string& path, const std::string& reason)
    : Error("Cannot create file \"" + path + "\". " + reason) {}

ConvertError::ConvertError(const std::string& text)
    : Error("'" + text + "' is not a valid integer value") {}

RangeError::RangeError() : Error("Range check error") {}
OverflowError::OverflowError() : Error("Integer overflow") {}

void throwIoError(bool writing) { throw InOutError(platform::lastIoErrorText(writing)); }

std::string errorBoxText(const std::string& what)
{
    if (!what.empty() && what.back() == '.')
        return what;
    return what + ".";
}

bool dispatch(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::bad_alloc&) {
        ui().showError(errorBoxText("Out of memory"));
    } catch (const std::exception& e) {
        ui().showError(errorBoxText(e.what()));
    }
    return false;
}

}  // namespace tarnix
