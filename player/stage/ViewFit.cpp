#include "player/stage/ViewFit.h"
#include <algorithm>
#include <cctype>

namespace tesmar::stage {

namespace {

// Where content of size `content` starts in `view` pixels along one axis.
double offset(double view, double content, bool atStart, bool atEnd) {
    if (atStart) return 0;
    if (atEnd) return view - content;
    return (view - content) / 2;
}

bool sameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

const char* const kScaleNames[] = {"showAll", "exactFit", "noBorder", "noScale"};

} // namespace

Matrix ViewFit::matrix(const Rect& stage, int viewWidth, int viewHeight) const {
    const double stageW = stage.width() / 20, stageH = stage.height() / 20;
    const double fitX = stageW > 0 ? viewWidth / stageW : 1, fitY = stageH > 0 ? viewHeight / stageH : 1;
    double sx = 1, sy = 1;
    switch (scale) {
    case Scale::ShowAll: sx = sy = std::min(fitX, fitY); break;
    case Scale::NoBorder: sx = sy = std::max(fitX, fitY); break;
    case Scale::ExactFit: sx = fitX; sy = fitY; break;
    case Scale::NoScale: break;
    }
    const double ox = offset(viewWidth, stageW * sx, align & Left, align & Right);
    const double oy = offset(viewHeight, stageH * sy, align & Top, align & Bottom);
    return {sx / 20, 0, 0, sy / 20, ox - stage.xMin * sx / 20, oy - stage.yMin * sy / 20};
}

const char* scaleName(ViewFit::Scale scale) { return kScaleNames[static_cast<int>(scale)]; }

ViewFit::Scale scaleFromName(const std::string& name) {
    for (int i = 0; i < 4; ++i)
        if (sameIgnoringCase(name, kScaleNames[i])) return static_cast<ViewFit::Scale>(i);
    return ViewFit::Scale::ShowAll;
}

uint8_t alignFromText(const std::string& text) {
    uint8_t align = 0;
    for (char c : text) {
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'L': align |= ViewFit::Left; break;
        case 'T': align |= ViewFit::Top; break;
        case 'R': align |= ViewFit::Right; break;
        case 'B': align |= ViewFit::Bottom; break;
        default: break;
        }
    }
    return align;
}

std::string alignText(uint8_t align) {
    std::string text;
    if (align & ViewFit::Left) text += 'L';
    if (align & ViewFit::Top) text += 'T';
    if (align & ViewFit::Right) text += 'R';
    if (align & ViewFit::Bottom) text += 'B';
    return text;
}

} // namespace tesmar::stage
