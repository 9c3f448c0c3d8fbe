#pragma once
// How the stage is shown in the host's view: the scale mode and alignment
// scripts choose (Stage.scaleMode, Stage.align) and the display state.
#include <cstdint>
#include <string>
#include "player/geom/Geometry.h"

namespace tesmar::stage {

struct ViewFit {
    enum class Scale : uint8_t { ShowAll, ExactFit, NoBorder, NoScale };
    enum Align : uint8_t { Left = 1, Top = 2, Right = 4, Bottom = 8 };

    Scale scale = Scale::ShowAll;
    uint8_t align = 0;         // Align flags; none centres
    bool fullScreen = false;

    // Stage twips to view pixels.
    Matrix matrix(const Rect& stage, int viewWidth, int viewHeight) const;
};

// Scale mode names as scripts spell them; unknown names mean "showAll".
const char* scaleName(ViewFit::Scale scale);
ViewFit::Scale scaleFromName(const std::string& name);
// Alignment from any text: each of the letters L, T, R, B (either case)
// found in it; written back always in the order "LTRB".
uint8_t alignFromText(const std::string& text);
std::string alignText(uint8_t align);

} // namespace tesmar::stage
