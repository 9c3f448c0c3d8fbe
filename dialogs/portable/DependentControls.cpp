#include "dialogs/portable/DependentControls.h"

namespace tesmar {

EnabledGroups EnabledGroupsFor(const SettingsChoices& choices) {
  const bool custom = choices.movie == MovieKind::Custom;
  return EnabledGroups{
      .location = custom,
      .sizeMode = custom,
      .sizeFields = custom && !choices.fullScreen,
      .colour = custom,
      .interaction = custom,
      .corners = custom && choices.interaction,
  };
}

} // namespace tesmar
