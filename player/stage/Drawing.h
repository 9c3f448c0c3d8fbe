#pragma once
// What scripts draw on a movie clip with the drawing methods (lineStyle,
// beginFill, moveTo, lineTo, curveTo, endFill, clear), kept as one shape
// drawn beneath the clip's children. Follows the player's rules: a fill
// closes itself back to where it started (stroked with the line style of
// the moment), lines may be drawn without a fill, and a new fill ends the
// one before it. Bitmaps attached by scripts are drawn above that shape.
#include <map>
#include <memory>
#include <optional>
#include "player/geom/Image.h"
#include "player/geom/Shape.h"
#include "player/render/Renderer.h"

namespace tesmar::stage {

class Drawing {
public:
    void clear();
    // A line style for the segments drawn from now on; none stops lines.
    void lineStyle(std::optional<LineStyle> style);
    // Paints the current line style with `fill` from now on (no line style: nothing).
    void lineFill(const FillStyle& fill);
    void beginFill(const FillStyle& fill);
    void endFill();
    void moveTo(Point to);
    void lineTo(Point to);
    void curveTo(Point control, Point to);

    // Shows a bitmap at its pixel size from the clip's origin, above the
    // drawn shape and those at lower depths (attachBitmap). The pixels are
    // shared with the script's BitmapData, so later changes show; clear()
    // keeps attached bitmaps.
    void attachBitmap(int depth, std::shared_ptr<const Image> image, bool smooth);

    bool empty() const { return shape_.paths.empty(); }
    // The shape drawn so far, open fills closed.
    const Shape& shape() const;
    void draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx,
              const render::BitmapSource* bitmaps) const;
    bool hitTest(Point local) const;
    Rect bounds() const;

private:
    void addSegment(const PathSegment& segment);
    void closeFill();
    ShapePath closingEdge() const;
    // Starts a new path at the pen with the current styles.
    void startPath();
    StyleGroup& group() { return shape_.groups.back(); }
    void drawBitmaps(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const;

    struct AttachedBitmap {
        std::shared_ptr<const Image> image;
        bool smooth = false;
    };
    std::map<int, AttachedBitmap> bitmaps_;   // by depth

    Shape shape_;
    mutable Shape closed_;        // shape_ with the open fill closed
    mutable bool closedValid_ = false;
    Point pen_;
    bool filling_ = false;
    Point fillStart_;             // where the open fill's current contour began
    uint32_t line_ = 0;           // 1-based line style in the current group, 0 none
    std::optional<LineStyle> lineStyle_;
    bool pathOpen_ = false;       // the last path may take more segments
};

} // namespace tesmar::stage
