#include "player/swf/Definitions.h"
#include "player/swf/BitmapReader.h"
#include "player/swf/ButtonReader.h"
#include "player/swf/ShapeReader.h"
#include "player/swf/TagCodes.h"
#include "player/swf/TextReader.h"

namespace tesmar::swf {

bool DefinitionReader::read(uint16_t code, Reader& body) {
    switch (code) {
    case tag::JPEGTables: {
        auto bytes = body.rest();
        jpegTables_.assign(bytes.begin(), bytes.end());
        return true;
    }
    case tag::DefineFontInfo:
    case tag::DefineFontInfo2:
        return readFontInfo(code, body);
    case tag::DefineButtonCxform:
        return readButtonCxform(body);
    default:
        break;
    }

    // A definition whose body is too short to hold an id fails in its reader.
    const uint16_t id = body.u16();
    switch (code) {
    case tag::DefineShape: case tag::DefineShape2: case tag::DefineShape3: case tag::DefineShape4: {
        const int version = code == tag::DefineShape ? 1 : code == tag::DefineShape2 ? 2
                          : code == tag::DefineShape3 ? 3 : 4;
        auto shape = readShape(body, version);
        if (!shape) return false;
        define(id, std::move(*shape));
        return true;
    }
    case tag::DefineMorphShape: case tag::DefineMorphShape2: {
        auto morph = readMorphShape(body, code == tag::DefineMorphShape ? 1 : 2);
        if (!morph) return false;
        define(id, std::move(*morph));
        return true;
    }
    case tag::DefineBits: case tag::DefineBitsJPEG2: case tag::DefineBitsJPEG3:
        return readJpeg(code, id, body);
    case tag::DefineBitsLossless: case tag::DefineBitsLossless2: {
        auto image = readLossless(body, code == tag::DefineBitsLossless ? 1 : 2);
        if (!image) return false;
        define(id, BitmapDef{std::move(*image)});
        return true;
    }
    case tag::DefineFont: case tag::DefineFont2: case tag::DefineFont3: {
        auto font = code == tag::DefineFont ? readFont1(body) : readFont2(body, code == tag::DefineFont2 ? 2 : 3);
        if (!font) return false;
        define(id, std::move(*font));
        return true;
    }
    case tag::DefineText: case tag::DefineText2: {
        auto text = readText(body, code == tag::DefineText ? 1 : 2);
        if (!text) return false;
        define(id, std::move(*text));
        return true;
    }
    case tag::DefineButton: case tag::DefineButton2: {
        auto button = readButton(body, code == tag::DefineButton ? 1 : 2);
        if (!button) return false;
        define(id, std::move(*button));
        return true;
    }
    case tag::DefineEditText: {
        auto edit = readEditText(body);
        if (!edit) return false;
        define(id, std::move(*edit));
        return true;
    }
    case tag::DefineSound: {
        // Flags (format, rate, size, channels), then the sample count.
        static constexpr double kRates[] = {5512.5, 11025, 22050, 44100};
        const uint8_t flags = body.u8();
        const uint32_t samples = body.u32();
        OtherDef sound{code};
        if (!body.failed()) sound.soundMs = uint32_t(samples * 1000.0 / kRates[(flags >> 2) & 3] + 0.5);
        define(id, sound);
        return true;
    }
    case tag::DefineVideoStream:
        define(id, OtherDef{code});
        return true;
    default:
        return true;
    }
}

BitmapDef DefinitionReader::decode(std::span<const uint8_t> data) const {
    BitmapDef bitmap;
    if (!decoder_) return bitmap;
    auto image = decoder_(data);
    if (image && !image->empty() && uint64_t(image->width) * uint64_t(image->height) <= kMaxBitmapPixels)
        bitmap.image = std::move(*image);
    return bitmap;
}

bool DefinitionReader::readJpeg(uint16_t code, uint16_t id, Reader& body) {
    if (body.failed()) return false;
    if (code == tag::DefineBits) {
        define(id, decode(joinJpegTables(jpegTables_, body.rest())));
        return true;
    }
    if (code == tag::DefineBitsJPEG2) {
        define(id, decode(cleanJpeg(body.rest())));
        return true;
    }
    const uint32_t alphaOffset = body.u32();
    if (body.failed() || alphaOffset > body.remaining()) return false;
    BitmapDef bitmap = decode(cleanJpeg(body.take(alphaOffset)));
    auto alpha = body.rest();
    if (!bitmap.image.empty() && !alpha.empty()) applyAlphaPlane(bitmap.image, alpha);
    define(id, std::move(bitmap));
    return true;
}

bool DefinitionReader::readFontInfo(uint16_t code, Reader& body) {
    const uint16_t id = body.u16();
    const FontDef* existing = movie_.get<FontDef>(id);
    if (body.failed() || !existing) return false;
    FontDef font = *existing;
    if (!swf::readFontInfo(body, code == tag::DefineFontInfo ? 1 : 2, font)) return false;
    define(id, std::move(font));
    return true;
}

bool DefinitionReader::readButtonCxform(Reader& body) {
    const uint16_t id = body.u16();
    const ButtonDef* existing = movie_.get<ButtonDef>(id);
    if (body.failed() || !existing) return false;
    ButtonDef button = *existing;
    const ColorTransform cx = body.colorTransform(false);
    if (body.failed()) return false;
    for (ButtonRecord& record : button.records) record.colorTransform = cx;
    define(id, std::move(button));
    return true;
}

} // namespace tesmar::swf
