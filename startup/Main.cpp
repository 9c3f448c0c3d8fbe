// The program's entry: loads the settings, reads the command line, refuses to
// run beside another copy, and opens the one window the command line and the
// settings ask for.
#include "startup/Forms.h"
#include "startup/Settings.h"
#include "startup/SingleInstance.h"
#include "startup/portable/StartMode.h"

#include <windows.h>

namespace tesmar {

static void ModuleMain()
{
    LoadSettings();
    const StartMode mode = StartModeOf(ArgumentsOf(GetCommandLineA()));
    if (AnotherInstanceIsRunning())
        EndProgram();

    switch (StartWindowOf(mode, {gDefault, gGame, gInteraction})) {
    case StartWindow::None:
        return;  // preview: the system's preview area stays empty
    case StartWindow::DefaultForm:
        return ShowDefaultForm();
    case StartWindow::GameForm:
        return ShowGameForm();
    case StartWindow::CustomInteractForm:
        return ShowCustomInteractForm();
    case StartWindow::CustomNoInteractForm:
        return ShowCustomNoInteractForm();
    case StartWindow::SettingsDialog:
        return ShowSettingsDialog();
    }
}

} // namespace tesmar

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    tesmar::ModuleMain();
    return 0;
}
