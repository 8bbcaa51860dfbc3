#include "program_windows.h"

#include <utility>

#include "Unit1.h"
#include "Unit12.h"
#include "Unit20.h"
#include "errors.h"
#include "settings.h"
#include "tool_windows.h"

namespace tarnix {
namespace {

bool workbenchActivated = false;

// Shows the main window. Its first showing opens the splash, and coming back from the splash
// is no activation, so the first activation is run here; later, coming back to the main window
// from another window activates it.
void showWorkbench()
{
    Form12->Show();
    if (!std::exchange(workbenchActivated, true))
        dispatch([] { Form12->FormActivate(); });
}

}  // namespace

void CreateWindows()
{
    Form12 = new TForm12;
    Form12->SetMainForm();
    workbenchActivated = false;
    AboutBox = new TAboutBox;
    CreateToolWindows();
    ShowWorkbench = showWorkbench;
}

void StartWorkbench(const std::string& project)
{
    // Opened first, so the first activation shows it.
    if (!project.empty())
        dispatch([&project] { Form12->openProjectAt(project); });
    showWorkbench();
    CheckProgramFolder();
}

void StartLauncher()
{
    Form1->SetMainForm();
    Form1->Show();
    dispatch([] { Form1->FormActivate(); });
    CheckProgramFolder();
}

}  // namespace tarnix
