// The stand-in engine program. Installed as vrex.exe, vrext.exe and sh.exe (and built by
// itself into vrexn.exe), it is started like the real engine programs: no arguments, the
// workbench's program folder as its current folder. It finds the project folder in the
// settings file there, reads the goal file, writes what the goal calls for and the result
// file. Answers come from a script when TARNIX_STANDIN_SCRIPT names one, otherwise from a
// small demo.
#include "common.h"
#include "engine.h"
#include "platform.h"
#include "script.h"
#include "store.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace tarnix::standin {
namespace {

namespace p = tarnix::platform;

std::string withSeparator(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

Session openSession(int argc, char** argv) {
    Session session;
    session.argc = argc;
    std::string name = argc > 0 && argv[0] ? argv[0] : "";
    if (name.empty()) {
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        if (n > 0) name.assign(buffer, static_cast<std::size_t>(n));
    }
    session.program = p::utf8ToCp1251(name.substr(name.rfind('/') + 1));
    char cwd[PATH_MAX];
    session.homeDir = withSeparator(p::utf8ToCp1251(::getcwd(cwd, sizeof cwd) ? cwd : "."));
    // An empty "kbpath" names no folder (it would be "/"): the default holds then too.
    const std::string kbPath = session.setting("kbpath", "");
    session.workDir = withSeparator(kbPath.empty() ? p::userHomeDir() + "zvod/Tessel/Ordo/" : kbPath);
    session.goal = readBytes(session.work("invc23.ari")).value_or("");
    return session;
}

// The demo: a plausible answer to every goal the workbench sends.
Answer demo(const Session& session) {
    if (trim(session.goal).empty()) {
        if (session.goal.empty()) return Answer::failure(cp("Нет цели в файле invc23.ari"));
        return buildProgram(session);
    }
    const auto args = termArguments(session.goal, "opt");
    if (!args || args->size() != 5) return Answer::failure(cp("Неизвестная цель: ") + session.goal);
    const std::string& argument = (*args)[3];
    const std::string& op = (*args)[4];
    if (isObjectGoal(op)) return answerObjectGoal(session, op, argument);
    if (op == "ru_comp") return compileKnowledgeBase(session);
    if (op == "ru_run") return runTask(session);
    if (op == "runs" || op == "run") return runModels(session);
    if (op == "tracelist") return writeTraceList(session);
    if (op == "tracerule") return traceRule(session, argument);
    if (op == "ru_exp") return explainRule(session, argument, false);
    if (op == "bru_exp") return explainRule(session, argument, true);
    if (op == "load") return loadRuleSet(session, argument);
    if (op == "checkRule") return checkRule(session);
    return Answer::failure(cp("Неизвестная цель: ") + session.goal);
}

}  // namespace
}  // namespace tarnix::standin

int main(int argc, char** argv) {
    using namespace tarnix::standin;
    const Session session = openSession(argc, argv);
    // Every goal is logged, one line each, before anything else happens.
    if (!appendLogLine(session.work("standin.log"), session.goal)) return 1;
    if (const char* script = std::getenv("TARNIX_STANDIN_SCRIPT"); script && *script) {
        if (answerFromScript(session, tarnix::platform::utf8ToCp1251(script))) return 0;
    }
    return writeResult(session, demo(session)) ? 0 : 1;
}
