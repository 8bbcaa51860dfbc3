#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "main_fixture.h"

namespace tarnix {
namespace {

using test::MainWindowTest;
using AboutBoxTest = MainWindowTest;

// Shows the splash; `whileShown` runs once the box is up.
void showSplash(std::function<void()> whileShown)
{
    QTimer::singleShot(0, AboutBox, std::move(whileShown));
    AboutBox->ShowSplash();
}

TEST_F(AboutBoxTest, LaysOutItsPanelAndTexts)
{
    EXPECT_TRUE(AboutBox->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(AboutBox->size(), QSize(367, 218));
    EXPECT_EQ(AboutBox->Panel1->geometry(), QRect(10, 10, 346, 198));
    EXPECT_EQ(AboutBox->ProductName->text(), QStringLiteral("Tarnix - экспертные системы"));
    EXPECT_EQ(AboutBox->Version->text(), QStringLiteral("версия  1.02 "));
    EXPECT_EQ(AboutBox->Version->pos(), QPoint(116, 71));
    EXPECT_EQ(AboutBox->Image1->geometry(), QRect(20, 49, 40, 41));
    EXPECT_FALSE(AboutBox->Image1->pixmap().isNull());
}

TEST_F(AboutBoxTest, ClosesOnItsTimerAfterTenSeconds)
{
    int interval = 0;
    bool active = false;
    showSplash([&] {
        interval = AboutBox->Timer1->interval();
        active = AboutBox->Timer1->isActive();
        AboutBox->Timer1->start(20);  // let the test not wait the full ten seconds
    });
    EXPECT_EQ(interval, 10000);
    EXPECT_TRUE(active);
    EXPECT_FALSE(AboutBox->isVisible());
    EXPECT_FALSE(AboutBox->Timer1->isActive());
}

TEST_F(AboutBoxTest, ClosesOnAKeyAndOnAMouseMoveOverItsMargin)
{
    showSplash([] { pressKeyOnAboutBox(); });
    EXPECT_FALSE(AboutBox->isVisible());
    EXPECT_FALSE(AboutBox->Timer1->isActive());

    showSplash([] {
        const QPointF margin(4, 4);
        QCoreApplication::postEvent(AboutBox->centralWidget(),
                                    new QMouseEvent(QEvent::MouseMove, margin, AboutBox->mapToGlobal(margin),
                                                    Qt::NoButton, Qt::NoButton, Qt::NoModifier));
    });
    EXPECT_FALSE(AboutBox->isVisible());
}

TEST_F(AboutBoxTest, ClickOnALabelDoesNothingButOnThePanelCloses)
{
    bool stillShown = false;
    showSplash([&] {
        const QPointF at(2, 2);
        QMouseEvent release(QEvent::MouseButtonRelease, at, AboutBox->ProductName->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(AboutBox->ProductName, &release);
        stillShown = AboutBox->isVisible();
        QMouseEvent onPanel(QEvent::MouseButtonRelease, QPointF(300, 10), AboutBox->Panel1->mapToGlobal(QPointF(300, 10)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(AboutBox->Panel1, &onPanel);
    });
    EXPECT_TRUE(stillShown);
    EXPECT_FALSE(AboutBox->isVisible());
}

TEST_F(AboutBoxTest, SplashComesBeforeTheMainWindowIsDrawn)
{
    bool mainVisibleDuringSplash = true;
    QTimer::singleShot(0, AboutBox, [&] {
        mainVisibleDuringSplash = Form12->isVisible();
        pressKeyOnAboutBox();
    });
    StartWorkbench();
    EXPECT_FALSE(mainVisibleDuringSplash);
    EXPECT_TRUE(Form12->isVisible());
    EXPECT_EQ(context.WorkDir, ws.work);  // the first activation has run
    EXPECT_TRUE(ws.ui.errors().empty());
    Form12->hide();
}

}  // namespace
}  // namespace tarnix
