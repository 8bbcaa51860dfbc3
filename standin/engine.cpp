#include "engine.h"

#include "kb.h"
#include "os.h"
#include "platform.h"

#include <algorithm>
#include <set>

namespace tarnix::standin {
namespace {

namespace p = tarnix::platform;

std::string pad(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

// A file named in a parameter file: as given when absolute, else in WorkDir.
std::string inWorkDir(const Session& session, const std::string& name) {
    return !name.empty() && name.front() == '/' ? name : session.work(name);
}

// What a run works on: from "espar.ari" (the term), else "espar.txt", else the settings.
struct Project {
    std::string kbName, taskName;
    int depth = 5, size = 100;
    KnowledgeBase kb;
    Task task;
    bool kbFound = false, taskFound = false;
};

Project loadProject(const Session& session) {
    Project project;
    std::vector<std::string> fields;
    if (const auto term = readLines(session.work("espar.ari"))) {
        std::string all;
        for (const auto& l : *term) all += l;
        if (const auto args = termArguments(all, "espar"); args && args->size() == 6)
            fields = {unquote((*args)[0]), unquote((*args)[1]), (*args)[4], (*args)[5]};
    }
    if (fields.empty()) {
        if (auto lines = readLines(session.work("espar.txt"))) {
            lines->resize(7);
            fields = {(*lines)[1], (*lines)[2], (*lines)[5], (*lines)[6]};
        }
    }
    if (fields.empty())
        fields = {session.setting("rusource", "KbMovem1.rul"), session.setting("currentTask", "task2.tsk"), "5", "100"};
    project.kbName = trim(fields[0]);
    project.taskName = trim(fields[1]);
    project.depth = static_cast<int>(std::clamp(toInteger(fields[2]).value_or(5), 0L, 1000L));
    project.size = static_cast<int>(std::clamp(toInteger(fields[3]).value_or(100), 0L, 100000L));
    if (auto lines = readLines(inWorkDir(session, project.kbName))) {
        project.kb = parseRules(*lines);
        project.kbFound = true;
    }
    if (auto lines = readLines(inWorkDir(session, project.taskName))) {
        project.task = parseTask(*lines);
        project.taskFound = true;
    }
    return project;
}

std::string origin(const Fact& fact) {
    return fact.rule == 0 ? cp("факт задачи")
                          : cp("правило ") + std::to_string(fact.rule) + cp(", цикл ") + std::to_string(fact.cycle);
}

// The inference tree of a fact: the fact, then, indented, the facts its rule stood on. Each
// fact is expanded once and later uses refer back to it, so facts that many rules share do
// not multiply the tree; and it ends after TreeLineLimit lines whatever the knowledge base.
class InferenceTree {
public:
    static constexpr std::size_t TreeLineLimit = 1000;

    InferenceTree(const Project& project, const Inference& run, std::vector<std::string>& out)
        : project_(project), run_(run), out_(out) {}

    // False once the tree has been cut.
    bool write(const Fact& fact, int depth) {
        if (written_ == TreeLineLimit) {
            out_.push_back(cp("  ... дерево обрезано: не более ") + std::to_string(TreeLineLimit) + cp(" строк"));
            return false;
        }
        const bool again = !expanded_.insert(&fact).second;
        out_.push_back(std::string(2 * depth, ' ') + fact.pair.text() + "   [" + origin(fact) + "]" +
                       (again && fact.rule != 0 ? cp("   (см. выше)") : ""));
        ++written_;
        if (again || fact.rule == 0) return true;
        for (const Pair& c : project_.kb.find(fact.rule)->conditions)
            if (const Fact* f = run_.fact(c); f && !write(*f, depth + 1)) return false;
        return true;
    }

private:
    const Project& project_;
    const Inference& run_;
    std::vector<std::string>& out_;
    std::set<const Fact*> expanded_;
    std::size_t written_ = 0;
};

std::vector<std::string> modelText(const Inference& run, int k) {
    const int cycles = static_cast<int>(run.firings.size());
    std::string heading = cp("% модель ") + std::to_string(k);
    if (k == 0) heading += cp(": факты задачи");
    else if (k <= cycles) heading += cp(": после цикла ") + std::to_string(k);
    else heading += cp(": вывод закончен на цикле ") + std::to_string(cycles) + ", " + run.stop;
    std::vector<std::string> out = {heading};
    for (const Fact& f : run.factsAfter(k)) out.push_back(f.pair.text());
    return out;
}

std::optional<long> ruleNumber(const std::string& text) { return toInteger(unquote(text)); }

}  // namespace

Answer compileKnowledgeBase(const Session& session) {
    const auto parameters = readLines(session.work("estrpar.ari"));
    if (!parameters) return Answer::failure(cp("Нет файла параметров estrpar.ari"));
    auto field = [&](std::size_t i) {
        std::string t = i < parameters->size() ? trim((*parameters)[i]) : std::string();
        if (!t.empty() && (t.back() == ',' || t.back() == '.')) t.pop_back();
        if (!t.empty() && t.back() == ')') t.pop_back();
        return unquote(t);
    };
    const std::string source = field(1);
    const std::string target = field(2).empty() ? std::string("KbMov4c.ari") : field(2);
    const std::string option = parameters->size() > 3 ? trim((*parameters)[3]) : std::string();

    std::vector<std::string> listing = {cp("Tarnix: компиляция базы знаний ") + source,
                                        cp("Параметры: ") + (option.empty() ? cp("нет") : option), ""};
    const auto lines = readLines(inWorkDir(session, source));
    if (!lines) {
        listing.push_back(cp("*** Нет файла базы знаний ") + source);
        writeLines(session.work("comp.ari"), listing);
        return Answer::failure(cp("Нет файла базы знаний ") + source);
    }
    for (std::size_t i = 0; i < lines->size(); ++i) listing.push_back(pad(std::to_string(i + 1), 4) + "  " + (*lines)[i]);
    const KnowledgeBase kb = parseRules(*lines);
    listing.push_back("");
    for (const auto& error : kb.errors) listing.push_back(cp("*** Ошибка, ") + error);
    listing.push_back(cp("Правил: ") + std::to_string(kb.rules.size()) + cp(", ошибок: ") +
                      std::to_string(kb.errors.size()) + cp(", строк: ") + std::to_string(lines->size()));

    std::vector<std::string> compiled = {cp("% скомпилировано из ") + source};
    for (const Rule& r : kb.rules) {
        std::string ifs, thens;
        for (const Pair& c : r.conditions) ifs += (ifs.empty() ? "" : ",") + ("c('" + c.attribute + "','" + c.value + "')");
        for (const Pair& c : r.conclusions) thens += (thens.empty() ? "" : ",") + ("c('" + c.attribute + "','" + c.value + "')");
        compiled.push_back("ru(" + std::to_string(r.number) + ",[" + ifs + "],[" + thens + "]).");
    }
    writeLines(session.work(target), compiled);
    listing.push_back(cp("Результат: ") + target);
    writeLines(session.work("comp.ari"), listing);
    if (!kb.errors.empty())
        return Answer::failure(cp("ошибок в базе знаний: ") + std::to_string(kb.errors.size()) + cp(", см. листинг"));
    return Answer{"0", {}, std::to_string(kb.rules.size())};
}

Answer buildProgram(const Session& session) {
    // The "built" program is this very program under the name of the expert system.
    const std::string program = session.home("vrexn.exe");
    const auto self = readBytes(ownPath());
    std::vector<std::string> log = {cp("Сборка экспертной системы vrexn.exe"), cp("Папка проекта: ") + session.workDir};
    const bool built = self && writeBytes(program, *self) && makeExecutable(program);
    const std::string compiled = "KbMov4c.ari";
    log.push_back(cp("База знаний: ") + compiled +
                  (p::fileExists(session.work(compiled)) ? cp(" - найдена") : cp(" - не найдена, собрано без неё")));
    log.push_back(built ? cp("Готово: ") + program : cp("*** Ошибка: не записан ") + program);
    writeLines(session.home("mkvrexn.log"), log);
    return built ? Answer{} : Answer::failure(cp("Сборка не удалась"));
}

Answer runTask(const Session& session) {
    const Project project = loadProject(session);
    if (!project.kbFound) return Answer::failure(cp("Нет файла базы знаний ") + project.kbName);
    if (!project.taskFound) return Answer::failure(cp("Нет файла задачи ") + project.taskName);
    const Inference run = infer(project.kb, project.task, project.depth, project.size);

    std::vector<std::string> results = {cp("Задача: ") + project.taskName + cp("   База знаний: ") + project.kbName,
                                        cp("Глубина: ") + std::to_string(project.depth) + cp("   Размер: ") +
                                            std::to_string(project.size),
                                        cp("Исходные факты:")};
    for (const Fact& f : run.factsAfter(0)) results.push_back("  " + f.pair.text());
    for (const Firing& f : run.firings) {
        std::string added;
        for (const Pair& a : f.added) added += (added.empty() ? "" : "; ") + a.text();
        results.push_back(cp("Цикл ") + std::to_string(f.cycle) + cp(": правило ") + std::to_string(f.rule) + " (" +
                          project.kb.find(f.rule)->comment + ") -> " + added);
    }
    results.push_back(cp("Останов: ") + run.stop);
    const Fact* answer = run.answer(project.task.goal);
    results.push_back(answer ? cp("Ответ: ") + answer->pair.text()
                             : cp("Ответ не найден для цели ") + project.task.goal);
    writeLines(session.work("results.txt"), results);

    std::vector<std::string> database = {cp("% база фактов после вывода")};
    int n = 0;
    for (const Fact& f : run.facts)
        database.push_back("fact(" + std::to_string(++n) + ", '" + f.pair.attribute + "', '" + f.pair.value + "', '" +
                           origin(f) + "').");
    writeLines(session.work("sdb.sdb"), database);

    std::vector<std::string> trace = {cp("Трасса вывода, задача ") + project.taskName};
    for (const Firing& f : run.firings) {
        std::string candidates;
        for (long c : f.candidates) candidates += (candidates.empty() ? "" : ", ") + std::to_string(c);
        trace.push_back(cp("цикл ") + std::to_string(f.cycle) + cp(": применимы правила ") + candidates);
        trace.push_back(cp("  выбрано правило ") + std::to_string(f.rule));
        for (const Pair& a : f.added) trace.push_back(cp("  добавлен факт ") + a.text());
    }
    trace.push_back(cp("останов: ") + run.stop);
    writeLines(session.work("prestrac.ari"), trace);

    std::vector<std::string> explanation = {cp("Дерево логического вывода")};
    if (answer) InferenceTree(project, run, explanation).write(*answer, 1);
    else explanation.push_back(cp("  цель ") + project.task.goal + cp(" не выведена"));
    writeLines(session.work("esexp.ari"), explanation);

    if (!answer) return Answer::failure(cp("цель ") + project.task.goal + cp(" не выведена: ") + run.stop);
    return Answer{"0", {}, answer->pair.value};
}

Answer runModels(const Session& session) {
    const Project project = loadProject(session);
    const Inference run = infer(project.kb, project.task, project.depth, project.size);
    // The goal names two model texts; the whole model of the run is written, so that every
    // model page of the workbench shows the same run.
    for (int k = 0; k <= 5; ++k) writeLines(session.work("m" + std::to_string(k) + ".txt"), modelText(run, k));
    if (!project.kbFound) return Answer::failure(cp("Нет файла базы знаний ") + project.kbName);
    return Answer{"0", {}, std::to_string(run.firings.size())};
}

Answer writeTraceList(const Session& session) {
    const Project project = loadProject(session);
    const Inference run = infer(project.kb, project.task, project.depth, project.size);
    std::vector<std::string> list;
    for (const Rule& r : project.kb.rules) {
        const Firing* f = run.firingOf(r.number);
        list.push_back(std::to_string(r.number) + " " + r.comment +
                       (f ? cp(" [цикл ") + std::to_string(f->cycle) + "]" : cp(" [не сработало]")));
    }
    writeLines(session.work("list.txt"), list);
    return Answer{"0", {}, std::to_string(list.size())};
}

Answer traceRule(const Session& session, const std::string& rule) {
    const Project project = loadProject(session);
    const Inference run = infer(project.kb, project.task, project.depth, project.size);
    const auto number = ruleNumber(rule);
    const Rule* r = number ? project.kb.find(*number) : nullptr;
    std::vector<std::string> lines = {cp("Трасса правила ") + trim(rule),
                                      r ? r->comment : cp("нет такого правила"), "======"};
    if (r) {
        for (const Pair& c : r->conditions)
            lines.push_back(cp("если ") + c.text() + (run.fact(c) ? cp("   - да") : cp("   - нет")));
        lines.push_back("--");
        const Firing* f = run.firingOf(r->number);
        for (const Pair& c : r->conclusions)
            lines.push_back(cp("то ") + c.text() + (f ? cp("   - выведено в цикле ") + std::to_string(f->cycle)
                                                      : cp("   - не выведено")));
        lines.push_back("--");
        lines.push_back(cp("строка в файле: ") + std::to_string(r->line));
        lines.push_back("--");
    }
    writeLines(session.work("tracerule.txt"), lines);
    return r ? Answer{} : Answer::failure(cp("Правило ") + trim(rule) + cp(" не найдено"));
}

Answer explainRule(const Session& session, const std::string& rule, bool backwards) {
    const Project project = loadProject(session);
    const Inference run = infer(project.kb, project.task, project.depth, project.size);
    const auto number = ruleNumber(rule);
    const Rule* r = number ? project.kb.find(*number) : nullptr;
    std::vector<std::string> lines;
    if (!r) {
        lines.push_back(cp("Правило ") + trim(rule) + cp(" не найдено"));
    } else if (!backwards) {
        // Why the rule fired (or not): where each of its conditions came from.
        lines.push_back(cp("Почему правило ") + std::to_string(r->number) + ": " + r->comment);
        for (const Pair& c : r->conditions) {
            const Fact* f = run.fact(c);
            lines.push_back("  " + c.text() + ": " + (f ? origin(*f) : cp("не установлено")));
        }
        lines.push_back(run.firingOf(r->number) ? cp("Правило сработало.") : cp("Правило не сработало."));
    } else {
        // What the rule's conclusions were needed for: the rules that use them.
        lines.push_back(cp("Зачем правило ") + std::to_string(r->number) + ": " + r->comment);
        for (const Rule& other : project.kb.rules)
            for (const Pair& c : other.conditions)
                for (const Pair& d : r->conclusions)
                    if (p::equalsNoCase(c.text(), d.text()))
                        lines.push_back("  " + d.text() + cp(" нужно правилу ") + std::to_string(other.number) +
                                        " (" + other.comment + ")");
        if (lines.size() == 1) lines.push_back(cp("  заключение правила - конечный ответ"));
    }
    writeLines(session.work(backwards ? "bexp.txt" : "exp.txt"), lines);
    return r ? Answer{} : Answer::failure(cp("Правило ") + trim(rule) + cp(" не найдено"));
}

Answer loadRuleSet(const Session& session, const std::string& set) {
    const std::string name = "unlr" + trim(set) + ".ari";
    const auto lines = readLines(session.work(name));
    if (!lines) return Answer::failure(cp("Нет файла ") + name);
    std::size_t rules = 0;
    for (std::size_t i = 0; i < lines->size(); i += 7)
        if (trim((*lines)[i]) == "ru") ++rules;
    return Answer{"0", cp("Загружено правил: ") + std::to_string(rules), std::to_string(rules)};
}

Answer checkRule(const Session& session) {
    auto lines = readLines(session.work("crule.ari"));
    if (!lines) return Answer::failure(cp("Нет файла crule.ari"));
    lines->resize(6);
    if (!toInteger((*lines)[0])) return Answer::failure(cp("Номер правила не число: ") + (*lines)[0]);
    for (std::size_t i = 3; i < 6; ++i) {
        int balance = 0;
        for (const char c : (*lines)[i]) balance += (c == '[' || c == '(') - (c == ']' || c == ')');
        if (balance != 0)
            return Answer::failure(cp("Несбалансированные скобки в поле ") + std::to_string(i + 1));
    }
    return Answer{"0", cp("Правило ") + trim((*lines)[0]) + cp(" корректно"), trim((*lines)[0])};
}

}  // namespace tarnix::standin
