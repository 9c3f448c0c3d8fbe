#pragma once
// A shape's paths in target pixels, sorted into one outline per fill style
// and per line style, in drawing order: each style group's fills, then its
// lines. Curves are flattened in pixel space so that their error is below
// a tenth of a pixel at any scale.
#include <cstddef>
#include <vector>
#include "player/geom/Geometry.h"
#include "player/geom/Shape.h"
#include "player/render/Rasterizer.h"
#include "player/render/Stroker.h"

namespace tesmar::render {

class ShapeOutlines {
public:
    // One outline to fill: with a fill style, or the stroke of a line style.
    struct Fill {
        const FillStyle* style = nullptr;
        const LineStyle* line = nullptr;
        size_t edgeList = 0;
    };

    // withLines false leaves the strokes out (a mask is the area of the fills).
    // steppedHairlines draws strokes one pixel wide or thinner one pixel
    // thick across their minor axis, as the 2x2-sampled qualities do.
    void build(const Shape& shape, const Matrix& toPixels, bool withLines = true, bool steppedHairlines = false);
    const std::vector<Fill>& fills() const { return fills_; }
    const EdgeList& edgesOf(const Fill& fill) const { return lists_[fill.edgeList]; }

private:
    // A path's use of one style, to be sorted into drawing order.
    struct Use {
        size_t group;
        bool isLine;
        size_t style;   // 0-based within the group
        size_t path;
        bool reversed;  // fill0 edges run the other way round the fill
    };

    void flatten(const Shape& shape, const Matrix& toPixels);
    EdgeList& nextList();
    void addFillEdges(const Use* first, const Use* last, EdgeList& out) const;
    void addStrokes(const Use* first, const Use* last, const LineStyle& line, const Matrix& toPixels,
                    bool steppedHairlines, EdgeList& out);

    std::vector<Point> points_;                        // every path's points, flattened
    std::vector<std::pair<size_t, size_t>> ranges_;    // per path: [begin, end) in points_
    std::vector<Use> uses_;
    std::vector<EdgeList> lists_;                      // kept between shapes for their storage
    size_t listsUsed_ = 0;
    std::vector<Fill> fills_;
    std::vector<Point> polyline_;
    Stroker stroker_;
};

} // namespace tesmar::render
