// The demo's small knowledge bases: rules "rule(N, 'comment', [a = b, ...], [c = d, ...])."
// and tasks "fact(a = b)." / "goal(c).", with a plain forward-chaining run over them.
// Enough to give the workbench plausible listings, results and traces; no real engine.
#pragma once

#include <string>
#include <vector>

namespace tarnix::standin {

struct Pair {
    std::string attribute, value;
    std::string text() const { return attribute + " = " + value; }
};

struct Rule {
    long number = 0;
    std::string comment;
    std::vector<Pair> conditions, conclusions;
    int line = 0;  // where the rule starts in its file, from 1
};

struct KnowledgeBase {
    std::vector<Rule> rules;
    std::vector<std::string> errors;  // "строка N: ...", one per term that is not a rule
    const Rule* find(long number) const;
};

struct Task {
    std::vector<Pair> facts;
    std::string goal;  // the attribute asked for
};

KnowledgeBase parseRules(const std::vector<std::string>& lines);
Task parseTask(const std::vector<std::string>& lines);

struct Fact {
    Pair pair;
    long rule = 0;  // the rule that concluded it; 0 for a fact of the task
    int cycle = 0;
};

struct Firing {
    int cycle = 0;
    long rule = 0;
    std::vector<long> candidates;  // every rule that could fire in that cycle
    std::vector<Pair> added;
};

struct Inference {
    std::vector<Fact> facts;
    std::vector<Firing> firings;
    std::string stop;  // why the run ended
    const Fact* fact(const Pair& pair) const;
    const Fact* answer(const std::string& goal) const;
    const Firing* firingOf(long rule) const;
    // The facts after `cycles` cycles.
    std::vector<Fact> factsAfter(int cycles) const;
};

// Fires, cycle by cycle, the first rule whose conditions all hold and that adds something,
// at most `depth` cycles, until the task's goal has a value or the facts number `size`.
Inference infer(const KnowledgeBase& kb, const Task& task, int depth, int size);

}  // namespace tarnix::standin
