// The one process-wide record that every window reads and writes directly.
#pragma once

#include <cstdint>
#include <string>

#include "bounded.h"

namespace tarnix {

// One rule: the rule number as decimal text and five texts of the rule editor.
struct rcont {
    std::string Number;
    std::string Comment;
    std::string Type;
    std::string P2;
    std::string P3;
    std::string P4;
};

// A rule set: entries 1..count are in use.
struct rules {
    std::int32_t count = 0;
    BoundedArray<rcont, 1, 1000> entries;
    std::int64_t linesNotRead = 0;  // lines of its file past the rules read: a write would lose them
};

// A model text: lines 1..count are in use.
struct Mtext {
    std::int32_t count = 0;
    BoundedArray<std::string, 1, 1000> lines;
    std::int64_t linesNotRead = 0;  // lines of its file past the lines read
};

struct Context {
    std::string WorkDir;         // project folder, with trailing separator
    std::string HomeDir;         // folder of the workbench program, with trailing separator
    std::string ObjectListFile;  // output of the object-list goal
    std::string ObjectShowFile;  // output of the show and find goals
    BoundedArray<rules, 1, 3> RuleSets;
    BoundedArray<Mtext, 0, 5> Models;
    std::int32_t RuleCursor = 0;
    std::int32_t RuleSetNo = 0;
    std::int32_t SelectedObject = 0;
    ShortString<254> CurrentKb;
    BoundedArray<std::int32_t, 1, 10000> ObjectNumbers;
    std::int32_t ObjectCursor = 0;
    std::int32_t ObjectCount = 0;
    std::string TextFilePath;
    std::string TaskFilePath;
    std::string CurrentTask;
    std::string KbFilePath;
    rcont CheckedRule;
    std::string KbSourceName;
    std::string CompiledRules;
    std::string ListingFile;
    std::string TaskFileName;
    std::string TreeFile = "esexp.ari";
    std::string CheckRuleFile;
};

// The record itself, alive from start to exit.
extern Context context;

// Appends n to ObjectNumbers; the 10001st number is refused with the range error.
void PushNumber(std::int32_t n);

}  // namespace tarnix
