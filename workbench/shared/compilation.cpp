#include "compilation.h"

#include "context.h"
#include "errors.h"
#include "gateway.h"
#include "goals.h"
#include "platform/platform.h"
#include "ui.h"

namespace tarnix {
namespace {

// `text` between two `quote`s, with every `doubled` character inside written twice.
std::string enclose(const std::string& text, char quote, char doubled)
{
    std::string out(1, quote);
    for (char c : text) {
        out += c;
        if (c == doubled)
            out += c;
    }
    return out + quote;
}

// A path for a batch line: quotes keep blanks, '&', '|' and '^' inside it; '%' is doubled.
std::string batchQuoted(const std::string& path) { return enclose(path, '"', '%'); }

}  // namespace

void CheckBuildFolder(const std::string& workDir)
{
    if (workDir.find_first_of("\"\r\n") != std::string::npos)
        throw Failure("Cannot build into the folder \"" + workDir + "\": a folder whose name holds a double quote "
                      "or a line break cannot be written into " + files::BuildBatch);
}

std::string QuotedTermItem(const std::string& text) { return enclose(text, '\'', '\''); }

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
    CheckBuildFolder(workDir);
    return {std::string("move ") + files::BuiltProgram + " " + batchQuoted(workDir + files::BuiltProgram),
            "copy ordo.ini " + batchQuoted(workDir + "ordo.ini")};
}

void WriteBuildBatch() { writeLines(context.HomeDir + files::BuildBatch, BuildBatchLines(context.WorkDir)); }

}  // namespace tarnix
