// What every part of the stand-in engine program shares: the session it runs in, the answer
// it leaves in the result file, and small helpers for code page 1251 text files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnix::standin {

// Where and as what the program runs. All texts are code page 1251.
struct Session {
    std::string program;  // the file name it was started as ("vrex.exe", "sh.exe", ...)
    int argc = 0;
    std::string homeDir;  // its current folder, with a trailing '/'
    std::string workDir;  // from "kbpath" in Ordo.ini, with a trailing '/'
    std::string goal;     // the goal file's content, as read

    std::string work(const std::string& name) const { return workDir + name; }
    std::string home(const std::string& name) const { return homeDir + name; }
    // A value of "Files" in the settings file of the current folder.
    std::string setting(const std::string& key, const std::string& defaultValue) const;
};

// The four-line result file.
struct Answer {
    std::string code = "0";
    std::string message;
    std::string value;

    static Answer failure(std::string message, std::string code = "1") {
        return Answer{std::move(code), std::move(message), {}};
    }
};

// A UTF-8 literal of the source in code page 1251, as all data files are.
std::string cp(std::string_view utf8);

// Text files: lines end at LF, a CR before it is dropped; written lines end in CR LF.
std::optional<std::vector<std::string>> readLines(const std::string& path);
std::optional<std::string> readBytes(const std::string& path);
bool writeLines(const std::string& path, const std::vector<std::string>& lines);
bool writeBytes(const std::string& path, const std::string& bytes);
// Appends `line` and a plain LF (the log is for tests and people, not for the workbench).
bool appendLogLine(const std::string& path, const std::string& line);

std::string trim(std::string_view text);
std::optional<long> toInteger(std::string_view text);
// Drops one pair of enclosing single quotes.
std::string unquote(std::string_view text);
// The top-level arguments of a term "name(a,b,[c,d])" (brackets, parentheses and quotes
// nest); nothing when `text` is not such a term. A trailing full stop is allowed.
std::optional<std::vector<std::string>> termArguments(std::string_view text, std::string_view name);
// Splits at the separators that lie outside brackets, parentheses and quotes.
std::vector<std::string> splitTopLevel(std::string_view text, char separator = ',');
// The elements of a list "[a,b,c]".
std::vector<std::string> listElements(std::string_view text);

}  // namespace tarnix::standin
