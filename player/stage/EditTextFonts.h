#pragma once
// The faces a text field draws with: fonts embedded in the movie (their
// glyph shapes and advances) or fonts of the machine, asked of the host.
// Each face keeps the glyphs it has made.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include "player/Host.h"
#include "player/swf/Movie.h"

namespace tesmar::stage {

class TextFace {
public:
    // A glyph in em units: outline scaled by 1/em, advance as a part of an em.
    struct Glyph {
        const Shape* outline = nullptr;   // nullptr: nothing to draw
        double advance = 0;               // ems
        double unitsPerEm = 1024;         // the outline's units
    };

    explicit TextFace(const swf::FontDef& font);
    TextFace(Host* host, std::string name, bool bold, bool italic);

    Glyph glyph(char32_t c);
    // Font metrics as parts of an em.
    double ascent() const { return ascent_; }
    double descent() const { return descent_; }
    bool embedded() const { return font_ != nullptr; }

private:
    const swf::FontDef* font_ = nullptr;
    std::map<char32_t, uint16_t> indices_;   // embedded: character -> glyph
    Host* host_ = nullptr;
    std::string name_;
    bool bold_ = false, italic_ = false;
    std::map<char32_t, std::optional<DeviceGlyph>> device_;
    double ascent_ = 0.9, descent_ = 0.22;
};

// Finds and keeps the faces of one text field.
class TextFaces {
public:
    TextFaces(const swf::Movie& movie, Host* host) : movie_(movie), host_(host) {}
    // The face for a run: with embedded, a movie font of that name and
    // style (or the field's own font), else nullptr; otherwise the device
    // font of that name.
    TextFace* face(const std::string& name, bool bold, bool italic, bool embedded, uint16_t fieldFontId);

private:
    const swf::FontDef* findEmbedded(const std::string& name, bool bold, bool italic, uint16_t fieldFontId) const;

    const swf::Movie& movie_;
    Host* host_;
    std::map<const swf::FontDef*, std::unique_ptr<TextFace>> embedded_;
    std::map<std::tuple<std::string, bool, bool>, std::unique_ptr<TextFace>> device_;
};

} // namespace tesmar::stage
