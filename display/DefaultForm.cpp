// DefaultForm: the maker's product showcase, started from the showcase loader.
#include "display/WebForm.h"
#include "resources/ResourceIds.h"
#include "startup/Forms.h"

namespace tesmar {

void ShowDefaultForm()
{
    // The player is second in tab order, after BlankHolder1; both are tab stops.
    static WebForm form({"DefaultForm", IDR_SHOWCASE_PLAYER, true, true});
    form.showModal();
}

} // namespace tesmar
