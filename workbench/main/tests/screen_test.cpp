// The windows on a real screen (run under Xvfb): at 150 % on a 1280 x 1024 screen every window
// opens wholly on it, and the main window comes back where the user left it after the program
// is started again.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSplitter>
#include <QTest>

#include "main_fixture.h"
#include "user_settings.h"

namespace tarnix {
namespace {

using Screen = test::MainWindowTest;

TEST_F(Screen, EveryWindowFitsTheScreen)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* form = qobject_cast<Form*>(window);
        if (!form || form == AboutBox)
            continue;
        form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form)) << form->objectName().toStdString();
        EXPECT_TRUE(available.contains(form->frameGeometry()))
            << form->objectName().toStdString() << " " << form->frameGeometry().width() << "x"
            << form->frameGeometry().height() << " on " << available.width() << "x" << available.height();
        if (const QString dir = qEnvironmentVariable("TARNIX_SCREENSHOT_DIR"); !dir.isEmpty())
            form->grab().save(dir + QLatin1Char('/') + form->objectName() + QStringLiteral("-150.png"));
        form->hide();
    }
}

constexpr QRect LeftAt(70, 60, 720, 480);

// The second start, run as a program of its own by the test below.
TEST_F(Screen, DISABLED_SecondStart)
{
    w->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_EQ(w->geometry(), LeftAt);
    EXPECT_EQ(w->findChild<QSplitter*>(QStringLiteral("SplitterComp"))->sizes().first(), 200);
}

TEST_F(Screen, MainWindowComesBackWhereItWasLeftAfterARestart)
{
    w->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    w->setGeometry(LeftAt);
    auto* splitter = w->findChild<QSplitter*>(QStringLiteral("SplitterComp"));
    splitter->setSizes({200, splitter->width() - 200 - splitter->handleWidth()});
    w->hide();

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QDir settings = QFileInfo(UserSettings().fileName()).dir();  // the folder above "Tarnix/Tarnix.ini"
    settings.cdUp();
    environment.insert(QStringLiteral("TARNIX_TEST_SETTINGS"), settings.absolutePath());
    second.setProcessEnvironment(environment);
    second.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=Screen.DISABLED_SecondStart")});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardOutput().toStdString();
}

}  // namespace
}  // namespace tarnix
