// The raster behind the picture generator: blending, distance functions and masks.
#include "tools/picture_gen/canvas.h"

namespace pictures {

float SdRoundBox(float x, float y, float left, float top, float right, float bottom, float radius) {
    const float hx = (right - left) / 2, hy = (bottom - top) / 2;
    const float qx = std::fabs(x - (left + hx)) - (hx - radius);
    const float qy = std::fabs(y - (top + hy)) - (hy - radius);
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdCircle(float x, float y, float cx, float cy, float radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

float SdSegment(float x, float y, float ax, float ay, float bx, float by) {
    const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const float t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(px - dx * t, py - dy * t);
}

// Exact distance to a closed polygon, negative inside (even-odd rule).
float SdPolygon(float x, float y, const std::vector<float>& xy) {
    const size_t n = xy.size() / 2;
    float best = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        best = std::min(best, SdSegment(x, y, xj, yj, xi, yi));
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside ? -best : best;
}

void Canvas::Blend(int x, int y, Rgba c, float cover) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const float a = std::clamp(c.a * cover, 0.0f, 1.0f);
    float* p = &px_[(size_t(y) * width_ + x) * 4];
    p[0] = c.r * a + p[0] * (1 - a);
    p[1] = c.g * a + p[1] * (1 - a);
    p[2] = c.b * a + p[2] * (1 - a);
    p[3] = a + p[3] * (1 - a);
}

void Canvas::Set(int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float* p = &px_[(size_t(y) * width_ + x) * 4];
    p[0] = c.r * c.a;
    p[1] = c.g * c.a;
    p[2] = c.b * c.a;
    p[3] = c.a;
}

Rgba Canvas::Get(int x, int y) const {
    const float* p = &px_[(size_t(y) * width_ + x) * 4];
    if (p[3] <= 0.0f) return {0, 0, 0, 0};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Canvas::Draw(const Canvas& src, int dx, int dy) {
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const Rgba c = src.Get(x, y);
            if (c.a > 0.0f) Blend(dx + x, dy + y, c);
        }
}

// Alpha is rounded first and colour is kept exact, so a white piece stays 255, 255, 255 at
// every alpha and the stored alpha ramps are the intended integers.
std::vector<uint8_t> Canvas::Bgra() const {
    std::vector<uint8_t> out(size_t(width_) * height_ * 4);
    auto byte = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 255.0f))); };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const Rgba c = Get(x, y);
            uint8_t* o = &out[(size_t(y) * width_ + x) * 4];
            o[3] = byte(c.a * 255);
            const bool clear = o[3] == 0;
            o[0] = clear ? 0 : byte(c.b);
            o[1] = clear ? 0 : byte(c.g);
            o[2] = clear ? 0 : byte(c.r);
        }
    return out;
}

void Canvas::SetBgra(const std::vector<uint8_t>& bgra) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const uint8_t* i = &bgra[(size_t(y) * width_ + x) * 4];
            Set(x, y, {float(i[2]), float(i[1]), float(i[0]), i[3] / 255.0f});
        }
}

void Mask::AddRect(int left, int top, int right, int bottom) {
    for (int y = std::max(0, top); y < std::min(height_, bottom); ++y)
        for (int x = std::max(0, left); x < std::min(width_, right); ++x) v_[size_t(y) * width_ + x] = 1.0f;
}

void Mask::Paint(Canvas& canvas, int dx, int dy, Rgba colour) const {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) > 0.0f) canvas.Blend(dx + x, dy + y, colour, At(x, y));
}

}  // namespace pictures
