// The workbench: sets the application title, creates every window hidden, shows the main
// window and runs the event loop until the main window closes. Built as tarnix-tools, the
// program starts at the tools launcher, which is then its main window.
//
// "--help" and "--version" answer on the terminal without opening a window (or needing a
// screen); a project folder or project file given opens as the project. The toolkit's own
// options (-platform, -style, ...) are taken as well.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

#include "errors.h"
#include "program_folder.h"
#include "program_windows.h"
#include "qt_text.h"
#include "qt_ui.h"

namespace {

#ifdef TARNIX_START_AT_LAUNCHER
const char* const Usage = "Usage: tarnix-tools [--help | --version]\n\n"
                          "Tarnix's tools launcher: the rule, object and database tools of the workbench.\n";
#else
const char* const Usage = "Usage: tarnix [PROJECT-FOLDER]\n"
                          "       tarnix --help | --version\n\n"
                          "Tarnix: a workbench for rule-based expert systems.\n\n"
                          "  PROJECT-FOLDER  a project folder, or a project file (.tnx), to open as the project\n"
                          "  -h, --help      show this text\n"
                          "  -v, --version   show the version\n";
#endif

bool given(int argc, char* argv[], const char* shortName, const char* longName)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], shortName) == 0 || std::strcmp(argv[i], longName) == 0)
            return true;
    return false;
}

// What is left once the toolkit took its options: the project, if any; false for anything else.
bool projectArgument(QStringList arguments, [[maybe_unused]] QString& project)
{
    arguments.removeFirst();
    for (const QString& argument : arguments)
        if (argument.startsWith(QLatin1Char('-')))
            return false;
#ifdef TARNIX_START_AT_LAUNCHER
    return arguments.isEmpty();
#else
    if (arguments.size() > 1)
        return false;
    project = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).absoluteFilePath();
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[])
{
    if (given(argc, argv, "-h", "--help")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (given(argc, argv, "-v", "--version")) {
        std::puts("tarnix " TARNIX_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnix"));
    QApplication::setApplicationVersion(QStringLiteral(TARNIX_VERSION));
    QApplication::setQuitOnLastWindowClosed(true);
    QString project;
    if (!projectArgument(QApplication::arguments(), project)) {
        std::fputs(Usage, stderr);
        return 2;
    }
    tarnix::QtUi ui;
    tarnix::setUi(&ui);
    tarnix::dispatch([] { tarnix::ChooseProgramFolder(); });
    tarnix::CreateWindows();
#ifdef TARNIX_START_AT_LAUNCHER
    tarnix::StartLauncher();
#else
    tarnix::StartWorkbench(tarnix::fromQt(project));
#endif
    return QApplication::exec();
}
