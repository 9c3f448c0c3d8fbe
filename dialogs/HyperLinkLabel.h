#pragma once
// The link control: one line of blue, underlined text on the button face,
// with the hand pointer over it. A click opens its address, the maker's home
// page, in the user's web browser and leaves everything else as it is.
// Windows of the class "HyperLinkLabel" show their window text as the link's
// caption; the address opened is the fixed home page, not the caption.

namespace tesmar {

void RegisterHyperLinkLabelClass();

} // namespace tesmar
