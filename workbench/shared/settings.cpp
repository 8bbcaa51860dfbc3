#include "settings.h"

#include "context.h"
#include "errors.h"
#include "platform/platform.h"
#include "text_file.h"
#include "ui.h"

namespace tarnix {
namespace {

std::string readSetting(const char* key, const std::string& defaultValue)
{
    return platform::profileRead(settingsPath(), SettingsSection, key, defaultValue);
}

}  // namespace

std::string settingsPath() { return context.HomeDir + SettingsFileName; }

std::string defaultKbPath()
{
    if (platform::separator() == '\\')
        return "c:\\zvod\\Tessel\\Ordo\\";
    return platform::userHomeDir() + "zvod/Tessel/Ordo/";
}

void LoadProjectSettings()
{
    context.HomeDir = platform::programDir();
    // A folder stored without its separator would glue every file name onto it, and an empty
    // one would put the exchange files into whatever the current folder is: it counts as none.
    const std::string kbPath = readSetting("kbpath", "");
    context.WorkDir = withTrailingSeparator(kbPath.empty() ? defaultKbPath() : kbPath);
    context.CurrentKb = readSetting("currKb", "Kb1");
    context.CurrentTask = readSetting("currentTask", "task2");
    context.KbFilePath = context.WorkDir + context.CurrentKb;
    context.KbSourceName = readSetting("rusource", "KbMovem1.rul");
    context.CompiledRules = readSetting("rucomp", "KbMov4c.ari");
    context.ListingFile = readSetting("rulisting", "comp.ari");
    context.ObjectListFile = "cgo.ari";
    context.ObjectShowFile = "cgo.ari";
    context.CheckRuleFile = "crule.ari";
}

bool CheckProgramFolder()
{
    const std::string folder = platform::programDirSystemName();
    if (platform::fitsCp1251(folder))
        return true;
    ui().showErrorUtf8("The program folder \"" + folder +
                       "\" has a name that code page 1251 cannot hold, so the settings file \"" +
                       SettingsFileName + "\" and the engine programs in it cannot be found. Move the program "
                       "to a folder whose name has only Latin or Cyrillic letters, digits and common signs.");
    return false;
}

void CheckKbName(const std::string& kb)
{
    if (kb.find_first_of("\r\n") != std::string::npos)
        throw Failure("A knowledge base name cannot hold a line break");
}

void WriteSetting(const std::string& key, const std::string& value)
{
    if (!platform::profileWrite(settingsPath(), SettingsSection, key, value))
        throw Failure("Unable to write to " + settingsPath());
}

}  // namespace tarnix
