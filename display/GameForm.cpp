// GameForm, shown as a placeholder until its real window is built.
#include "display/PlaceholderWindow.h"
#include "startup/Forms.h"

namespace tesmar {

void ShowGameForm()
{
    ShowPlaceholderWindow("GameForm");
}

} // namespace tesmar
