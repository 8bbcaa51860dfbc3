#include <QFocusEvent>
#include <QTabWidget>
#include <filesystem>

#include "main_fixture.h"
#include "text_area.h"

namespace tarnix {
namespace {

using test::MainWindowTest;

// The main window over a project with a rule file, a compile-parameter file and a task.
class ProjectTest : public MainWindowTest {
protected:
    explicit ProjectTest(const std::string& projectName = "work") : MainWindowTest(projectName)
    {
        ws.write(ws.work + "Kb1", "rule 1\r\nrule 2\r\n");
        ws.write(ws.work + "KbMovem1.rul", "source\r\n");
        ws.write(ws.work + "estrpar.ari", "estrfiles(\r\n'old',\r\n'KbMov4c.ari').\r\nopts(listing).\r\n5\r\n6\r\n");
        ws.write(ws.work + "t.tsk", "task text\r\n");
        w->FormActivate();
    }
    // Makes the engine answer every goal with success and write the given files.
    void engineWrites(const std::string& files) { ws.script("goal *\ncode 0\n" + files); }
    int goalsSent(const std::string& goal) const
    {
        const std::string log = ws.engineLog();
        int n = 0;
        for (std::size_t at = log.find(goal + "\n"); at != std::string::npos; at = log.find(goal + "\n", at + 1))
            ++n;
        return n;
    }
    void setRunFields(const char* kb, const char* task, const char* depth, const char* length)
    {
        w->edKb->setText(QString::fromUtf8(kb));
        w->edTask->setText(QString::fromUtf8(task));
        w->edDepth->setText(QString::fromUtf8(depth));
        w->edLength->setText(QString::fromUtf8(length));
    }
    void buildProgram()
    {
        ws.script("goal *\nprogram vrext.exe\ncode 0\nfile comp.ari listing\n");
        choose("CompileProject1");
        ws.ui.clear();
    }
};

// ---- KB compilation ------------------------------------------------------------------------

TEST_F(ProjectTest, CompileKbRewritesTheParametersAndShowsSourceAndListing)
{
    engineWrites("file comp.ari 1: rule 1\\r\\n2: rule 2\\r\\n\nfile kbmov4c.ari compiled\n");
    w->edKb->setText(toQt(ws.work + "Kb1"));
    choose("CompileKb1");
    EXPECT_EQ(ws.read(ws.work + "estrpar.ari"), "estrfiles(\r\n'Kb1',\r\n'KbMov4c.ari').\r\nopts(listing).\r\n");
    EXPECT_EQ(goalsSent("opt(1,1,1,1,ru_comp)."), 2);
    EXPECT_EQ(text(w->mmCompL), "rule 1\nrule 2");
    EXPECT_EQ(text(w->mmCompR), "1: rule 1\n2: rule 2");
    EXPECT_FALSE(ws.exists(ws.work + "kbmov4c.ari"));
    EXPECT_EQ(context.KbSourceName, "Kb1");
    EXPECT_TRUE(ws.ui.shown().empty());
}

TEST_F(ProjectTest, ShortParameterFileGetsAnEmptyFourthLineAndApostrophesAreDoubled)
{
    engineWrites("file comp.ari x\n");
    ws.write(ws.work + "estrpar.ari", "estrfiles(\r\n'a',\r\n");
    ws.write(ws.work + "o'k.rul", "r\r\n");
    w->edKb->setText(toQt(ws.work + "o'k.rul"));
    choose("CompileKb1");
    EXPECT_EQ(ws.read(ws.work + "estrpar.ari"), "estrfiles(\r\n'o''k.rul',\r\n'KbMov4c.ari').\r\n\r\n");
}

// One failure, one box: the second compilation's repeat and the missing listing of a failed
// compiler are not reported again.
TEST_F(ProjectTest, EngineErrorsAreReportedOnce)
{
    ws.script("goal *\ncode 1\nmessage syntax error in rule 2\nfile comp.ari listing\n");
    choose("CompileKb1");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Error in creating CG - syntax error in rule 2"});
    EXPECT_EQ(text(w->mmCompR), "listing");

    ws.ui.clear();
    std::filesystem::remove(ws.work + "comp.ari");
    ws.script("goal *\ncode 1\nmessage no rules\n");
    choose("CompileKb1");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Error in creating CG - no rules"});
    EXPECT_TRUE(ws.ui.errors().empty());
    EXPECT_EQ(text(w->mmCompR), "");
}

TEST_F(ProjectTest, EmptyKbFieldAsksForANameAndGoesOnWithTheSettings)
{
    engineWrites("file comp.ari listing\n");
    std::string kbDuringMessage = "unset";
    ws.ui.onMessage = [&](const std::string&) { kbDuringMessage = context.KbSourceName; };
    w->edKb->clear();
    choose("CompileKb1");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Set Kb name"});
    EXPECT_EQ(kbDuringMessage, "");
    EXPECT_EQ(text(w->edKb), ws.work + "Kb1");  // the activation filled it again
    EXPECT_EQ(text(w->mmCompL), "source");       // WorkDir + the "rusource" name
    EXPECT_EQ(goalsSent("opt(1,1,1,1,ru_comp)."), 2);
    EXPECT_EQ(ws.read(ws.work + "estrpar.ari").substr(0, 16), "estrfiles(\r\n'old");
}

TEST_F(ProjectTest, MissingParameterFileEndsTheCommandAfterTheFirstRun)
{
    engineWrites("file comp.ari listing\n");
    std::remove((ws.work + "estrpar.ari").c_str());
    w->mmCompR->setPlainText("earlier");
    choose("CompileKb1");
    EXPECT_EQ(ws.ui.errors(), std::vector<std::string>{"File not found."});
    EXPECT_EQ(goalsSent("opt(1,1,1,1,ru_comp)."), 1);
    EXPECT_EQ(text(w->mmCompR), "earlier");
}

TEST_F(ProjectTest, MissingListingEndsTheCommandAndKeepsTheCompiledFile)
{
    engineWrites("file kbmov4c.ari compiled\n");
    w->mmCompR->setPlainText("earlier");
    choose("CompileKb1");
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_EQ(ws.ui.errors()[0].rfind("Cannot open file \"" + ws.work + "comp.ari\". ", 0), 0u);
    EXPECT_EQ(text(w->mmCompR), "earlier");
    EXPECT_TRUE(ws.exists(ws.work + "kbmov4c.ari"));
}

TEST_F(ProjectTest, HugeAndBinaryListingsAreShown)
{
    std::string binary;  // every byte but CR, which a text area takes as a line break
    for (int i = 0; i < 1000; ++i)
        binary += static_cast<char>(i % 256 == '\r' ? 0xA0 : i % 256);
    ws.script("goal *\ncode 0\n");
    ws.write(ws.work + "comp.ari", binary);
    ws.script("goal *\ncode 0\n");
    choose("CompileKb1");
    EXPECT_TRUE(ws.ui.errors().empty());
    EXPECT_TRUE(GetLines(w->mmCompR) == splitLines(binary));

    const std::string line(99, 'x');
    std::string big;
    while (big.size() < 50u * 1024 * 1024)
        big += line + "\r\n";
    ws.write(ws.work + "comp.ari", big);
    choose("CompileKb1");
    EXPECT_EQ(w->mmCompR->lineCount(), static_cast<int>(big.size() / 101));
}

// ---- project build -------------------------------------------------------------------------

TEST_F(ProjectTest, BuildMovesTheProgramAndTheSettingsIntoTheProject)
{
    ws.script("goal *\nprogram vrext.exe\ncode 0\nfile comp.ari listing\n");
    ws.write(ws.home + "kbmov4.ari", "x");
    choose("CompileProject1");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"true"});
    EXPECT_EQ(ws.read(ws.work + "invc23.ari"), " ");
    EXPECT_FALSE(text(w->mmCompL).empty());  // the build log
    EXPECT_TRUE(ws.exists(ws.work + "vrexn.exe"));
    EXPECT_FALSE(ws.exists(ws.home + "vrexn.exe"));
    EXPECT_EQ(ws.read(ws.work + "ordo.ini"), ws.read(ws.home + "Ordo.ini"));
    EXPECT_FALSE(ws.exists(ws.home + "kbmov4.ari"));
    EXPECT_EQ(goalsSent("opt(1,1,1,1,ru_comp)."), 1);
    EXPECT_EQ(ws.read(ws.home + "cf.bat"),
              "move vrexn.exe \"" + ws.work + "vrexn.exe\"\r\ncopy ordo.ini \"" + ws.work + "ordo.ini\"\r\n");
}

// A compilation cancelled part-way fails as any failed compilation does, and the build goes on:
// "true" comes while the build program runs, before the wait for it.
TEST_F(ProjectTest, BuildGoesOnAfterTheCompilationIsCancelled)
{
    ws.script("goal opt(1,1,1,1,ru_comp).\nchild kid.pid\nhang 60\ngoal  \ncode 0\n");
    int group = 0;
    std::vector<std::string> messagesWhileBuilding;
    ws.ui.onWait = [&](const ScriptedUi::Wait& wait) {
        if (wait.program == "vrext.exe") {
            ws.ui.cancelAfter = std::chrono::seconds(1);
            group = ws.childGroup("kid.pid");
        } else {
            ws.ui.cancelAfter.reset();
            messagesWhileBuilding = ws.ui.messages();
        }
    };
    choose("CompileProject1");
    const std::vector<std::string> messages{"Error in creating CG - cancelled", "true"};
    EXPECT_EQ(ws.ui.messages(), messages);
    EXPECT_EQ(messagesWhileBuilding, messages);
    ASSERT_GT(group, 0);
    EXPECT_FALSE(test::Workspace::groupAlive(group));
    EXPECT_EQ(ws.ui.waits(), (std::vector<ScriptedUi::Wait>{{"vrext.exe", "opt(1,1,1,1,ru_comp).", true},
                                                            {"sh.exe", " ", false}}));
    EXPECT_TRUE(ws.exists(ws.work + "vrexn.exe"));
}

TEST_F(ProjectTest, BuildAfterOpeningAnotherProjectMovesTheProgramThere)
{
    const std::string other = ws.root + "other/";
    std::filesystem::create_directory(other);
    ws.write(other + "estrpar.ari", "estrfiles(\r\n");
    ws.ui.answerDialog(other + "p.tnx");
    choose("OpenProject1");
    buildProgram();
    EXPECT_TRUE(ws.exists(other + "vrexn.exe"));
    EXPECT_FALSE(ws.exists(ws.work + "vrexn.exe"));
}

TEST_F(ProjectTest, BuildWithoutAProgramSaysSoAndLeavesTheOldOne)
{
    ws.write(ws.work + "vrexn.exe", "old program");
    ws.script("goal *\nprogram sh.exe\nno-build\ncode 0\nhome-file mkvrexn.log link failed\n"
              "goal *\ncode 0\nfile comp.ari x\n");
    choose("CompileProject1");
    EXPECT_EQ(ws.ui.messages(), (std::vector<std::string>{"true", cp1251("Исполнительный файл не найден")}));
    EXPECT_EQ(text(w->mmCompL), "link failed");
    EXPECT_TRUE(ws.exists(ws.home + "cf.bat"));
    EXPECT_EQ(ws.read(ws.work + "vrexn.exe"), "old program");
}

TEST_F(ProjectTest, BuildProgramThatLeavesNoAnswerDoesNotStopTheBuild)
{
    ws.script("goal *\nprogram sh.exe\nno-result\ngoal *\ncode 0\nfile comp.ari listing\n");
    choose("CompileProject1");
    EXPECT_TRUE(ws.ui.errors().empty());
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"true"});
    EXPECT_FALSE(text(w->mmCompL).empty());  // the build log
    EXPECT_TRUE(ws.exists(ws.work + "vrexn.exe"));
}

TEST_F(ProjectTest, BuildWithoutALogEndsBeforeTheBatchFile)
{
    ws.script("goal *\nprogram sh.exe\nno-build\ncode 0\ngoal *\ncode 0\n");
    choose("CompileProject1");
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_NE(ws.ui.errors()[0].find("mkvrexn.log"), std::string::npos);
    EXPECT_FALSE(ws.exists(ws.home + "cf.bat"));
}

class AwkwardFolderTest : public ProjectTest {
protected:
    AwkwardFolderTest() : ProjectTest("my proj & co |^%x%") {}
};

TEST_F(AwkwardFolderTest, BuildMovesTheProgramIntoAFolderWithBlanksAndSymbols)
{
    buildProgram();
    EXPECT_TRUE(ws.exists(ws.work + "vrexn.exe"));
    EXPECT_TRUE(ws.exists(ws.work + "ordo.ini"));
    EXPECT_NE(ws.read(ws.home + "cf.bat").find("%%x%%"), std::string::npos);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(ws.root))
        ++entries;
    EXPECT_EQ(entries, 3u);  // home, the project and the script: nothing landed beside them
}

// A double quote cannot stand inside the quoted target of a batch line.
class QuotedFolderTest : public ProjectTest {
protected:
    QuotedFolderTest() : ProjectTest("say \"x\" here") {}
};

TEST_F(QuotedFolderTest, BuildEndsWithAMessageBeforeAnyEngineStartsOrAnythingMoves)
{
    ws.script("goal *\nprogram vrext.exe\ncode 0\nfile comp.ari listing\n");
    ws.write(ws.home + "vrexn.exe", "program of an earlier build");
    w->mmCompL->setPlainText("earlier log");
    choose("CompileProject1");
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_EQ(ws.ui.errors()[0].rfind("Cannot build into the folder \"" + ws.work + "\"", 0), 0u);
    EXPECT_TRUE(ws.ui.messages().empty());  // not even the "true" of a started build program
    EXPECT_EQ(ws.engineLog(), "");
    EXPECT_FALSE(ws.exists(ws.home + "cf.bat"));
    EXPECT_EQ(ws.read(ws.home + "vrexn.exe"), "program of an earlier build");
    EXPECT_EQ(text(w->mmCompL), "earlier log");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(ws.root))
        ++entries;
    EXPECT_EQ(entries, 3u);  // home, the project and the script
}

// ---- running a task ------------------------------------------------------------------------

TEST_F(ProjectTest, RunWritesBothParameterFilesAndShowsTaskAndResults)
{
    buildProgram();
    ws.write(ws.work + "t.arb", "intermediate");
    ws.write(ws.work + "prestrac.ari", "old trace");
    engineWrites("file results.txt answer: yes\\r\\n\n");
    setRunFields("", "t.tsk", "5", "100");
    choose("Run1");
    EXPECT_EQ(ws.read(ws.work + "espar.txt"), "espar\r\n\r\nt.tsk\r\ntriproc\r\n1\r\n5\r\n100\r\n");
    EXPECT_EQ(ws.read(ws.work + "espar.ari"), "espar(\r\n'',\r\n't.tsk',\r\ntriproc,\r\n1,\r\n5,\r\n100).\r\n");
    EXPECT_EQ(goalsSent("opt(1,1,1,1,ru_run)."), 1);
    EXPECT_EQ(text(w->mmTask), "task text");
    EXPECT_EQ(text(w->mmTree), "answer: yes");
    EXPECT_EQ(text(w->mmTrace), "");
    EXPECT_FALSE(ws.exists(ws.work + "t.arb"));
    EXPECT_FALSE(ws.exists(ws.work + "prestrac.ari"));
    EXPECT_EQ(context.TaskFileName, "t.tsk");

    w->PageControl1->setCurrentWidget(w->TabSheetTrace);  // the run left no trace
    EXPECT_EQ(text(w->mmTrace), "");
}

TEST_F(ProjectTest, RunShowsEverySheetOfTheDemoEngine)
{
    for (const char* name : {"KbMovem1.rul", "task2.tsk"})
        std::filesystem::copy_file(std::string(TARNIX_DEMO_DIR) + name, ws.work + name,
                                   std::filesystem::copy_options::overwrite_existing);
    buildProgram();
    ws.script("");
    setRunFields("KbMovem1.rul", "task2.tsk", "5", "100");
    choose("Run1");
    for (const auto& shown : ws.ui.shown())
        ADD_FAILURE() << shown.kind << ": " << platform::cp1251ToUtf8(shown.text);
    for (QWidget* sheet : {w->TabSheetPresdb, w->TabSheetTrace, w->TabSheetTree})
        w->PageControl1->setCurrentWidget(sheet);
    EXPECT_FALSE(text(w->mmTree).empty());
    EXPECT_FALSE(text(w->mmPresdb).empty());
    EXPECT_FALSE(text(w->mmTrace).empty());
    EXPECT_FALSE(text(w->mmEsExp).empty());
}

TEST_F(ProjectTest, ApostrophesAreDoubledInTheTermOnly)
{
    buildProgram();
    engineWrites("");
    setRunFields("d'kb", "it's.tsk", "1", "2");
    choose("Run1");
    EXPECT_NE(ws.read(ws.work + "espar.ari").find("'d''kb',\r\n'it''s.tsk',"), std::string::npos);
    EXPECT_NE(ws.read(ws.work + "espar.txt").find("d'kb\r\nit's.tsk\r\n"), std::string::npos);
}

TEST_F(ProjectTest, MissingParameterRunsWithTheEarlierOnes)
{
    buildProgram();
    engineWrites("");
    setRunFields("k", "t.tsk", "3", "30");
    choose("Run1");
    setRunFields("k", "t.tsk", "", "30");
    ws.write(ws.work + "prestrac.ari", "kept");
    choose("Run1");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Set all Run parameters"});
    EXPECT_EQ(text(w->edDepth), "3");  // the activation put the saved value back
    EXPECT_EQ(goalsSent("opt(1,1,1,1,ru_run)."), 2);
    EXPECT_TRUE(ws.exists(ws.work + "prestrac.ari"));
}

TEST_F(ProjectTest, RunWithoutParametersOrProgramStartsNothing)
{
    ws.write(ws.work + "espar.txt", "espar\r\n");
    w->FormActivate();
    choose("Run1");
    EXPECT_EQ(ws.ui.messages(), (std::vector<std::string>{"Set all Run parameters",
                                                          "Not exists exe parameters file - " + ws.work + "espar.ari"}));
    ws.ui.clear();
    setRunFields("k", "t.tsk", "1", "1");
    w->mmTree->setPlainText("old");
    choose("Run1");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{cp1251("Выполнение не запущено - ")});
    EXPECT_EQ(text(w->mmTree), "");
}

TEST_F(ProjectTest, FailedRunReportsAndShowsNothing)
{
    buildProgram();
    ws.script("goal *\ncode 3\nmessage depth exceeded\nfile results.txt partial\n");
    setRunFields("k", "t.tsk", "1", "1");
    choose("Run1");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{cp1251("Ошибка выполнения - depth exceeded")});
    EXPECT_EQ(text(w->mmTree), "");
    EXPECT_EQ(text(w->mmTask), "");
}

TEST_F(ProjectTest, TaskNamesWithoutADotRun)
{
    buildProgram();
    engineWrites("");
    for (const char* task : {"task2", ".", "t."}) {
        setRunFields("k", task, "1", "1");
        choose("Run1");
    }
    EXPECT_TRUE(ws.ui.shown().empty());
    EXPECT_EQ(goalsSent("opt(1,1,1,1,ru_run)."), 3);
}

TEST_F(ProjectTest, ReadOnlyProjectFolderGivesAClearMessage)
{
    if (!ws.makeReadOnly(ws.work))
        GTEST_SKIP() << "cannot make a folder read-only here";
    setRunFields("k", "t.tsk", "1", "1");
    choose("Run1");
    EXPECT_EQ(ws.ui.errors(), std::vector<std::string>{"File access denied."});
    choose("CompileKb1");
    EXPECT_EQ(ws.ui.errors().back(), "File access denied.");
}

// ---- result sheets -------------------------------------------------------------------------

TEST_F(ProjectTest, SheetsLoadTheirFilesWhenShown)
{
    ws.write(ws.work + "sdb.sdb", "db\r\n");
    ws.write(ws.work + "prestrac.ari", "trace\r\n");
    ws.write(ws.work + "esexp.ari", "tree\r\n");
    for (QWidget* sheet : {w->TabSheetPresdb, w->TabSheetTrace, w->TabSheetTree})
        w->PageControl1->setCurrentWidget(sheet);
    EXPECT_EQ(text(w->mmPresdb), "db");
    EXPECT_EQ(text(w->mmTrace), "trace");
    EXPECT_EQ(text(w->mmEsExp), "tree");
    EXPECT_TRUE(ws.ui.shown().empty());
}

TEST_F(ProjectTest, TaskSheetDiscardsTypingWhenShownAgain)
{
    w->edTask->setText("t.tsk");
    w->PageControl1->setCurrentWidget(w->Task);
    w->mmTaskText->setPlainText("typed");
    w->PageControl1->setCurrentWidget(w->TabSheetText);
    w->PageControl1->setCurrentWidget(w->Task);
    EXPECT_EQ(text(w->mmTaskText), "task text");
    EXPECT_EQ(context.TaskFileName, "t.tsk");
}

TEST_F(ProjectTest, DatabaseSheetOnFocusReadsWithoutLookingFirst)
{
    pressKeyOnAboutBox();
    w->Show();
    w->PageControl1->setCurrentWidget(w->TabSheetPresdb);
    QFocusEvent byClick(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(w->mmPresdb, &byClick);
    QFocusEvent byWindow(QEvent::FocusIn, Qt::ActiveWindowFocusReason);  // back from a message box
    QCoreApplication::sendEvent(w->mmPresdb, &byWindow);
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_EQ(ws.ui.errors()[0].rfind("Cannot open file \"" + ws.work + "sdb.sdb\". ", 0), 0u);
    ws.write(ws.work + "sdb.sdb", "records\r\n");
    w->TabSheetPresdbContextPopup();
    EXPECT_EQ(text(w->mmPresdb), "records");
    w->hide();
}

}  // namespace
}  // namespace tarnix
