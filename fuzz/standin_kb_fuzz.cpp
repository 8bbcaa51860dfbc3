// The stand-in's knowledge bases and tasks: any text parses without harm into rules with
// distinct numbers and at least one conclusion; rules printed back parse to the same rules;
// the forward chaining keeps its bounds and fires only rules whose conditions hold; and the
// demo run writes an inference tree no larger than the facts it explains.
// Input: rule file NUL task file NUL "depth size".
#include "engine.h"
#include "fuzz_support.h"
#include "kb.h"
#include "platform.h"
#include "text_file.h"

#include <algorithm>
#include <set>

namespace {

using namespace tarnix;
using namespace tarnix::fuzz;
using namespace tarnix::standin;

// True when the printed form of the text reads back as the text itself.
bool printable(const std::string& s, bool quoted)
{
    if (s.empty() || s != trim(s)) return false;
    const char* special = quoted ? "'" : "'%[](){},=. \t";
    return s.find_first_of(special) == std::string::npos;
}

std::string printed(const std::vector<Pair>& pairs)
{
    std::string out = "[";
    for (const Pair& p : pairs) out += (out.size() > 1 ? ", " : "") + p.attribute + " = " + p.value;
    return out + "]";
}

std::string printed(const Rule& r)
{
    return "rule(" + std::to_string(r.number) + ", '" + r.comment + "', " + printed(r.conditions) + ", " +
           printed(r.conclusions) + ").";
}

bool samePairs(const std::vector<Pair>& a, const std::vector<Pair>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Pair& x, const Pair& y) { return x.attribute == y.attribute && x.value == y.value; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchFolder scratch;
    const auto f = fields(data, size, 3);
    const Lines ruleLines = splitLines(f[0]), taskLines = splitLines(f[1]);
    const auto what = [&] { return "rules: " + shown(f[0]) + "\ntask: " + shown(f[1]) + "\nlimits: " + shown(f[2]); };

    // Any text.
    const KnowledgeBase kb = parseRules(ruleLines);
    std::set<long> numbers;
    for (const Rule& r : kb.rules) {
        FUZZ_CHECK(numbers.insert(r.number).second, "rule number " + std::to_string(r.number) + " twice\n" + what());
        FUZZ_CHECK(!r.conclusions.empty(), what());
        FUZZ_CHECK(r.line >= 1 && static_cast<std::size_t>(r.line) <= ruleLines.size(), what());
    }
    const Task task = parseTask(taskLines);

    // Printed rules read back the same.
    Lines reprinted;
    std::vector<const Rule*> kept;
    for (const Rule& r : kb.rules) {
        bool ok = printable(r.comment, true) || r.comment.empty();
        for (const auto* list : {&r.conditions, &r.conclusions})
            for (const Pair& p : *list) ok = ok && printable(p.attribute, false) && printable(p.value, false);
        if (!ok) continue;
        kept.push_back(&r);
        reprinted.push_back(printed(r));
    }
    const KnowledgeBase again = parseRules(reprinted);
    FUZZ_CHECK(again.rules.size() == kept.size() && again.errors.empty(), "reprinted:\n" + joinLines(reprinted));
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const Rule &a = again.rules[i], &b = *kept[i];
        FUZZ_CHECK(a.number == b.number && a.comment == b.comment && samePairs(a.conditions, b.conditions) &&
                       samePairs(a.conclusions, b.conclusions),
                   "reprinted: " + shown(printed(b)) + "\n" + what());
    }

    // Forward chaining.
    const auto limits = splitTopLevel(f[2], ' ');
    const int depth = static_cast<int>(std::clamp(toInteger(limits.empty() ? "" : limits[0]).value_or(5), 0L, 60L));
    const int factLimit = static_cast<int>(std::clamp(toInteger(limits.size() < 2 ? "" : limits[1]).value_or(100), 0L, 500L));
    const Inference run = infer(kb, task, depth, factLimit);
    FUZZ_CHECK(static_cast<int>(run.firings.size()) <= depth, what());
    std::size_t given = 0;
    for (const Fact& fact : run.facts) given += fact.rule == 0;
    FUZZ_CHECK(run.facts.size() <= std::max<std::size_t>(given, factLimit), what());
    for (const Firing& firing : run.firings) {
        const Rule* rule = kb.find(firing.rule);
        FUZZ_CHECK(rule != nullptr, what());
        for (const Pair& c : rule->conditions) {
            const Fact* known = run.fact(c);
            FUZZ_CHECK(known && known->cycle < firing.cycle,
                       "rule " + std::to_string(rule->number) + " fired without " + shown(c.text()) + "\n" + what());
        }
    }

    // The demo run: the inference tree shows each fact once with the facts its rule stood on.
    const std::string work = scratch.fresh();
    writeFile(work + "kb.rul", f[0]);
    writeFile(work + "task.tsk", f[1]);
    tarnix::writeLines(work + "espar.txt", {"", "kb.rul", "task.tsk", "", "", std::to_string(depth), std::to_string(factLimit)});
    Session session;
    session.homeDir = session.workDir = work;
    runTask(session);
    std::size_t widest = 0;
    for (const Rule& r : kb.rules) widest = std::max(widest, r.conditions.size());
    const std::size_t treeLines = tarnix::readLines(work + "esexp.ari").size();
    FUZZ_CHECK(treeLines <= 2 + run.facts.size() * (1 + widest),
               std::to_string(treeLines) + " lines of inference tree for " + std::to_string(run.facts.size()) +
                   " facts\n" + what());
    return 0;
}
