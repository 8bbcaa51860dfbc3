#include "task_run.h"

#include "compilation.h"
#include "context.h"
#include "goals.h"
#include "platform/platform.h"
#include "text_file.h"
#include "ui.h"

namespace tarnix {

bool WriteRunParameters(const RunFields& f)
{
    context.TaskFileName = f.task;
    if (f.task.empty() || f.depth.empty() || f.length.empty()) {
        ShowMessage("Set all Run parameters");
        return false;
    }
    for (const char* old : {files::DatabaseOutput, files::TraceOld, files::TraceExtra})
        platform::deleteFile(context.WorkDir + old);
    writeLines(context.WorkDir + files::RunParametersText,
               {"espar", f.kb, f.task, "triproc", "1", f.depth, f.length});
    writeLines(context.WorkDir + files::RunParameters,
               {"espar(", QuotedTermItem(f.kb) + ",", QuotedTermItem(f.task) + ",", "triproc,", "1,", f.depth + ",",
                f.length + ")."});
    return true;
}

std::string IntermediateName(const std::string& taskFileName)
{
    const std::size_t dot = taskFileName.find('.');
    const std::size_t from = dot == std::string::npos ? 0 : dot + 1;
    std::string name = taskFileName;
    name.erase(std::min(from, name.size()), 3);
    return name + "arb";
}

}  // namespace tarnix
