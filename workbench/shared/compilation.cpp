#include "compilation.h"

#include "context.h"
#include "gateway.h"
#include "goals.h"
#include "platform/platform.h"
#include "ui.h"

namespace tarnix {
namespace {

std::string batchQuoted(const std::string& path)
{
    std::string quoted = "\"";
    for (char c : path) {
        quoted += c;
        if (c == '%')
            quoted += '%';
    }
    return quoted + "\"";
}

}  // namespace

std::string QuotedTermItem(const std::string& text)
{
    std::string item = "'";
    for (char c : text) {
        item += c;
        if (c == '\'')
            item += '\'';
    }
    return item + "'";
}

void WriteCompileParameters(const std::string& kbField)
{
    context.KbSourceName = fileNamePart(kbField);
    if (kbField.empty()) {
        ShowMessage("Set Kb name");
        return;
    }
    const std::string path = context.WorkDir + files::CompileParameters;
    Lines old = readLines(path, 4);
    old.resize(4);
    writeLines(path, {"estrfiles(", QuotedTermItem(fileNamePart(kbField)) + ",",
                      std::string("'") + files::CompiledKbInParameters + "').", old[3]});
}

void comprules(const std::string& kbField)
{
    WriteCompileParameters(kbField);
    const std::string path = context.WorkDir + files::CompileParameters;
    if (!platform::fileExists(path)) {
        ShowMessage("Not exists file of comp parametrs - " + path);
        return;
    }
    std::string code, value;
    RunCompileGoal(goals::CompileKb, code, value);
}

Lines BuildBatchLines(const std::string& workDir)
{
    return {std::string("move ") + files::BuiltProgram + " " + batchQuoted(workDir + files::BuiltProgram),
            "copy ordo.ini " + batchQuoted(workDir + "ordo.ini")};
}

void WriteBuildBatch() { writeLines(context.HomeDir + files::BuildBatch, BuildBatchLines(context.WorkDir)); }

}  // namespace tarnix
