#include "player/swf/ButtonReader.h"
#include <algorithm>
#include "player/swf/PlaceReader.h"

namespace tesmar::swf {

namespace {

bool readRecords(Reader& r, int buttonVersion, ButtonDef& button) {
    while (!r.failed()) {
        const uint8_t flags = r.u8();
        if (flags == 0) break;
        ButtonRecord record;
        record.states = flags & 0x0F;
        record.characterId = r.u16();
        record.depth = r.u16();
        record.matrix = r.matrix();
        if (buttonVersion == 2) record.colorTransform = r.colorTransform(true);
        if (buttonVersion == 2 && (flags & 0x10)) record.filters = readFilterList(r);
        if (buttonVersion == 2 && (flags & 0x20)) record.blendMode = r.u8();
        if (!r.failed()) button.records.push_back(std::move(record));
    }
    std::stable_sort(button.records.begin(), button.records.end(),
                     [](const ButtonRecord& a, const ButtonRecord& b) { return a.depth < b.depth; });
    return !r.failed();
}

void readConditionActions(Reader& r, ButtonDef& button) {
    while (!r.failed() && !r.atEnd()) {
        const size_t start = r.position();
        const uint16_t size = r.u16();
        const uint8_t low = r.u8(), high = r.u8();
        ButtonAction action;
        action.conditions = uint16_t(low | ((high & 1) << 8));
        action.keyCode = high >> 1;
        // The last record has size 0 and runs to the end of the tag.
        const size_t end = size == 0 ? r.bytes().size() : start + size;
        if (r.failed() || end < r.position() || end > r.bytes().size()) return;
        auto bytes = r.take(end - r.position());
        action.actions.assign(bytes.begin(), bytes.end());
        button.actions.push_back(std::move(action));
        if (size == 0) return;
    }
}

} // namespace

std::optional<ButtonDef> readButton(Reader& r, int buttonVersion) {
    ButtonDef button;
    if (buttonVersion == 1) {
        if (!readRecords(r, 1, button)) return std::nullopt;
        ButtonAction release;
        release.conditions = button::OverDownToOverUp;
        auto bytes = r.rest();
        release.actions.assign(bytes.begin(), bytes.end());
        button.actions.push_back(std::move(release));
        return button;
    }
    button.trackAsMenu = r.u8() & 1;
    const size_t offsetBase = r.position();
    const uint16_t actionOffset = r.u16();
    if (!readRecords(r, 2, button)) return std::nullopt;
    if (actionOffset != 0 && offsetBase + actionOffset >= r.position() &&
        offsetBase + actionOffset <= r.bytes().size()) {
        r.skip(offsetBase + actionOffset - r.position());
        readConditionActions(r, button);
    }
    return button;
}

} // namespace tesmar::swf
