#include "kb.h"

#include "common.h"
#include "platform.h"

#include <optional>

namespace tarnix::standin {
namespace {

struct Term {
    std::string text;
    int line = 0;
};

// The terms of a file: text up to a full stop that ends a line or precedes blanks, outside
// quotes and brackets; '%' starts a comment that runs to the end of the line.
std::vector<Term> terms(const std::vector<std::string>& lines) {
    std::vector<Term> result;
    Term current;
    int depth = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        bool quoted = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (!quoted && c == '%') break;
            if (current.text.empty() && (c == ' ' || c == '\t')) continue;
            if (current.text.empty()) current.line = static_cast<int>(n) + 1;
            current.text += c;
            if (c == '\'') quoted = !quoted;
            if (quoted) continue;
            if (c == '(' || c == '[') ++depth;
            if (c == ')' || c == ']') --depth;
            if (c == '.' && depth <= 0 && (i + 1 == line.size() || line[i + 1] == ' ' || line[i + 1] == '\t' || line[i + 1] == '%')) {
                result.push_back(current);
                current = Term{};
                depth = 0;
            }
        }
        if (!current.text.empty()) current.text += ' ';
    }
    if (!trim(current.text).empty()) result.push_back(current);  // a term without its full stop
    return result;
}

std::optional<Pair> parsePair(const std::string& text) {
    const auto parts = splitTopLevel(text, '=');
    if (parts.size() != 2 || parts[0].empty() || parts[1].empty()) return std::nullopt;
    return Pair{parts[0], unquote(parts[1])};
}

std::optional<std::vector<Pair>> parsePairs(const std::string& list) {
    const std::string t = trim(list);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
    std::vector<Pair> pairs;
    for (const std::string& element : listElements(t)) {
        auto pair = parsePair(element);
        if (!pair) return std::nullopt;
        pairs.push_back(*pair);
    }
    return pairs;
}

bool same(const Pair& a, const Pair& b) {
    return platform::equalsNoCase(a.attribute, b.attribute) && platform::equalsNoCase(a.value, b.value);
}

}  // namespace

const Rule* KnowledgeBase::find(long number) const {
    for (const Rule& r : rules)
        if (r.number == number) return &r;
    return nullptr;
}

KnowledgeBase parseRules(const std::vector<std::string>& lines) {
    KnowledgeBase kb;
    for (const Term& term : terms(lines)) {
        const auto args = termArguments(term.text, "rule");
        std::optional<long> number;
        std::optional<std::vector<Pair>> conditions, conclusions;
        if (args && args->size() == 4) {
            number = toInteger((*args)[0]);
            conditions = parsePairs((*args)[2]);
            conclusions = parsePairs((*args)[3]);
        }
        if (!number || !conditions || !conclusions || conclusions->empty()) {
            kb.errors.push_back(cp("строка ") + std::to_string(term.line) +
                                cp(": не правило вида rule(N, 'комментарий', [условия], [заключения])."));
            continue;
        }
        if (kb.find(*number)) {
            kb.errors.push_back(cp("строка ") + std::to_string(term.line) + cp(": повторный номер правила ") +
                                std::to_string(*number));
            continue;
        }
        kb.rules.push_back(Rule{*number, unquote((*args)[1]), *conditions, *conclusions, term.line});
    }
    return kb;
}

Task parseTask(const std::vector<std::string>& lines) {
    Task task;
    for (const Term& term : terms(lines)) {
        if (const auto args = termArguments(term.text, "fact"); args && args->size() == 1) {
            if (const auto pair = parsePair((*args)[0])) task.facts.push_back(*pair);
        } else if (const auto goal = termArguments(term.text, "goal"); goal && goal->size() == 1) {
            task.goal = unquote((*goal)[0]);
        }
    }
    return task;
}

const Fact* Inference::fact(const Pair& pair) const {
    for (const Fact& f : facts)
        if (same(f.pair, pair)) return &f;
    return nullptr;
}

const Fact* Inference::answer(const std::string& goal) const {
    for (const Fact& f : facts)
        if (!goal.empty() && platform::equalsNoCase(f.pair.attribute, goal)) return &f;
    return nullptr;
}

const Firing* Inference::firingOf(long rule) const {
    for (const Firing& f : firings)
        if (f.rule == rule) return &f;
    return nullptr;
}

std::vector<Fact> Inference::factsAfter(int cycles) const {
    std::vector<Fact> result;
    for (const Fact& f : facts)
        if (f.cycle <= cycles) result.push_back(f);
    return result;
}

Inference infer(const KnowledgeBase& kb, const Task& task, int depth, int size) {
    Inference run;
    for (const Pair& p : task.facts)
        if (!run.fact(p)) run.facts.push_back(Fact{p, 0, 0});
    auto holds = [&](const Rule& r) {
        for (const Pair& c : r.conditions)
            if (!run.fact(c)) return false;
        for (const Pair& c : r.conclusions)
            if (!run.fact(c)) return true;
        return false;  // nothing new to add
    };
    for (int cycle = 1;; ++cycle) {
        if (run.answer(task.goal)) {
            run.stop = cp("цель достигнута");
            break;
        }
        if (cycle > depth) {
            run.stop = cp("достигнута предельная глубина ") + std::to_string(depth);
            break;
        }
        Firing firing{cycle, 0, {}, {}};
        for (const Rule& r : kb.rules)
            if (holds(r)) firing.candidates.push_back(r.number);
        if (firing.candidates.empty()) {
            run.stop = cp("нет применимых правил");
            break;
        }
        const Rule& chosen = *kb.find(firing.candidates.front());
        firing.rule = chosen.number;
        for (const Pair& c : chosen.conclusions) {
            if (run.fact(c)) continue;
            if (static_cast<int>(run.facts.size()) >= size) break;
            run.facts.push_back(Fact{c, chosen.number, cycle});
            firing.added.push_back(c);
        }
        run.firings.push_back(firing);
        if (firing.added.empty()) {
            run.stop = cp("достигнут предельный размер базы фактов ") + std::to_string(size);
            break;
        }
    }
    return run;
}

}  // namespace tarnix::standin
