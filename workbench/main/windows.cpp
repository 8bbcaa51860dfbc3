#include "windows.h"

#include "Unit12.h"
#include "Unit20.h"
#include "errors.h"
#include "settings.h"
#include "tool_windows.h"

namespace tarnix {

void CreateWindows()
{
    Form12 = new TForm12;
    Form12->SetMainForm();
    AboutBox = new TAboutBox;
    CreateToolWindows();
}

void StartWorkbench()
{
    Form12->Show();
    dispatch([] { Form12->FormActivate(); });
    CheckProgramFolder();
}

}  // namespace tarnix
