#pragma once
// Points and rectangles in a chart view's own coordinate space: origin at the
// bottom-left corner, x to the right, y upward, single-precision pixels.

namespace orvane::chart {

struct KPoint {
    float x = 0;
    float y = 0;
};

struct KRect {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;

    float top() const { return y + height; }
    float right() const { return x + width; }
    bool isZero() const { return x == 0 && y == 0 && width == 0 && height == 0; }
    /// Left and bottom edges inside, right and top edges outside.
    bool contains(KPoint p) const {
        return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height;
    }
    friend bool operator==(const KRect&, const KRect&) = default;
};

}  // namespace orvane::chart
