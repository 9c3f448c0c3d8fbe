#include "player/swf/PlaceReader.h"
#include "player/swf/TagCodes.h"

namespace tesmar::swf {

namespace {

// The stored size of one filter after its type byte, or -1 when unknown.
long filterSize(uint8_t type, Reader& r) {
    switch (type) {
    case 0: return 23;   // drop shadow
    case 1: return 9;    // blur
    case 2: return 15;   // glow
    case 3: return 27;   // bevel
    case 4:              // gradient glow
    case 7: {            // gradient bevel
        uint8_t colors = r.u8();
        return long(colors) * 5 + 19;
    }
    case 5: {            // convolution
        uint8_t w = r.u8(), h = r.u8();
        return 4 + 4 + long(w) * h * 4 + 4 + 1;
    }
    case 6: return 80;   // colour matrix
    default: return -1;
    }
}

// A list cut short keeps the handlers read whole before the cut.
void readClipActions(Reader& r, uint8_t swfVersion, PlaceObject& place) {
    const bool wide = swfVersion >= 6;
    auto events = [&] { return wide ? r.u32() : uint32_t(r.u16()); };
    r.u16();   // reserved
    place.clipEventsAll = events();
    while (!r.failed()) {
        ClipAction action;
        action.events = events();
        if (action.events == 0) return;
        uint32_t size = r.u32();
        if (action.events & clipEvent::KeyPress) {
            if (size == 0) return;
            action.keyCode = r.u8();
            --size;
        }
        auto bytes = r.take(size);
        if (r.failed()) break;
        action.actions.assign(bytes.begin(), bytes.end());
        place.clipActions.push_back(std::move(action));
    }
}

} // namespace

Bytes readFilterList(Reader& r) {
    const size_t start = r.position();
    uint8_t count = r.u8();
    for (uint8_t i = 0; i < count && !r.failed(); ++i) {
        long size = filterSize(r.u8(), r);
        if (size < 0) { r.fail(); break; }
        r.skip(size_t(size));
    }
    if (r.failed()) return {};
    auto all = r.bytes().subspan(start, r.position() - start);
    return Bytes(all.begin(), all.end());
}

std::optional<PlaceObject> readPlaceObject(Reader& r, uint16_t code, uint8_t swfVersion) {
    PlaceObject place;
    if (code == tag::PlaceObject) {
        place.version = 1;
        place.characterId = r.u16();
        place.depth = r.u16();
        place.matrix = r.matrix();
        if (!r.atEnd()) place.colorTransform = r.colorTransform(false);
        if (r.failed()) return std::nullopt;
        return place;
    }
    place.version = code == tag::PlaceObject3 ? 3 : 2;
    uint8_t flags = r.u8();
    uint8_t flags3 = place.version == 3 ? r.u8() : 0;
    place.move = flags & 0x01;
    place.depth = r.u16();
    if ((flags3 & 0x08) || ((flags3 & 0x10) && (flags & 0x02))) place.className = r.cstring();
    if (flags & 0x02) place.characterId = r.u16();
    if (flags & 0x04) place.matrix = r.matrix();
    if (flags & 0x08) place.colorTransform = r.colorTransform(true);
    if (flags & 0x10) place.ratio = r.u16();
    if (flags & 0x20) place.name = r.cstring();
    if (flags & 0x40) place.clipDepth = r.u16();
    if (flags3 & 0x01) place.filters = readFilterList(r);
    if (flags3 & 0x02) place.blendMode = r.u8();
    if (flags3 & 0x04) place.cacheAsBitmap = r.u8() != 0;
    if (flags3 & 0x20) r.u8();       // visible (a later format's field)
    if (flags3 & 0x40) r.rgba();     // opaque background (likewise)
    if (r.failed()) return std::nullopt;
    // Clip actions that are cut short lose only the handlers themselves.
    if (flags & 0x80) readClipActions(r, swfVersion, place);
    return place;
}

} // namespace tesmar::swf
