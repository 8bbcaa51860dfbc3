#include "gateway.h"

#include "context.h"
#include "errors.h"
#include "platform/platform.h"
#include "text_file.h"
#include "ui.h"

namespace tarnix {
namespace {

// How a variant reports what happened.
enum class StartReport { Silent, TrueFalse, NotStartedMessage };

struct Variant {
    const char* program;
    bool inWorkDir;          // the built program lies in the project folder
    const char* failPrefix;  // message prefix for a result code other than "0"; null: none
    StartReport startReport;
    bool answerOptional;     // the answer is not used, so a program may leave none
};

const Variant engine{"vrex.exe", false, "Error in creating CG - ", StartReport::Silent, false};
const Variant quietEngine{"vrex.exe", false, nullptr, StartReport::Silent, false};
const Variant compiler{"vrext.exe", false, "Error in creating CG - ", StartReport::Silent, false};
const Variant builder{"sh.exe", false, nullptr, StartReport::TrueFalse, true};
const Variant task{"vrexn.exe", true, "Ошибка выполнения - ", StartReport::NotStartedMessage, false};

void writeGoalFile(const std::string& goal) { writeBytes(context.WorkDir + GoalFileName, goal); }

// A result file left by an earlier run must never pass for the answer of this one, whatever
// the letter case of its name. One that cannot be removed ends the call before the start.
void removeOldResults()
{
    for (const std::string& name : platform::findFiles(context.WorkDir, ResultFileName))
        if (!platform::deleteFile(context.WorkDir + name))
            throwIoError(true);
}

void reportNotStarted(const Variant& v, const std::string& path)
{
    if (v.startReport == StartReport::NotStartedMessage)
        ShowMessage(cp1251("Выполнение не запущено - "));
    else if (v.failPrefix)
        ShowMessage(cp1251(v.failPrefix) + "cannot start the engine program " + path);
}

void readResult(const Variant& v, std::string& code, std::string& value)
{
    const std::string path = context.WorkDir + ResultFileName;
    if (v.answerOptional && !platform::fileExists(path))
        return;  // read as an empty answer
    const Lines lines = ReadResultLines(path);
    code = lines[0];
    value = lines[2];
    if (code != "0" && v.failPrefix)
        ShowMessage(cp1251(v.failPrefix) + lines[1]);
}

void reportCancelled(const Variant& v, std::string& code)
{
    code.assign(1, '2');
    if (v.failPrefix)
        ShowMessage(cp1251(v.failPrefix) + "cancelled");
}

// Waits for the program through the Ui, so the windows go on repainting and the user may
// cancel it. True when it ended by itself; false when it was cancelled, and is gone.
bool awaitEnd(platform::Process& process, const std::string& program, const std::string& goal)
{
    if (process.endHandle() == platform::NoEndHandle)
        return true;  // the system gave no handle to wait on: wait() blocks, as it must
    ProgramWait wait{program, goal, process.endHandle(), [&process] { process.endGroup(); }};
    if (ui().waitForProgram(wait))
        return true;
    process.endGroup();  // a Ui that gave up without cancelling leaves nothing running
    return false;
}

// Wine's first set-up of its prefix, before the first Windows engine program: waited for with
// its own progress text, and never ended half-way. Cancelling meanwhile lets it finish, then
// cancels the call. False when cancelled.
bool awaitPreparation(const std::string& path)
{
    platform::Process preparation = platform::prepareToStart(path);
    if (!preparation.started() || preparation.endHandle() == platform::NoEndHandle)
        return true;
    ProgramWait wait{"Wine", "setting up Wine for Windows programs (once)", preparation.endHandle(),
                     [&preparation] { preparation.wait(); }};
    const bool ended = ui().waitForProgram(wait);
    preparation.wait();
    return ended;
}

void run(const Variant& v, const std::string& goal, std::string& code, std::string& value)
{
    code.clear();
    value.clear();
    writeGoalFile(goal);
    removeOldResults();
    std::string path = v.inWorkDir ? context.WorkDir : context.HomeDir;
    path += v.program;
    if (!awaitPreparation(path))
        return reportCancelled(v, code);
    platform::Process process = platform::startProgram(path, context.HomeDir);
    if (v.startReport == StartReport::TrueFalse)
        ShowMessage(process.started() ? "true" : "false");
    if (!process.started()) {
        code.assign(1, '2');  // (not = "2": GCC 12 warns falsely about that at -O2)
        reportNotStarted(v, path);
        return;
    }
    if (!awaitEnd(process, v.program, goal))
        return reportCancelled(v, code);
    const platform::ProcessEnd end = process.wait();
    // A program killed part-way has failed, whatever it managed to write before.
    if (end.kind == platform::ProcessEnd::Kind::Signalled) {
        code.assign(1, '2');
        if (v.failPrefix)
            ShowMessage(cp1251(v.failPrefix) + v.program + " " + platform::describe(end));
        return;
    }
    readResult(v, code, value);
}

}  // namespace

Lines ReadResultLines(const std::string& path)
{
    Lines lines = readLines(path, 4, ResultLineLimit);
    lines.resize(4);
    return lines;
}

void RunGoal(const std::string& goal, std::string& code, std::string& value) { run(engine, goal, code, value); }

void RunGoalQuiet(const std::string& goal, std::string& code, std::string& value)
{
    run(quietEngine, goal, code, value);
}

void RunCompileGoal(const std::string& goal, std::string& code, std::string& value)
{
    run(compiler, goal, code, value);
}

void RunShellGoal(const std::string& goal, std::string& code, std::string& value) { run(builder, goal, code, value); }

void RunTaskGoal(const std::string& goal, std::string& code, std::string& value) { run(task, goal, code, value); }

void StartAndWait(const std::string& name)
{
    // A batch file is run by the system's command interpreter (on POSIX by the platform
    // layer itself), with the same current folder.
    const std::string extension = name.size() >= 4 ? name.substr(name.size() - 4) : "";
    if (platform::equalsNoCase(extension, ".bat")) {
        platform::runBatchFile(context.HomeDir + name, context.HomeDir);
        return;
    }
    platform::Process process = platform::startProgram(context.HomeDir + name, context.HomeDir);
    if (process.started() && awaitEnd(process, name, ""))
        process.wait();
}

}  // namespace tarnix
