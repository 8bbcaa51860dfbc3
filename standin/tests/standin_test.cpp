// Runs the stand-in engine program the way the workbench does: installed in a home folder
// under an engine program's name, started there, with the project folder named in Ordo.ini.
#include "platform.h"
#include "platform/tests/temp_folder.h"
#include "text_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <signal.h>

namespace {

namespace fs = std::filesystem;
namespace p = tarnix::platform;
using p::testing::setEnvironment;

#ifdef _WIN32
// A crash on purpose ends the program with the status of an access violation.
const p::ProcessEnd crashed = p::ProcessEnd::signalled(static_cast<int>(0xC0000005));
#else
const p::ProcessEnd crashed = p::ProcessEnd::signalled(SIGABRT);
#endif

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> lines(const std::string& path) { return tarnix::splitLines(readAll(path)); }

void write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string cp(const char* utf8) { return p::utf8ToCp1251(utf8); }

bool contains(const std::vector<std::string>& all, const std::string& wanted) {
    for (const auto& l : all)
        if (l.find(wanted) != std::string::npos) return true;
    return false;
}

class Standin : public ::testing::Test {
protected:
    void SetUp() override {
        root = p::testing::newTempFolder("standin");
        home = root + sep + "home" + sep;
        work = root + sep + "work" + sep;
        fs::create_directories(home);
        fs::create_directories(work);
        for (const char* name : {"vrex.exe", "vrext.exe", "sh.exe"}) fs::copy_file(STANDIN_PROGRAM, home + name);
        write(home + "Ordo.ini", "[Files]\r\nkbpath=" + work + "\r\n");
        setEnvironment("TARNIX_STANDIN_SCRIPT", "");
    }
    void TearDown() override {
        setEnvironment("TARNIX_STANDIN_SCRIPT", "");
        fs::remove_all(root);
    }

    // Sends one goal as the gateway does; returns how the program ended.
    p::ProcessEnd send(const std::string& goal, const std::string& program = "vrex.exe") {
        write(work + "invc23.ari", goal);
        const std::string path = fs::path(program).is_absolute() ? program : home + program;
        p::Process process = p::startProgram(path, home);
        EXPECT_TRUE(process.started()) << path;
        return process.wait();
    }
    void script(const std::string& text) {
        write(root + sep + "script.txt", text);
        setEnvironment("TARNIX_STANDIN_SCRIPT", root + sep + "script.txt");
    }
    std::vector<std::string> result() { return lines(work + "ovc17.ari"); }
    void copyDemo() {
        for (const auto& entry : fs::directory_iterator(DEMO_FOLDER))
            if (entry.path().filename() != "README.md") fs::copy_file(entry.path(), work + entry.path().filename().string());
    }

    const char sep = p::separator();
    std::string root, home, work;
};

using Result = std::vector<std::string>;

TEST_F(Standin, ScriptBlocksMatchByGoalAndProgramInFileOrder) {
    script("# answers\n\n"
           "goal opt(1,1,1,1,ru_comp).\nprogram VREXT.EXE\ncode 0\nvalue 15\n"
           "goal opt(1,1,1,1,ru_comp).\ncode 7\nmessage only for other programs\n"
           "goal  \nmessage blank goal\n"
           "goal *\ncode 9\nmessage \xCE\xF8\xE8\xE1\xEA\xE0\n");
    send("opt(1,1,1,1,ru_comp).", "vrext.exe");
    EXPECT_EQ(result(), (Result{"0", "", "15", ""}));
    send("opt(1,1,1,1,ru_comp).", "vrex.exe");
    EXPECT_EQ(result(), (Result{"7", "only for other programs", "", ""}));
    send(" ", "sh.exe");
    EXPECT_EQ(result(), (Result{"0", "blank goal", "", ""}));
    send("opt(1,2,3,4,oblist).");
    EXPECT_EQ(result(), (Result{"9", "\xCE\xF8\xE8\xE1\xEA\xE0", "", ""}));
    EXPECT_EQ(readAll(work + "ovc17.ari"), "9\r\n\xCE\xF8\xE8\xE1\xEA\xE0\r\n\r\n\r\n");
    EXPECT_EQ(lines(work + "standin.log"),
              (Result{"opt(1,1,1,1,ru_comp).", "opt(1,1,1,1,ru_comp).", " ", "opt(1,2,3,4,oblist)."}));
}

TEST_F(Standin, TheBuildProgramBuildsWhateverTheScriptAnswersUnlessTold) {
    script("goal  \nprogram sh.exe\ncode 3\n");
    send(" ", "sh.exe");
    EXPECT_EQ(result()[0], "3");
    EXPECT_EQ(fs::status(home + "vrexn.exe").permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
    EXPECT_EQ(readAll(home + "vrexn.exe"), readAll(STANDIN_PROGRAM));
    EXPECT_TRUE(fs::exists(home + "mkvrexn.log"));

    fs::remove(home + "vrexn.exe");
    script("goal  \nno-build\nhome-file mkvrexn.log failed\n");
    send(" ", "sh.exe");
    EXPECT_FALSE(fs::exists(home + "vrexn.exe"));
    EXPECT_EQ(readAll(home + "mkvrexn.log"), "failed");
    send(" ", "vrex.exe");  // only the build program builds
    EXPECT_FALSE(fs::exists(home + "vrexn.exe"));
}

TEST_F(Standin, ScriptShapesTheResultFile) {
    script("goal a\nresult-lines 0\ngoal b\ncode 1\nmessage m\nvalue v\nresult-lines 2\ngoal c\nno-result\n");
    send("a");
    EXPECT_EQ(readAll(work + "ovc17.ari"), "");
    send("b");
    EXPECT_EQ(readAll(work + "ovc17.ari"), "1\r\nm\r\n");
    send("c");  // the previous answer stays
    EXPECT_EQ(readAll(work + "ovc17.ari"), "1\r\nm\r\n");
}

TEST_F(Standin, ScriptWritesFilesAndRecordsHowItWasStarted) {
    script("goal *\n"
           "file cgo.ari 1\\r\\n\\xC0\\xE1\\r\\nback\\\\slash\\ttab\\q\n"
           "file empty.txt\n"
           "home-file mkvrexn.log built\\n\n"
           "record started.txt\n");
    setEnvironment("TARNIX_STANDIN_PROBE", "probe-value");
    send("opt(1,1,1,1,binob).", "vrext.exe");
    setEnvironment("TARNIX_STANDIN_PROBE", "");
    EXPECT_EQ(readAll(work + "cgo.ari"), "1\r\n\xC0\xE1\r\nback\\slash\ttab\\q");
    EXPECT_EQ(readAll(work + "empty.txt"), "");
    EXPECT_EQ(readAll(home + "mkvrexn.log"), "built\n");
    EXPECT_EQ(lines(work + "started.txt"),
              (Result{"program=vrext.exe", "argc=1", "cwd=" + fs::canonical(home).string(), "probe=probe-value"}));
    EXPECT_EQ(result(), (Result{"0", "", "", ""}));
}

TEST_F(Standin, ScriptCrashLeavesFilesButNoResultAndHangDelaysTheAnswer) {
    script("goal crash\nfile list.txt partial\ncrash\ngoal hang\nhang 0.5\nvalue late\n");
    EXPECT_EQ(send("crash"), crashed);
    EXPECT_EQ(readAll(work + "list.txt"), "partial");
    EXPECT_FALSE(fs::exists(work + "ovc17.ari"));
    EXPECT_FALSE(fs::exists(home + "core"));

    const auto start = std::chrono::steady_clock::now();
    send("hang");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
    EXPECT_EQ(result(), (Result{"0", "", "late", ""}));
}

TEST_F(Standin, FindsTheProjectFolderLikeTheRealEngine) {
    // A "kbpath" without its trailing separator still names the folder.
    write(home + "Ordo.ini", "[files]\r\nKBPATH=" + work.substr(0, work.size() - 1) + "\r\n");
    send("opt(1,2,3,4,oblist).");
    EXPECT_EQ(result(), (Result{"0", "", "0", ""}));

#ifdef _WIN32
    GTEST_SKIP() << "the default project folder is a fixed folder of drive C: on Windows";
#endif
    // No settings file, or an empty "kbpath": the default folder under the user's home.
    const std::string saved = std::getenv("HOME") ? std::getenv("HOME") : "";
    setEnvironment("HOME", root);
    work = root + "/zvod/Tessel/Ordo/";
    fs::create_directories(work);
    write(home + "Ordo.ini", "[Files]\r\nkbpath=\r\n");
    send("opt(1,2,3,4,oblist).");
    fs::remove(home + "Ordo.ini");
    send("opt(1,2,3,4,oblist).");
    setEnvironment("HOME", saved);
    EXPECT_EQ(lines(work + "standin.log"), (Result{"opt(1,2,3,4,oblist).", "opt(1,2,3,4,oblist)."}));
    EXPECT_EQ(result(), (Result{"0", "", "0", ""}));
}

TEST_F(Standin, DemoCompilesBuildsAndRunsTheDemoProject) {
    copyDemo();
    send("opt(1,1,1,1,ru_comp).", "vrext.exe");
    EXPECT_EQ(result()[0], "0");
    const auto listing = lines(work + "comp.ari");
    EXPECT_TRUE(contains(listing, "   1  %"));  // numbered source lines
    EXPECT_TRUE(contains(listing, cp("Правил: 15, ошибок: 0")));
    EXPECT_TRUE(p::fileExists(work + "kbmov4c.ari"));

    send(" ", "sh.exe");
    EXPECT_EQ(result()[0], "0");
    EXPECT_TRUE(contains(lines(home + "mkvrexn.log"), cp("Готово")));
    ASSERT_TRUE(fs::exists(home + "vrexn.exe"));
    fs::rename(home + "vrexn.exe", work + "vrexn.exe");

    send("opt(1,1,1,1,ru_run).", work + "vrexn.exe");
    EXPECT_EQ(result(), (Result{"0", "", cp("Иван Васильевич меняет профессию"), ""}));
    EXPECT_TRUE(contains(lines(work + "results.txt"), cp("Ответ: фильм = Иван Васильевич меняет профессию")));
    EXPECT_TRUE(contains(lines(work + "sdb.sdb"), cp("'жанр', 'комедия'")));
    EXPECT_TRUE(fs::exists(work + "prestrac.ari"));  // lower case; the workbench asks for Prestrac.ari
    EXPECT_TRUE(contains(lines(p::systemPath(work + "Prestrac.ari")), cp("выбрано правило 10")));
    EXPECT_TRUE(contains(lines(work + "esexp.ari"), cp("  фильм = Иван Васильевич меняет профессию")));
}

TEST_F(Standin, DemoTreeExpandsEachFactOnceAndStaysBounded) {
    // Thirty rules, each standing on both facts of the one before: expanding every use of a
    // fact would double the tree thirty times over.
    std::string rules;
    for (int i = 1; i <= 30; ++i) {
        const std::string was = std::to_string(i - 1), is = std::to_string(i);
        rules += "rule(" + is + ", 'step', [a" + was + " = y, b" + was + " = y], [a" + is + " = y, b" + is + " = y]).\n";
    }
    write(work + "chain.rul", rules);
    write(work + "chain.tsk", "fact(a0 = y).\nfact(b0 = y).\ngoal(a30).\n");
    write(work + "espar.txt", "espar\r\nchain.rul\r\nchain.tsk\r\n\r\n\r\n100\r\n1000\r\n");
    const auto start = std::chrono::steady_clock::now();
    send("opt(1,1,1,1,ru_run).");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(result()[0], "0");
    const auto tree = lines(work + "esexp.ari");
    EXPECT_LT(tree.size(), 30u * 4 + 3);  // a fact and its two conditions per step, at most
    EXPECT_EQ(tree[1], cp("  a30 = y   [правило 30, цикл 30]"));
    EXPECT_TRUE(contains(tree, cp("b28 = y   [правило 28, цикл 28]   (см. выше)")));

    // One rule on two thousand facts: the tree is cut, and says so.
    std::string conditions, facts;
    for (int i = 0; i < 2000; ++i) {
        conditions += (i ? ", f" : "f") + std::to_string(i) + " = y";
        facts += "fact(f" + std::to_string(i) + " = y).\n";
    }
    write(work + "chain.rul", "rule(1, 'wide', [" + conditions + "], [a30 = y]).\n");
    write(work + "chain.tsk", facts + "goal(a30).\n");
    write(work + "espar.txt", "espar\r\nchain.rul\r\nchain.tsk\r\n\r\n\r\n100\r\n5000\r\n");
    send("opt(1,1,1,1,ru_run).");
    EXPECT_EQ(result()[0], "0");
    const auto cut = lines(work + "esexp.ari");
    EXPECT_LT(cut.size(), 1100u);
    EXPECT_NE(cut.back().find(cp("обрезано")), std::string::npos) << cut.back();
}

TEST_F(Standin, DemoReportsAMissingRuleFileOrTask) {
    copyDemo();
    fs::remove(work + "KbMovem1.rul");
    send("opt(1,1,1,1,ru_comp).", "vrext.exe");
    EXPECT_EQ(result()[0], "1");
    EXPECT_TRUE(contains(lines(work + "comp.ari"), "KbMovem1.rul"));
    send("opt(1,1,1,1,ru_run).");
    EXPECT_EQ(result()[0], "1");
    send("not a goal");
    EXPECT_EQ(result()[0], "1");
}

TEST_F(Standin, DemoObjectStoreKeepsObjectsAcrossGoals) {
    copyDemo();
    send("opt(1,2,3,4,oblist).");
    EXPECT_EQ(result()[2], "5");
    const auto list = lines(work + "cgo.ari");
    ASSERT_EQ(list.size(), 15u);  // three lines per object
    EXPECT_EQ(list[0], "1");

    write(work + "cgl.ari", "[film,'Test',\r\n  [year,2024]]\r\n");
    send("opt(1,1,1,1,createob).");
    EXPECT_EQ(result(), (Result{"0", "", "6", ""}));
    send("opt(1,2,3,[6],showob)");
    EXPECT_EQ(lines(work + "cgo.ari"), (Result{"[film,'Test',", "  [year,2024]]"}));
    send("opt(1,2,3,[6],showcg)");
    EXPECT_TRUE(contains(lines(work + "cgo.ari"), "year"));

    write(work + "cgl.ari", "[film,'Changed']\r\n");
    send("opt(1,1,1,6,update).");
    send("opt(1,2,3,'changed',findob)");
    EXPECT_EQ(result()[0], "0");
    EXPECT_EQ(lines(work + "cgo.ari")[0], "6");
    send("opt(1,2,3,[comm,for,object(1)],findob).");
    EXPECT_EQ(lines(work + "cgo.ari")[0], "4");
    send("opt(1,2,3,[comm,for,object(6)],findob).");
    EXPECT_EQ(result()[0], "1");

    send("opt(1,1,1,[6],delob).");
    EXPECT_EQ(result()[0], "0");
    send("opt(1,2,3,[6],showob)");
    EXPECT_EQ(result()[0], "1");
    send("opt(1,2,3,4,oblist).");
    EXPECT_EQ(result()[2], "5");

    send("opt(1,1,1,Kb2,newKb).");
    EXPECT_EQ(result()[0], "0");
    send("opt(1,1,1,Kb2,newKb).");
    EXPECT_EQ(result()[0], "1");  // exists already
    send("opt(1,1,1,../x,newKb).");
    EXPECT_EQ(result()[0], "1");
}

TEST_F(Standin, DemoWritesModelsAndTraces) {
    copyDemo();
    send("opt(1,1,f,m1,runs).");
    EXPECT_TRUE(contains(lines(work + "m1.txt"), cp("жанр = комедия")));
    EXPECT_TRUE(contains(lines(work + "m2.txt"), cp("формат = кинотеатр")));
    EXPECT_EQ(lines(work + "m5.txt").front(), cp("% модель 5: вывод закончен на цикле 3, цель достигнута"));
    for (int set = 1; set <= 3; ++set) {
        send("opt(1,1,1," + std::to_string(set) + ",load).");
        EXPECT_EQ(result()[2], std::to_string(set == 1 ? 5 : set == 2 ? 4 : 6));
    }
    send("opt(1,1,1,1,tracelist).");
    const auto list = lines(work + "list.txt");
    ASSERT_EQ(list.size(), 15u);
    EXPECT_EQ(list[5].substr(0, 2), "6 ");
    send("opt(1,1,1,6,tracerule).");
    const auto trace = lines(work + "tracerule.txt");
    ASSERT_GE(trace.size(), 5u);
    EXPECT_EQ(trace[3], cp("если жанр = комедия   - да"));
    send("opt(1,1,1,6,bru_exp).");
    EXPECT_TRUE(contains(lines(work + "bexp.txt"), cp("нужно правилу 10")));
    send("opt(1,1,1,77,ru_exp).");
    EXPECT_EQ(result()[0], "1");
    EXPECT_TRUE(fs::exists(work + "exp.txt"));
}

}  // namespace
