// The Windows half of the platform layer against the system's own behaviour.
#include "platform.h"
#include "platform_internal.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <utility>

namespace tarnix::platform {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

// The test program copied into `folder` as `name`, told what to do in `workFolder`.
std::string placeChild(const TempFolder& folder, const std::string& name, const TempFolder& workFolder,
                       const std::string& order) {
    const std::string program = folder / name;
    EXPECT_TRUE(::CopyFileA((programDir() + TARNIX_TEST_CHILD).c_str(), program.c_str(), TRUE)) << program;
    writeBytes(workFolder / "child.txt", order + "\n");
    return program;
}

// `path` with every separator a backslash, as the command interpreter wants it.
std::string backslashed(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Win32Process, StartsHiddenInTheGivenFolderWithoutArguments) {
    TempFolder bin, home;
    const std::string program = placeChild(bin, "vrex.exe", home, "exit 7");
    Process p = startProgram(bin / "VREX.EXE", home.path());
    ASSERT_TRUE(p.started()) << lastSystemErrorText();
    EXPECT_EQ(p.wait(), ProcessEnd::exited(7));
    EXPECT_FALSE(p.started());
    EXPECT_EQ(p.wait(), ProcessEnd{});
    EXPECT_EQ(p.endHandle(), NoEndHandle);
    const std::string report = readBytes(home / "report.txt");
    const std::string folder = backslashed(home.path().substr(0, home.path().size() - 1));
    EXPECT_TRUE(equalsNoCase(report.substr(0, report.find('\n')), folder)) << report;
    EXPECT_NE(report.find("\nhidden\n"), std::string::npos) << report;
    // The command line is the program's name alone, as given.
    const std::size_t first = report.find('\n') + 1;
    std::string commandLine = report.substr(first, report.find('\n', first) - first);
    if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"')
        commandLine = commandLine.substr(1, commandLine.size() - 2);
    EXPECT_TRUE(equalsNoCase(commandLine, bin / "VREX.EXE")) << commandLine;
}

TEST(Win32Process, AnExceptionCodeIsNoExitStatus) {
    TempFolder dir;
    const std::string program = placeChild(dir, "vrexn.exe", dir, "exit 3221225477");  // 0xC0000005
    const ProcessEnd crashed = startProgram(program, dir.path()).wait();
    EXPECT_EQ(crashed, ProcessEnd::signalled(static_cast<int>(0xC0000005UL)));
    EXPECT_EQ(describe(crashed), "ended by exception 0xC0000005 (access violation)");
    writeBytes(dir / "child.txt", "exit 3\n");
    EXPECT_EQ(describe(startProgram(program, dir.path()).wait()), "ended with exit status 3");

    EXPECT_FALSE(startProgram(dir / "missing.exe", dir.path()).started());
    EXPECT_EQ(lastIoErrorText(false), "File not found");
    EXPECT_FALSE(startProgram(program, dir / "no\\such\\folder").started());
}

TEST(Win32Process, EndGroupEndsTheProgramAndWhatItStarted) {
    TempFolder dir;
    Process quick = startProgram(placeChild(dir, "quick.exe", dir, "quick"), dir.path());
    ASSERT_TRUE(quick.started());
    EXPECT_FALSE(waitForEnd(quick.endHandle(), 0));
    EXPECT_TRUE(waitForEnd(quick.endHandle(), 10000));
    EXPECT_EQ(quick.wait(), ProcessEnd::exited(0));

    writeBytes(dir / "child.txt", "spawn\n");
    Process hanging = startProgram(dir / "quick.exe", dir.path());
    ASSERT_TRUE(hanging.started());
    DWORD grandchild = 0;
    for (int waited = 0; waited < 20000 && grandchild == 0; waited += 50) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        grandchild = std::strtoul(readBytes(dir / "grand.pid").c_str(), nullptr, 10);
    }
    ASSERT_NE(grandchild, 0u);
    const HANDLE grand = ::OpenProcess(SYNCHRONIZE, FALSE, grandchild);
    ASSERT_NE(grand, nullptr);
    EXPECT_FALSE(waitForEnd(hanging.endHandle(), 200));
    EXPECT_EQ(hanging.endGroup(100), ProcessEnd::signalled(static_cast<int>(0xC000013AUL)));
    EXPECT_FALSE(hanging.started());
    EXPECT_EQ(::WaitForSingleObject(grand, 5000), WAIT_OBJECT_0) << "the program it started still runs";
    ::CloseHandle(grand);
}

TEST(Win32FileWriter, ReplacesKeepingAttributesAndRefusesWhatItMayNotWrite) {
    TempFolder dir;
    const std::string doc = dir / "doc.txt";
    writeBytes(doc, "old");
    ::SetFileAttributesA(doc.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(writeFile(dir / "DOC.TXT", "new")) << lastSystemErrorText();  // keeps its spelling
    EXPECT_EQ(readBytes(doc), "new");
    EXPECT_TRUE(::GetFileAttributesA(doc.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(writeFile(dir / "new.txt", "fresh", Durability::Unsynced));
    EXPECT_EQ(readBytes(dir / "new.txt"), "fresh");

    const std::string ini = dir / "Ordo.ini";
    writeBytes(ini, "[Files]\r\n");
    ::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(fileWritable(ini));
    EXPECT_FALSE(writeFile(ini, "x"));
    EXPECT_EQ(lastIoErrorText(true), "File access denied");
    EXPECT_EQ(readBytes(ini), "[Files]\r\n");
    ::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(fileWritable(ini));
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(writeFile(dir / "folder", "x"));
    EXPECT_EQ(lastIoErrorText(true), "File access denied");
    EXPECT_FALSE(writeFile(dir / "missing\\doc.txt", "x"));
    EXPECT_EQ(lastIoErrorText(true), "Invalid filename");
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"Ordo.ini", "doc.txt", "folder", "new.txt"}));
}

// Every step the writer takes is made to fail in turn: the file then holds its old bytes and
// the write reports the failure, and no temporary file stays.
TEST(Win32FileWriter, AFailureAtAnyStepLeavesTheOldFile) {
    static std::vector<detail::WriteStep> asked;
    static std::size_t failing;
    detail::writeFault = [](detail::WriteStep step) {
        asked.push_back(step);
        return asked.size() - 1 == failing ? static_cast<int>(ERROR_DISK_FULL) : 0;
    };
    for (const bool existed : {true, false}) {
        std::size_t steps = 0;
        for (failing = 0; failing == 0 || failing < steps; ++failing) {
            if (steps == 0) {  // first the steps of a write that succeeds
                TempFolder dir;
                const std::size_t saved = std::exchange(failing, SIZE_MAX);
                asked.clear();
                EXPECT_TRUE(writeFile(dir / "doc.txt", "n"));
                steps = asked.size();
                failing = saved;
            }
            SCOPED_TRACE(std::string(existed ? "existing" : "new") + " file, step " + std::to_string(failing));
            TempFolder dir;
            if (existed) writeBytes(dir / "doc.txt", "old");
            asked.clear();
            EXPECT_FALSE(writeFile(dir / "doc.txt", std::string(5000, 'n')));
            EXPECT_EQ(lastIoErrorText(true), "Disk full");
            EXPECT_EQ(entries(dir.path()), existed ? std::vector<std::string>{"doc.txt"} : std::vector<std::string>{});
            if (existed) {
                EXPECT_EQ(readBytes(dir / "doc.txt"), "old");
            }
        }
        EXPECT_GE(steps, 4u);  // create, write, sync, flush, rename
    }
    detail::writeFault = nullptr;
}

TEST(Win32Batch, MovesAndCopiesThroughTheCommandInterpreter) {
    TempFolder home, work;
    // The home folder's name needs the quotes kept whole: blanks, parentheses, "&".
    const std::string homeDir = backslashed(home / "Program Files (x86)&Co\\");
    const std::string target = backslashed(work / "my proj");
    ASSERT_TRUE(makeDirectory(homeDir));
    ASSERT_TRUE(makeDirectory(target));
    writeBytes(homeDir + "vrexn.exe", "program");
    writeBytes(homeDir + "Ordo.ini", "[Files]\r\n");
    writeBytes(homeDir + "cf.bat", "move vrexn.exe \"" + target + "\\vrexn.exe\"\r\ncopy ordo.ini \"" + target +
                                       "\\ordo.ini\"\r\n");
    ASSERT_TRUE(runBatchFile(homeDir + "cf.bat", homeDir));
    EXPECT_EQ(readBytes(target + "\\vrexn.exe"), "program");
    EXPECT_FALSE(fileExists(homeDir + "vrexn.exe"));
    EXPECT_EQ(readBytes(target + "\\ordo.ini"), "[Files]\r\n");
    EXPECT_EQ(readBytes(homeDir + "Ordo.ini"), "[Files]\r\n");
    EXPECT_FALSE(runBatchFile(homeDir + "none.bat", homeDir));
}

std::string numbers(std::size_t length) {
    std::string text;
    for (int i = 0; text.size() < length; ++i) text += std::to_string(i) + ',';
    text.resize(length);
    return text;
}

// A long value is read whole however long it is; one too long for the system to write whole
// is refused, the file left as it was.
TEST(Win32Profile, LongValuesWholeOrNotAtAll) {
    TempFolder dir;
    const std::string ini = dir / "Ordo.ini";
    const std::string longest = numbers(32766), tooLong = numbers(32767), written = numbers(70000);
    ASSERT_TRUE(profileWrite(ini, "Files", "list", longest)) << lastSystemErrorText();
    EXPECT_TRUE(profileRead(ini, "files", "LIST", "") == longest);
    const std::string before = readBytes(ini);
    EXPECT_FALSE(profileWrite(ini, "Files", "list", tooLong));
    EXPECT_FALSE(profileWrite(ini, "Files", std::string(40000, 'k'), "v"));
    EXPECT_TRUE(readBytes(ini) == before);

    writeBytes(ini, "[Files]\r\nlist=" + written + "\r\nnext=1\r\n");
    const std::string read = profileRead(ini, "Files", "list", "");
    EXPECT_EQ(read.size(), written.size());
    EXPECT_TRUE(read == written);
    EXPECT_EQ(profileRead(ini, "Files", "next", ""), "1");
}

TEST(Win32Profile, DefaultsEmptyValuesAndRelativeNames) {
    TempFolder dir;
    const std::string ini = dir / "Ordo.ini";
    ASSERT_TRUE(profileWrite(ini, "Files", "empty", ""));
    EXPECT_EQ(profileRead(ini, "Files", "empty", "def"), "");
    EXPECT_EQ(profileRead(ini, "Files", "missing", "def  "), "def  ");  // trailing blanks kept
    EXPECT_EQ(profileRead(ini, "None", "list", std::string(5000, 'd')), std::string(5000, 'd'));
    EXPECT_FALSE(profileWrite(ini, "Files", "list", "a\r\nevil=1"));

    const auto saved = fs::current_path();
    fs::current_path(dir.path());
    // A name without a folder would be one in the Windows folder, for the system's calls.
    const bool written = profileWrite("relative.ini", "Files", "currKb", "Kb1");
    const std::string read = profileRead("relative.ini", "Files", "currKb", "");
    fs::current_path(saved);
    ASSERT_TRUE(written);
    EXPECT_EQ(read, "Kb1");
    EXPECT_TRUE(fileExists(dir / "relative.ini"));
}

TEST(Win32Files, NamesErrorsAndFolders) {
    TempFolder dir;
    writeBytes(dir / "old.tsk", "old");
    writeBytes(dir / "old.BAK", "backup");
    EXPECT_FALSE(renameFile(dir / "old.tsk", dir / "OLD.bak"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(readBytes(dir / "old.BAK"), "backup");
    EXPECT_TRUE(replaceFile(dir / "old.tsk", dir / "OLD.bak"));
    EXPECT_EQ(readBytes(dir / "old.bak"), "old");
    // A change of case alone is allowed; Wine keeps the old spelling, Windows takes the new.
    EXPECT_TRUE(renameFile(dir / "old.bak", dir / "Old.Bak"));
    EXPECT_FALSE(deleteFile(dir / "old.tsk"));
    EXPECT_EQ(lastIoErrorText(false), "File not found");

    const auto renamed = findFiles(dir.path(), "*");
    EXPECT_TRUE(renamed.size() == 1 && equalsNoCase(renamed[0], "old.bak"));
    writeBytes(dir / "a.tmp", "");
    writeBytes(dir / "notes.tmpl", "");
    ASSERT_TRUE(makeDirectory(dir / "d.tmp"));
    EXPECT_FALSE(makeDirectory(dir / "D.TMP"));
    auto tmp = findFiles(dir.path(), "*.TMP");
    std::sort(tmp.begin(), tmp.end());
    EXPECT_EQ(tmp, (std::vector<std::string>{"a.tmp", "d.tmp"}));
    EXPECT_TRUE(findFiles(dir / "missing", "*").empty());
    EXPECT_TRUE(directoryExists(dir / "D.tmp"));
    EXPECT_FALSE(fileExists(dir / "D.tmp"));

    struct Case {
        DWORD error;
        const char* io;
    };
    for (const Case& c : {Case{ERROR_PATH_NOT_FOUND, "Invalid filename"}, Case{ERROR_INVALID_NAME, "Invalid filename"},
                          Case{ERROR_ACCESS_DENIED, "File access denied"}, Case{ERROR_DISK_FULL, "Disk full"},
                          Case{ERROR_FILE_NOT_FOUND, "File not found"}}) {
        ::SetLastError(c.error);
        EXPECT_EQ(lastIoErrorText(true), c.io) << c.error;
    }
    // The system's own text (its wording differs between Windows and Wine), without its line
    // end, and the error is still there to be read.
    ::SetLastError(ERROR_ACCESS_DENIED);
    const std::string text = lastSystemErrorText();
    EXPECT_TRUE(!text.empty() && text.back() == '.') << text;
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ::SetLastError(0x2000FFFF);
    EXPECT_EQ(lastSystemErrorText(), "System error 536936447.");

    const std::string own = programDir();
    EXPECT_EQ(own.back(), '\\');
    EXPECT_TRUE(directoryExists(own));
    overrideProgramDir("C:\\tarnix");
    EXPECT_EQ(programDir(), "C:\\tarnix\\");
    overrideProgramDir("C:/tarnix/");
    EXPECT_EQ(programDir(), "C:/tarnix/");
    overrideProgramDir("");
    EXPECT_EQ(programDir(), own);
    EXPECT_EQ(userHomeDir().back(), '\\');
}

}  // namespace
}  // namespace tarnix::platform
