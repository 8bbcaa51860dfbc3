// The rule execution window: running a model, the trace list and the trace of one rule with
// its two explanations.
#include <QListWidget>

#include "rule_tools_fixture.h"

namespace tarnix {
namespace {

using test::RuleToolsTest;
using Strings = std::vector<std::string>;

QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

TEST_F(RuleToolsTest, RunShowsTheTwoModelsOfTheModelNumber)
{
    for (int k = 0; k <= 2; ++k)
        ws.write(ModelPath(k), "model " + std::to_string(k) + "\r\nline 2\r\n");
    const struct {
        const char* edLM;
        const char* goal;  // none: nothing is sent
        const char* left;
        const char* right;
    } cases[] = {
        {"", "opt(1,1,f,m0,runs).", "model 0\nline 2", "model 1\nline 2"},
        {"x", "opt(1,1,f,m0,runs).", "model 0\nline 2", "model 1\nline 2"},
        {"0", "opt(1,1,f,m0,runs).", "model 0\nline 2", "model 1\nline 2"},
        {"1", "opt(1,1,f,m1,runs).", "model 1\nline 2", "model 2\nline 2"},
        {"2", nullptr, "Memo1", "Memo2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edLM);
        std::remove((ws.work + "standin.log").c_str());
        Form6->Memo1->setPlainText(QStringLiteral("Memo1"));
        Form6->Memo2->setPlainText(QStringLiteral("Memo2"));
        Form6->edLM->setText(QString::fromLatin1(c.edLM));
        Form6->bbRun->click();
        EXPECT_EQ(goals(), c.goal ? Strings{c.goal} : Strings{});
        EXPECT_EQ(text(Form6->Memo1), c.left);
        EXPECT_EQ(text(Form6->Memo2), c.right);
    }
    EXPECT_TRUE(ws.ui.shown().empty());
}

TEST_F(RuleToolsTest, TraceFillsTheListOnceAndShowsTheM1ViewerThatExitCloses)
{
    ws.write(ws.work + "list.txt", cp1251("12 правило двенадцать\r\nnorule\r\n"));
    Form6->ListBox1->addItem(QStringLiteral("old"));
    Form6->bbTrace->click();
    EXPECT_EQ(entries(Form6->ListBox1), (QStringList{"12 правило двенадцать", "norule"}));
    EXPECT_EQ(goals(), (Strings{"opt(1,1,1,1,tracelist).", "opt(1,1,1,1,tracelist)."}));
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_TRUE(ws.ui.shown().empty());

    std::remove((ws.work + "list.txt").c_str());
    Form6->bbTrace->click();
    EXPECT_EQ(ws.ui.messages(), Strings{"Not exists file - " + ws.work + "list.txt"});  // once
    EXPECT_EQ(Form6->ListBox1->count(), 0);

    Form6->Show();
    Form6->Button8->click();  // Exit closes the "M1" viewer too
    EXPECT_FALSE(Form6->isVisible());
    EXPECT_FALSE(Form2->isVisible());
}

TEST_F(RuleToolsTest, ShowRuleSplitsTheTraceIntoSectionsAndFillsBothViewers)
{
    ws.write(ws.work + "tracerule.txt", "h1\r\nh2\r\nh3\r\na1\r\n-x\r\na2\r\nx\r\nb1\r\n--y\r\nc1\r\n\r\nlater\r\n");
    ws.write(ws.work + "exp.txt", "why\r\n");
    ws.write(ws.work + "bexp.txt", "what for\r\n");
    Form6->ListBox1->addItems({QStringLiteral("12 rule twelve [1]"), QStringLiteral("norule")});
    Form6->ListBox1->setCurrentRow(0);
    emit Form6->ListBox1->itemClicked(Form6->ListBox1->item(0));

    EXPECT_EQ(text(Form6->edRule), "12");
    EXPECT_EQ(goals(), (Strings{"opt(1,1,1,12,tracerule).", "opt(1,1,1,12,ru_exp).", "opt(1,1,1,12,bru_exp)."}));
    EXPECT_EQ(text(Form6->Memo1), "a1\n-x\na2");  // "-x" ends no section, "x" does
    EXPECT_EQ(text(Form6->Memo2), "b1");
    EXPECT_EQ(text(Form2->edRn), "12");
    EXPECT_EQ(text(Form2->Memo1), "why");
    EXPECT_EQ(text(Form8->Memo1), "what for");
    EXPECT_TRUE(Form8->isVisible());

    std::remove((ws.work + "standin.log").c_str());
    ws.write(ws.work + "tracerule.txt", "h1\r\nh2\r\nh3\r\n");  // headings only
    emit Form6->ListBox1->itemClicked(Form6->ListBox1->item(1));
    EXPECT_EQ(text(Form6->edRule), "");
    EXPECT_EQ(goals(), (Strings{"opt(1,1,1,,tracerule).", "opt(1,1,1,,ru_exp).", "opt(1,1,1,,bru_exp)."}));
    EXPECT_EQ(text(Form6->Memo1), "");
    EXPECT_EQ(text(Form6->Memo2), "");
    EXPECT_TRUE(ws.ui.shown().empty());
    Form8->hide();
}

TEST_F(RuleToolsTest, TraceSectionsEndAtShortOrDashedLinesAndAtTheEndOfTheFile)
{
    const struct {
        Strings file;
        std::array<Strings, 3> sections;
    } cases[] = {
        {{"h", "h", "h", "a1", "-", "b1", "", "c1", "--"}, {{{"a1"}, {"b1"}, {"c1"}}}},
        {{"h", "h", "h", "a1", "-a", "--b", "c1"}, {{{"a1", "-a"}, {"c1"}, {}}}},
        {{"h", "h", "h", "a1", "b1"}, {{{"a1", "b1"}, {}, {}}}},
        {{"h", "h", "h", "a1", "x", "x", "c1", "!", "d1"}, {{{"a1"}, {}, {"c1"}}}},
        {{"h"}, {{{}, {}, {}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TraceSections(c.file), c.sections);
}

TEST_F(RuleToolsTest, AMissingTraceFileStopsShowRuleAfterItsFirstSteps)
{
    Form6->Memo1->setPlainText(QStringLiteral("kept"));
    Form6->ListBox1->addItem(QStringLiteral("7 seven"));
    emit Form6->ListBox1->itemClicked(Form6->ListBox1->item(0));
    EXPECT_EQ(ws.ui.errors(), Strings{"File not found."});
    EXPECT_EQ(text(Form6->edRule), "7");
    EXPECT_EQ(goals(), Strings{"opt(1,1,1,7,tracerule)."});
    EXPECT_EQ(text(Form6->Memo1), "kept");
    EXPECT_FALSE(Form8->isVisible());

    ws.write(ws.work + "tracerule.txt", "h\r\nh\r\nh\r\nnow\r\n");  // and it goes on working
    ws.write(ws.work + "exp.txt", "e\r\n");
    ws.write(ws.work + "bexp.txt", "b\r\n");
    emit Form6->ListBox1->itemClicked(Form6->ListBox1->item(0));
    EXPECT_EQ(text(Form6->Memo1), "now");
    Form8->hide();
}

// Missing, empty, binary and very large engine files: a clear message or a plain result,
// and the window goes on working with what it showed.
TEST_F(RuleToolsTest, BadEngineFilesGiveAClearMessageAndTheWindowGoesOn)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>(i * 37 % 256);
    std::string huge(10 << 20, 'w');  // one 10 MB line in 50 MB
    huge += "\r\n";
    while (huge.size() < (50u << 20))
        huge += std::string(1000, 'z') + "\r\n";
    const std::string empty;
    const std::string tooLong = "Line too long to show (over 65536 characters) - ";

    const struct {
        const char* name;
        const std::string* bytes;  // none: the file is missing
        Strings runErrors;
        Strings traceMessages;
        Strings traceErrors;
    } cases[] = {
        {"missing", nullptr, {"File not found."}, {"Not exists file - " + ws.work + "list.txt"}, {}},
        {"empty", &empty, {}, {}, {}},
        {"binary", &binary, {}, {}, {}},
        {"huge", &huge, {}, {}, {tooLong + ws.work + "list.txt."}},  // only the list cannot show it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* name : {"m0.txt", "m1.txt", "list.txt", "tracerule.txt"}) {
            std::remove((ws.work + name).c_str());
            if (c.bytes)
                ws.write(ws.work + name, (name == std::string("tracerule.txt") ? "h\r\nh\r\nh\r\n" : "") + *c.bytes);
        }
        ws.write(ws.work + "exp.txt", "e\r\n");
        ws.write(ws.work + "bexp.txt", "b\r\n");
        ws.ui.clear();
        Form6->Memo1->setPlainText(QStringLiteral("before"));
        Form6->bbRun->click();
        EXPECT_EQ(ws.ui.errors(), c.runErrors);
        if (c.runErrors.empty())
            EXPECT_EQ(context.Models[0].count + context.Models[0].linesNotRead, static_cast<int>(splitLines(*c.bytes).size()));
        else
            EXPECT_TRUE(text(Form6->Memo1) == "before");

        ws.ui.clear();
        Form6->ListBox1->clear();
        Form6->ListBox1->addItem(QStringLiteral("12 before"));
        Form6->bbTrace->click();
        EXPECT_EQ(ws.ui.messages(), c.traceMessages);
        EXPECT_EQ(ws.ui.errors(), c.traceErrors);
        const int listed = c.bytes && c.traceErrors.empty() ? static_cast<int>(splitLines(*c.bytes).size()) : 0;
        EXPECT_EQ(Form6->ListBox1->count(), c.traceErrors.empty() ? listed : 1);
        Form2->hide();

        ws.ui.clear();
        Form6->Memo1->setPlainText(QStringLiteral("before"));
        Form6->ListBox1->clear();
        Form6->ListBox1->addItem(QStringLiteral("12 before"));
        emit Form6->ListBox1->itemClicked(Form6->ListBox1->item(0));
        const Strings traceErrors[] = {{"File not found."}, {}, {}, {}};
        EXPECT_EQ(ws.ui.errors(), traceErrors[&c - cases]);
        if (!ws.ui.errors().empty()) {
            EXPECT_TRUE(text(Form6->Memo1) == "before");
        }
        Form8->hide();
    }
    Form6->bbRun->click();  // and with good files again all is well
}

}  // namespace
}  // namespace tarnix
