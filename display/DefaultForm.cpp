// DefaultForm, shown as a placeholder until its real window is built.
#include "display/PlaceholderWindow.h"
#include "startup/Forms.h"

namespace tesmar {

void ShowDefaultForm()
{
    ShowPlaceholderWindow("DefaultForm");
}

} // namespace tesmar
