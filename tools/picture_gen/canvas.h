// A small antialiased raster for drawing the built-in pictures: premultiplied float pixels,
// shapes described by signed distance functions, and coverage masks for glyphs.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pictures {

// A straight (not premultiplied) colour: red, green and blue 0 to 255, alpha 0 to 1.
struct Rgba {
    float r, g, b, a;
};
constexpr Rgba Rgb(int r, int g, int b, float a = 1.0f) { return {float(r), float(g), float(b), a}; }
inline Rgba Mix(Rgba p, Rgba q, float t) {
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t};
}

// Coverage of a pixel whose centre lies `sd` pixels outside a shape's edge (negative: inside).
// An edge on a pixel boundary therefore gives exactly 0 or 1: straight edges stay crisp.
inline float Cover(float sd) { return std::clamp(0.5f - sd, 0.0f, 1.0f); }
// Coverage of the band between depths d0 and d1 inside a shape's edge (an inner stroke).
inline float Band(float sd, float d0, float d1) { return std::max(0.0f, Cover(sd + d0) - Cover(sd + d1)); }

// Signed distances, in pixels, from the point (x, y).
float SdRoundBox(float x, float y, float left, float top, float right, float bottom, float radius);
float SdCircle(float x, float y, float cx, float cy, float radius);
float SdSegment(float x, float y, float ax, float ay, float bx, float by);
float SdPolygon(float x, float y, const std::vector<float>& xy);  // closed, x0 y0 x1 y1 ...

struct Box {
    int left, top, right, bottom;
};

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), px_(size_t(width) * height * 4, 0.0f) {}
    int width() const { return width_; }
    int height() const { return height_; }

    // Source-over blend of `c` at `cover` (0 to 1) into one pixel; outside pixels are ignored.
    void Blend(int x, int y, Rgba c, float cover = 1.0f);
    // Replaces one pixel.
    void Set(int x, int y, Rgba c);
    Rgba Get(int x, int y) const;

    // Fills the pixels of `box` with the colour paint(x, y) at the coverage cover(x, y), both
    // evaluated at pixel centres.
    template <class CoverFn, class PaintFn>
    void Fill(Box box, CoverFn cover, PaintFn paint) {
        for (int y = std::max(0, box.top); y < std::min(height_, box.bottom); ++y)
            for (int x = std::max(0, box.left); x < std::min(width_, box.right); ++x) {
                const float fx = x + 0.5f, fy = y + 0.5f;
                const float c = cover(fx, fy);
                if (c > 0.0f) Blend(x, y, paint(fx, fy), c);
            }
    }
    template <class CoverFn>
    void Fill(Box box, CoverFn cover, Rgba colour) {
        Fill(box, cover, [colour](float, float) { return colour; });
    }
    void FillRect(Box box, Rgba colour) {
        Fill(
            box, [](float, float) { return 1.0f; }, colour);
    }

    // Draws `src` with its top-left corner at (dx, dy), blended over this canvas.
    void Draw(const Canvas& src, int dx, int dy);
    // The pixels as straight BGRA bytes, top row first (the layout of a 32-bit DIB).
    std::vector<uint8_t> Bgra() const;
    // Replaces the pixels from straight BGRA bytes, top row first.
    void SetBgra(const std::vector<uint8_t>& bgra);

private:
    int width_, height_;
    std::vector<float> px_;  // premultiplied r, g, b (0 to 255) and a (0 to 1)
};

// A coverage mask, so that a glyph can be built from unions and cuts and then painted once
// (two overlapping strokes must not darken where they cross).
class Mask {
public:
    Mask(int width, int height) : width_(width), height_(height), v_(size_t(width) * height, 0.0f) {}
    template <class CoverFn>
    void Add(CoverFn cover) {
        Each([&](float& v, float fx, float fy) { v = std::max(v, cover(fx, fy)); });
    }
    template <class CoverFn>
    void Cut(CoverFn cover) {
        Each([&](float& v, float fx, float fy) { v = std::min(v, 1.0f - cover(fx, fy)); });
    }
    void AddRect(int left, int top, int right, int bottom);
    float At(int x, int y) const { return v_[size_t(y) * width_ + x]; }
    // Paints `colour` through the mask onto `canvas` with the mask's origin at (dx, dy).
    void Paint(Canvas& canvas, int dx, int dy, Rgba colour) const;

private:
    template <class Fn>
    void Each(Fn fn) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) fn(v_[size_t(y) * width_ + x], x + 0.5f, y + 0.5f);
    }
    int width_, height_;
    std::vector<float> v_;
};

}  // namespace pictures
