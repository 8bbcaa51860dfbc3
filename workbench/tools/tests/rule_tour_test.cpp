// The rule tools on the demo project with the demo engine: the rule-base viewer on the first
// rule set, a rule opened from its grid in the rule editor, and the rule execution window
// after a run, a trace and one rule's trace. With TARNIX_SCREENSHOT_DIR set, a picture of each
// window is saved.
#include <QListWidget>
#include <QPushButton>

#include "Unit3.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit8.h"
#include "platform/platform.h"
#include "string_grid.h"
#include "tools_fixture.h"

namespace tarnix {
namespace {

using RuleTools = test::ToolWindowsTest;

TEST_F(RuleTools, OnTheDemoProject)
{
    ws.installDemo();
    Form3->resize(1024, 689);
    Form3->Show();
    Form3->PageControl1->setCurrentIndex(TForm3::FirstRulePage);
    EXPECT_GT(context.RuleSets[1].count, 3);
    EXPECT_EQ(Form3->StringGrids[0]->Cells(0, 1), "1");
    picture(Form3, "tool-rule-base");

    emit Form3->StringGrids[0]->cellSelected(1, 2);
    EXPECT_TRUE(Form5->isVisible());
    EXPECT_EQ(text(Form5->mmComm), context.RuleSets[1].entries[2].Comment);
    picture(Form5, "tool-rule-editor");

    Form5->bbRun->click();
    Form6->edLM->setText(QStringLiteral("0"));
    Form6->bbRun->click();
    EXPECT_FALSE(text(Form6->Memo1).empty());
    Form6->bbTrace->click();
    ASSERT_GT(Form6->ListBox1->count(), 2);
    Form6->ListBox1->setCurrentRow(2);
    emit Form6->ListBox1->itemClicked(Form6->ListBox1->item(2));
    EXPECT_FALSE(text(Form6->Memo1).empty());
    Form6->raise();
    picture(Form6, "tool-rule-execution");
    for (const auto& shown : ws.ui.shown())
        ADD_FAILURE() << shown.kind << ": " << platform::cp1251ToUtf8(shown.text);

    Form6->Button8->click();
    for (Form* window : {static_cast<Form*>(Form8), static_cast<Form*>(Form5), static_cast<Form*>(Form3)})
        window->Close();
}

}  // namespace
}  // namespace tarnix
