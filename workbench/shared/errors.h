// The error types of the workbench. A command that hits an error it does not handle itself
// throws one of these; the one dispatcher shows its text in the generic error box.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace tarnix {

// Base of all workbench errors; what() is the text shown to the user (code page 1251).
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed read or write of a file opened the Pascal way: "File not found",
// "File access denied", "Invalid filename", "Disk full".
class InOutError : public Error {
public:
    using Error::Error;
};

// A file that a text area or a document could not be loaded from or saved to.
class FileOpenError : public Error {
public:
    FileOpenError(const std::string& path, const std::string& reason);
};
class FileCreateError : public Error {
public:
    FileCreateError(const std::string& path, const std::string& reason);
};

// A text that should have been a whole number.
class ConvertError : public Error {
public:
    explicit ConvertError(const std::string& text);
};

// An index outside a fixed-size table.
class RangeError : public Error {
public:
    RangeError();
};

// A whole number that would pass the largest 32-bit value: "Integer overflow".
class OverflowError : public Error {
public:
    OverflowError();
};
// A failure with a fixed text ("Unable to create backup file.", "Unable to write to %s").
class Failure : public Error {
public:
    using Error::Error;
};

// Throws the InOutError for the last system error of a read (false) or a write (true).
[[noreturn]] void throwIoError(bool writing);

// The text of the generic error box for an error text: a full stop added when it has none.
std::string errorBoxText(const std::string& what);

// Runs one command: any error it throws is shown in the generic error box and goes no
// further. Steps done before the error stay done. True when the command ran to its end.
bool dispatch(const std::function<void()>& command);

}  // namespace tarnix
