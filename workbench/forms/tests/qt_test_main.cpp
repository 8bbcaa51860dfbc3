// GoogleTest main for tests that drive real windows: one QApplication for the whole run.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
#ifndef _WIN32
    // Offscreen unless told otherwise. On Windows the system's own platform (the Windows build
    // links no other; Wine passes no QT_ variable on).
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnix"));
    // The windows remember their places in per-user settings: the tests' own, not the user's;
    // a test that starts its program again passes its own on.
    QTemporaryDir settings;
    const QString given = qEnvironmentVariable("TARNIX_TEST_SETTINGS");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, given.isEmpty() ? settings.path() : given);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
