// GameForm: the maker's collection of online games, started from the
// collection loader.
#include "display/WebForm.h"
#include "resources/ResourceIds.h"
#include "startup/Forms.h"

namespace tesmar {

void ShowGameForm()
{
    // The player is first in tab order but no tab stop; BlankHolder1 is one.
    static WebForm form({"GameForm", IDR_COLLECTION_PLAYER, false, true});
    form.showModal();
}

} // namespace tesmar
