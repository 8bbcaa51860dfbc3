#include "run_parameters.h"

#include "context.h"
#include "goals.h"
#include "platform/platform.h"
#include "text_file.h"

namespace tarnix {

std::optional<RunParameters> ReadRunParameters()
{
    const std::string path = context.WorkDir + files::RunParametersText;
    if (!platform::fileExists(path))
        return std::nullopt;
    Lines lines = readLines(path, 7);
    lines.resize(7);
    return RunParameters{lines[1], lines[2], lines[5], lines[6]};
}

}  // namespace tarnix
