// The stand-in engine program. Installed as vrex.exe, vrext.exe and sh.exe (and built by
// itself into vrexn.exe), it is started like the real engine programs: no arguments, the
// workbench's program folder as its current folder. It finds the project folder in the
// settings file there, reads the goal file, writes what the goal calls for and the result
// file. Answers come from a script when TARNIX_STANDIN_SCRIPT names one, otherwise from a
// small demo.
#include "common.h"
#include "engine.h"
#include "os.h"
#include "platform.h"
#include "script.h"
#include "settings.h"
#include "store.h"
#include "text_file.h"

#include <cstdlib>
#include <cstring>

namespace tarnix::standin {
namespace {

namespace p = tarnix::platform;

Session openSession(int argc, char** argv) {
    Session session;
    session.argc = argc;
#ifdef _WIN32
    // The command line need not name the program (the workbench gives none).
    (void)argv;
    std::string name = ownPath();
#else
    // The name it was started as, which may be a link to the one program file.
    std::string name = argc > 0 && argv[0] ? p::utf8ToCp1251(argv[0]) : "";
    if (name.empty()) name = ownPath();
#endif
    session.program = fileNamePart(name);
    session.homeDir = withTrailingSeparator(currentFolder());
    // An empty "kbpath" names no folder (it would be "/"): the default holds then too.
    const std::string kbPath = session.setting("kbpath", "");
    session.workDir = withTrailingSeparator(kbPath.empty() ? defaultKbPath() : kbPath);
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
    if (argc == 2 && std::strcmp(argv[1], SleepingChildArgument) == 0) {
        sleepAsChild();
        return 0;
    }
    const Session session = openSession(argc, argv);
    // Every goal is logged, one line each, before anything else happens.
    if (!appendLogLine(session.work("standin.log"), session.goal)) return 1;
    if (const char* script = std::getenv("TARNIX_STANDIN_SCRIPT"); script && *script) {
        if (answerFromScript(session, tarnix::platform::utf8ToCp1251(script))) return 0;
    }
    return writeResult(session, demo(session)) ? 0 : 1;
}
