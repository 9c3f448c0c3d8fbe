#pragma once
// The program's top-level windows. Each shows its one process-wide instance
// modally and returns when it closes (in practice the windows end the
// program themselves). Every window registers a window class named exactly
// after its form, so that tests can tell which window is open.

namespace tesmar {

void ShowDefaultForm();           // display/DefaultForm.cpp
void ShowGameForm();              // display/GameForm.cpp
void ShowCustomInteractForm();    // display/CustomInteractForm.cpp
void ShowCustomNoInteractForm();  // display/CustomNoInteractForm.cpp
void ShowSettingsDialog();        // dialogs/SettingsDialog.cpp

// Ends the process at once: every window disappears and no further handler
// (unload handlers included) runs.
[[noreturn]] void EndProgram();   // startup/EndProgram.cpp

} // namespace tesmar
