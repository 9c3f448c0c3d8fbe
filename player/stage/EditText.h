#pragma once
// A text field (DefineEditText, or made by a script): its box with the
// optional background and border, its styled text laid out in lines and
// drawn with embedded or device fonts, clipped to the box.
#include <map>
#include <optional>
#include <string>
#include "player/stage/DisplayObject.h"
#include "player/stage/EditTextFonts.h"
#include "player/stage/EditTextLayout.h"

namespace tesmar::stage {

class EditText : public DisplayObject {
public:
    enum class AutoSize : uint8_t { None, Left, Center, Right };

    // host gives device fonts; may be null (such text draws nothing).
    EditText(Context& context, const LoadedMovie& movie, uint16_t id, const swf::EditTextDef& def, Host* host);
    // A field a script creates: empty, at the given box.
    EditText(Context& context, const LoadedMovie& movie, const Rect& box, Host* host);

    // The text without styles, UTF-8, paragraphs ended by '\r'.
    std::string text() const;
    void setText(const std::string& text);
    std::string htmlText() const;
    void setHtmlText(const std::string& html);
    const StyledText& styledText() const { return text_; }
    // Applies change to the formats of characters [begin, end).
    template <class Change> void changeFormat(size_t begin, size_t end, Change change) {
        for (size_t i = begin; i < end && i < text_.size(); ++i) change(text_.formats[i]);
        textChanged();
    }
    // The format new text gets (TextField.getNewTextFormat).
    TextFormat& newTextFormat() { return format_; }

    // The box, in the field's own space (twips).
    const Rect& box() const { layout(); return box_; }
    void setBox(const Rect& box);
    double textWidth() const;
    double textHeight() const;
    const TextLayout& layout() const;

    bool border = false, background = false;
    Rgba borderColor{0, 0, 0, 255}, backgroundColor{255, 255, 255, 255};
    bool html = false, password = false, selectable = true, editable = false, multiline = false;
    bool condenseWhite = false, mouseWheelEnabled = true;
    int maxChars = 0;
    // The characters typing may enter (restrict); unset: any.
    std::optional<std::string> restrict;
    std::optional<double> tabIndex;
    // How glyphs are rendered; kept for scripts, the rasterizer has one way.
    std::string antiAliasType = "normal", gridFitType = "pixel";
    double sharpness = 0, thickness = 0;
    std::string variable;
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on) { wordWrap_ = on; textChanged(); }
    bool embedFonts() const { return embedFonts_; }
    void setEmbedFonts(bool on) { embedFonts_ = on; textChanged(); }
    AutoSize autoSize() const { return autoSize_; }
    void setAutoSize(AutoSize mode) { autoSize_ = mode; textChanged(); }
    // Typing. The selection is [selectionBegin, selectionEnd); the caret
    // stands at one of its ends.
    size_t selectionBegin() const { return selectionBegin_; }
    size_t selectionEnd() const { return selectionEnd_; }
    size_t caretIndex() const { return caretAtBegin_ ? selectionBegin_ : selectionEnd_; }
    // Selects [begin, end) with the caret at its end.
    void setSelection(size_t begin, size_t end);
    // Selects from anchor to caret, in either direction.
    void selectTowards(size_t anchor, size_t caret);
    // Enters typed text in place of the selection as a user would: only what
    // restrict allows, breaks only in a multiline field, no more than
    // maxChars. True when the text changed.
    bool typeText(std::u32string_view typed);
    enum class EditKey : uint8_t { Backspace, Delete, Left, Right, Home, End, Enter };
    // True when the text changed.
    bool editKey(EditKey key);

    // Lays out and redraws after a change of the public fields above.
    void lookChanged() { layoutDirty_ = true; context().changed(); }

    void draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const override;
    void drawMask(render::Renderer& r, const Matrix& toPixels) const override;
    bool hitTest(Point local) const override { return box().contains(local); }
    Rect bounds() const override { return box(); }

private:
    void textChanged();
    TextLayout runLayout() const;
    void fitBox() const;
    const Shape& coloured(const Shape& glyph, Rgba color) const;
    void drawBox(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const;
    void drawGlyphs(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const;

    TextFormat format_;
    StyledText text_;
    bool wordWrap_ = false, embedFonts_ = false;
    AutoSize autoSize_ = AutoSize::None;
    uint16_t fontId_ = 0;
    size_t selectionBegin_ = 0, selectionEnd_ = 0;
    bool caretAtBegin_ = false;
    mutable Rect box_;
    mutable TextFaces faces_;
    mutable TextLayout layout_;
    mutable bool layoutDirty_ = true;
    mutable std::map<std::pair<const Shape*, uint32_t>, Shape> coloured_;
};

// The 2-pixel gutter between a field's box and its text, in twips.
constexpr double kTextGutter = 40;

} // namespace tesmar::stage
