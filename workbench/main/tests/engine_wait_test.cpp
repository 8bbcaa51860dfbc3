// Engine runs seen by a user: the real progress window, the windows repainting, no second
// command, closing the main window during a run.
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "Unit15.h"
#include "main_fixture.h"
#include "qt_ui.h"

namespace tarnix {
namespace {

// The main window with the real Ui, whose message boxes are answered (Yes where asked) and
// recorded as they come up.
class EngineWaitTest : public test::MainWindowTest {
protected:
    EngineWaitTest()
    {
        setUi(&qtUi);
        QObject::connect(&answerer, &QTimer::timeout, [this] { answerBox(); });
        answerer.start(50);
        w->show();
    }
    ~EngineWaitTest() override { setUi(&ws.ui); }

    void answerBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        boxes.push_back(box->text());
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        (yes ? yes : box->button(QMessageBox::Ok))->click();
    }
    static QWidget* progressWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String(ProgressWindowName) && widget->isVisible())
                return widget;
        return nullptr;
    }
    static QString label(const char* name)
    {
        const auto* l = progressWindow()->findChild<QLabel*>(QLatin1String(name));
        return l ? l->text() : QString();
    }
    // Presses and releases the left button over `widget` at `at`, as the user does.
    static void click(QWidget* widget, QPoint at)
    {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        }
    }
    static void click(QWidget* widget) { click(widget, widget->rect().center()); }
    static void after(int ms, std::function<void()> step) { QTimer::singleShot(ms, qApp, std::move(step)); }

    QtUi qtUi;
    QTimer answerer;
    QStringList boxes;
    std::string code, value;
};

// Cancel in the progress window ends the engine and what it started; the call fails with the
// message, and the next goal works.
TEST_F(EngineWaitTest, CancelInTheProgressWindowEndsTheEngine)
{
    ws.script("goal opt(1,2,3,4,oblist).\nchild kid.pid\nhang 60\ngoal *\ncode 0\nvalue 7\n");
    bool shownEarly = true;
    QString program, goal, elapsed;
    int group = 0;
    after(200, [&] { shownEarly = progressWindow() != nullptr; });
    after(1300, [&] {
        group = ws.childGroup("kid.pid");
        ASSERT_NE(progressWindow(), nullptr);
        program = label("lbProgram");
        goal = label("lbGoal");
        elapsed = label("lbElapsed");
        click(progressWindow()->findChild<QPushButton*>(QStringLiteral("bbCancel")));
    });
    RunGoal("opt(1,2,3,4,oblist).", code, value);
    EXPECT_FALSE(shownEarly);
    EXPECT_EQ(program, QStringLiteral("Running vrex.exe"));
    EXPECT_EQ(goal, QStringLiteral("Goal: opt(1,2,3,4,oblist)."));
    EXPECT_EQ(elapsed, QStringLiteral("Elapsed: 0:01"));
    EXPECT_EQ(code, "2");
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Error in creating CG - cancelled")});
    ASSERT_GT(group, 0);
    EXPECT_FALSE(test::Workspace::groupAlive(group));
    EXPECT_EQ(progressWindow(), nullptr);

    RunGoal("g.", code, value);
    EXPECT_EQ(code, "0");
    EXPECT_EQ(value, "7");
}

// During a 3-second goal the main window repaints, and neither a menu of the main window nor
// a tool window's button does anything.
TEST_F(EngineWaitTest, WindowsRepaintButTakeNoCommandDuringARun)
{
    ws.script("goal *\nhang 3\ncode 0\n");
    int paints = 0;
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            *count += e->type() == QEvent::Paint;
            return false;
        }
    } counter(&paints);
    w->mmCompL->viewport()->installEventFilter(&counter);
    QTimer changer;
    int changes = 0;
    QObject::connect(&changer, &QTimer::timeout, [&] { w->mmCompL->setPlainText(QString::number(++changes)); });
    changer.start(200);

    ASSERT_NE(Form15, nullptr);
    Form15->show();
    Form15->edFun->setText(QStringLiteral("delseq"));
    Form15->eda1->setText(QStringLiteral("aab"));
    bool menuOpened = true;
    after(700, [&] {
        QMenuBar* bar = w->menuBar();
        click(bar, bar->actionGeometry(bar->actions().first()).center());
        menuOpened = QApplication::activePopupWidget() != nullptr;
        click(Form15->Button1);
    });
    RunGoal("g.", code, value);
    changer.stop();
    w->mmCompL->viewport()->removeEventFilter(&counter);
    EXPECT_EQ(code, "0");
    EXPECT_GE(changes, 10);
    EXPECT_GE(paints, 10);
    EXPECT_FALSE(menuOpened);
    EXPECT_TRUE(Form15->edres->text().isEmpty());
    // Afterwards the same button works.
    click(Form15->Button1);
    EXPECT_FALSE(Form15->edres->text().isEmpty());
    Form15->hide();
}

// The trace sheet on show follows the trace while the engine writes it, and shows the file as it
// is when the run ends.
TEST_F(EngineWaitTest, TheSheetOnShowFollowsTheRun)
{
    ws.write(ws.work + "Kb1", "rule 1\r\n");
    ws.write(ws.work + "estrpar.ari", "estrfiles(\r\n'old',\r\n'KbMov4c.ari').\r\nopts(listing).\r\n5\r\n6\r\n");
    ws.write(ws.work + "t.tsk", "task\r\n");
    w->FormActivate();
    ws.script("goal *\nprogram vrext.exe\ncode 0\nfile comp.ari listing\n");
    choose("CompileProject1");
    boxes.clear();
    ws.script("goal *\nhang 1.5\ncode 0\nfile prestrac.ari final\r\n\n");
    for (auto [field, value] : {std::pair{w->edKb, "Kb1"}, {w->edTask, "t.tsk"}, {w->edDepth, "5"}, {w->edLength, "100"}})
        field->setText(QString::fromLatin1(value));
    w->PageControl1->setCurrentWidget(w->TabSheetTrace);
    QString during;
    after(300, [&] { ws.write(ws.work + "prestrac.ari", "step 1\r\n"); });
    after(600, [&] { ws.write(ws.work + "prestrac.ari", "step 1\r\nstep 2\r\n"); });
    after(1000, [&] { during = w->mmTrace->toPlainText(); });
    choose("Run1");
    EXPECT_EQ(during, QStringLiteral("step 1\nstep 2"));
    EXPECT_EQ(text(w->mmTrace), "final");
    EXPECT_FALSE(w->mmTrace->following());
    EXPECT_EQ(boxes, QStringList{});
}

// Closing the main window during a run asks; once answered, the engine is ended first and the
// program ends after it.
TEST_F(EngineWaitTest, ClosingTheMainWindowCancelsTheRunAndThenEnds)
{
    ws.write(ws.work + "Kb1", "rule 1\r\n");
    ws.write(ws.work + "estrpar.ari", "estrfiles(\r\n'old',\r\n'KbMov4c.ari').\r\nopts(listing).\r\n5\r\n6\r\n");
    ws.script("goal *\nchild kid.pid\nhang 60\n");
    int group = 0;
    bool aliveAtClose = true;
    struct HideWatch : QObject {
        std::function<void()> onHide;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Hide && onHide)
                onHide();
            return false;
        }
    } watch;
    watch.onHide = [&] { aliveAtClose = group == 0 || test::Workspace::groupAlive(group); };
    w->installEventFilter(&watch);
    QTimer::singleShot(0, w, [this] { choose("CompileKb1"); });
    after(1000, [&] {
        group = ws.childGroup("kid.pid");
        w->close();
    });
    QTimer stop;  // ends a program that would otherwise go on
    QObject::connect(&stop, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stop.start(20000);
    EXPECT_EQ(QApplication::exec(), 0);
    w->removeEventFilter(&watch);
    ASSERT_FALSE(boxes.isEmpty());
    EXPECT_TRUE(boxes.first().startsWith(QStringLiteral("An engine program is running")));
    EXPECT_FALSE(w->isVisible());
    ASSERT_GT(group, 0);
    EXPECT_FALSE(aliveAtClose);
}

}  // namespace
}  // namespace tarnix
