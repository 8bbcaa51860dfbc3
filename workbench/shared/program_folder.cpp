#include "program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "errors.h"
#include "platform/platform.h"
#include "settings.h"
#include "text_file.h"

namespace tarnix {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void cannotMake(const fs::path& path, const std::error_code& error)
{
    throw Failure("Cannot prepare the per-user program folder: \"" + platform::utf8ToCp1251(path.string()) +
                  "\": " + error.message());
}

void linkEngines(const fs::path& folder, const fs::path& engines)
{
    std::error_code error;
    for (const fs::directory_entry& engine : fs::directory_iterator(engines, error)) {
        const fs::path link = folder / engine.path().filename();
        // A link left by an older install that points nowhere now is made anew; a real file of
        // the user's is left alone.
        if (fs::is_symlink(fs::symlink_status(link)) && !fs::exists(link))
            fs::remove(link);
        if (fs::symlink_status(link).type() != fs::file_type::not_found)
            continue;
        fs::create_symlink(fs::absolute(engine.path()).lexically_normal(), link, error);
        if (error)
            cannotMake(link, error);
    }
    if (error)
        cannotMake(engines, error);
}

// The copy is the user's from then on: folders and files writable, whatever the installed
// modes. It is made beside its place and moved there whole, so a start that fails half-way
// leaves no half copy that a later start would take for the user's.
void copyDemo(const fs::path& demo, const fs::path& copy)
{
    const fs::path part = copy.string() + ".part";
    std::error_code error;
    fs::remove_all(part, error);
    fs::create_directories(part, error);
    fs::recursive_directory_iterator entry(demo, error);
    for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const fs::path target = part / fs::relative(entry->path(), demo);
        if (entry->is_directory())
            fs::create_directories(target, error);
        else if (fs::copy_file(entry->path(), target, error))
            fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
    }
    if (!error)
        fs::rename(part, copy, error);
    if (error)
        cannotMake(copy, error);
}

#ifndef _WIN32
std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}
#endif

}  // namespace

void PreparePerUserProgramFolder(const std::string& folder, const InstalledFiles& installed,
                                 const std::string& demoCopy)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        cannotMake(folder, error);
    linkEngines(folder, installed.engines);
    if (fs::symlink_status(demoCopy, error).type() == fs::file_type::not_found)
        copyDemo(installed.demo, demoCopy);
    const fs::path settings = fs::path(folder) / SettingsFileName;
    if (fs::symlink_status(settings, error).type() != fs::file_type::not_found)
        return;
    std::string kbPath = platform::utf8ToCp1251(demoCopy);
    if (kbPath.empty() || kbPath.back() != '/')
        kbPath += '/';
    writeBytes(platform::utf8ToCp1251(settings.string()),
               "[Files]\r\nkbpath=" + kbPath + "\r\ncurrKb=Kb1\r\ncurrentTask=task2.tsk\r\nrusource=KbMovem1.rul\r\n");
}

void ChooseProgramFolder()
{
#ifndef _WIN32
    if (platform::fileWritable(platform::programDir()))
        return;
    const std::string own = platform::programDirSystemName();
    const std::string home = environment("HOME");
    std::string data = environment("XDG_DATA_HOME");
    if (data.empty() || data.front() != '/')
        data = home + "/.local/share";
    const std::string folder = data + "/tarnix/";
    PreparePerUserProgramFolder(folder, {own + TARNIX_ENGINES_FROM_PROGRAM, own + TARNIX_DEMO_FROM_PROGRAM},
                                home + "/Tarnix/demo");
    platform::overrideProgramDir(folder);
#endif
}

}  // namespace tarnix
