// Drawings of the built-in pictures. Straight edges sit on pixel boundaries and 1-pixel lines on
// whole pixels, so they stay crisp at 1:1; curves and diagonals are antialiased by coverage.
#include "tools/picture_gen/pictures.h"

#include <cmath>
#include <functional>

#include "tools/picture_gen/files.h"

namespace pictures {

namespace {

constexpr Rgba kWhite = Rgb(255, 255, 255);
constexpr Rgba kMagenta = Rgb(255, 0, 255);
constexpr Rgba kGlyphGrey = Rgb(72, 78, 84);

float Smooth(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// Coverage of a stroke of `width` pixels along a segment.
float Stroke(float x, float y, float ax, float ay, float bx, float by, float width) {
    return Cover(SdSegment(x, y, ax, ay, bx, by) - width / 2);
}

// A 1-pixel ring just inside the rectangle [left, right) x [top, bottom).
void AddRing(Mask& m, int left, int top, int right, int bottom) {
    m.AddRect(left, top, right, top + 1);
    m.AddRect(left, bottom - 1, right, bottom);
    m.AddRect(left, top, left + 1, bottom);
    m.AddRect(right - 1, top, right, bottom);
}

// ---- Element sheet -----------------------------------------------------------------------------

// Banner gloss (0, 0, 150, 90): white, alpha 128 on the top row falling linearly to 0 on row 89.
void DrawGloss(Canvas& c) {
    for (int y = 0; y < 90; ++y) {
        const float alpha = std::round(128.0f * (89 - y) / 89) / 255;
        for (int x = 0; x < 150; ++x) c.Set(x, y, {255, 255, 255, alpha});
    }
}

// Status-line overlay (180, 0, 20, 26): white, alpha 77 at the top to 20 at the bottom.
void DrawStatusOverlay(Canvas& c) {
    for (int y = 0; y < 26; ++y) {
        const float alpha = std::round(77.0f + (20.0f - 77.0f) * y / 25) / 255;
        for (int x = 180; x < 200; ++x) c.Set(x, y, {255, 255, 255, alpha});
    }
}

// Size grip (180, 26, 12, 12): three 45-degree strokes, each a dark pixel diagonal with a light
// one below it, which is how a grip stays sharp without antialiasing.
void DrawGrip(Canvas& c) {
    for (int k : {10, 14, 18})
        for (int i = 0; i < 12; ++i)
            for (int j = 0; j < 12; ++j) {
                if (i + j == k && i >= 1 && j >= 1) c.Blend(180 + i, 26 + j, Rgb(60, 72, 84, 0.70f));
                if (i + j == k + 1 && i >= 2 && j >= 2) c.Blend(180 + i, 26 + j, Rgb(255, 255, 255, 0.80f));
            }
}

// The three 60 x 52 frames at y 90: the window border and the banner-button hover and pressed
// frames. Corners are rounded with radius 4, so they fit the 5-pixel corner pieces.
struct FrameLook {
    float outerAlpha;           // dark outer line
    float innerAlpha;           // white highlight just inside it
    float fillTop, fillBottom;  // white fill alpha, top and bottom
};

void DrawFrame(Canvas& c, int left, const FrameLook& look) {
    const float l = float(left), t = 90, r = l + 60, b = 142;
    auto sd = [=](float x, float y) { return SdRoundBox(x, y, l, t, r, b, 4); };
    const Box box{left, 90, left + 60, 142};
    if (look.fillTop > 0)
        c.Fill(
            box, [&](float x, float y) { return Cover(sd(x, y) + 2); },
            [&](float, float y) {
                const float k = (y - t) / (b - t);
                return Rgba{255, 255, 255, look.fillTop + (look.fillBottom - look.fillTop) * k};
            });
    c.Fill(
        box, [&](float x, float y) { return Band(sd(x, y), 1, 2); }, Rgb(255, 255, 255, look.innerAlpha));
    c.Fill(
        box, [&](float x, float y) { return Band(sd(x, y), 0, 1); }, Rgb(0, 0, 0, look.outerAlpha));
}

// Caption-button glyphs, drawn into a mask in cell coordinates. Plain cells are 27 x 19 with
// the glyph's 9-pixel box centred on x 13.5 and y 9.5; the close cell is 40 wide.
using GlyphFn = std::function<void(Mask&)>;

void GlyphClose(Mask& m) {
    const float cx = 20.5f, cy = 9.5f, h = 4.0f;
    m.Add([=](float x, float y) { return Stroke(x, y, cx - h, cy - h, cx + h, cy + h, 1.3f); });
    m.Add([=](float x, float y) { return Stroke(x, y, cx - h, cy + h, cx + h, cy - h, 1.3f); });
}
void GlyphRestore(Mask& m) {
    AddRing(m, 11, 5, 18, 12);
    m.Cut([](float x, float y) { return x > 9 && x < 16 && y > 7 && y < 14 ? 1.0f : 0.0f; });
    AddRing(m, 9, 7, 16, 14);
}
void GlyphMaximize(Mask& m) { AddRing(m, 9, 5, 18, 14); }
void GlyphMinimize(Mask& m) { m.AddRect(9, 9, 18, 10); }
void GlyphMainMenu(Mask& m) {
    AddRing(m, 9, 5, 18, 13);
    m.AddRect(9, 6, 18, 7);
    m.Cut([](float x, float y) { return Cover(SdCircle(x, y, 17, 13, 3.6f)); });
    m.Add([](float x, float y) { return Cover(SdCircle(x, y, 17, 13, 2.4f)); });
}
void GlyphMenu(Mask& m) {
    AddRing(m, 9, 5, 18, 14);
    for (int y : {7, 9, 11}) m.AddRect(11, y, 16, y + 1);
}
void GlyphHelp(Mask& m) {
    m.Add([](float x, float y) { return Band(SdRoundBox(x, y, 9, 4, 18, 12, 2.5f), 0, 1); });
    m.Cut([](float x, float y) { return x > 11 && x < 13 && y > 11 && y < 13 ? 1.0f : 0.0f; });
    m.Add([](float x, float y) { return Stroke(x, y, 11.5f, 11.5f, 11.5f, 14.5f, 1.0f); });
    m.Add([](float x, float y) { return Stroke(x, y, 11.5f, 14.5f, 13.9f, 12.1f, 1.0f); });
    for (float dx : {11.5f, 13.5f, 15.5f})
        m.Add([=](float x, float y) { return Cover(SdCircle(x, y, dx, 8, 0.75f)); });
}

struct CaptionColumn {
    int x, width;
    GlyphFn glyph;
};

void DrawCaptionRows(Canvas& c) {
    const CaptionColumn columns[] = {
        {0, 27, GlyphHelp},       {27, 27, GlyphMenu},     {54, 27, GlyphMainMenu}, {81, 27, GlyphMinimize},
        {108, 27, GlyphMaximize}, {135, 27, GlyphRestore}, {162, 40, GlyphClose}};
    const int rows[] = {145, 165, 185};
    const float background[] = {0.0f, 143 / 255.0f, 85 / 255.0f};
    const Rgba closeFill[] = {Rgb(0, 0, 0, 0), Rgb(232, 36, 36, 0.85f), Rgb(196, 24, 24, 0.80f)};
    for (int state = 0; state < 3; ++state) {
        const int top = rows[state];
        for (const CaptionColumn& col : columns) {
            const bool close = col.width == 40;
            // Thin separator on the cell's left, fading out at both ends.
            for (int y = 2; y < 17; ++y) {
                const float k = 1 - std::fabs(y - 9.0f) / 8;
                c.Blend(col.x, top + y, Rgb(110, 118, 126, 0.55f * Smooth(0, 0.5f, k)));
            }
            if (close && state > 0)
                c.FillRect({col.x + 1, top, col.x + col.width, top + 19}, closeFill[state]);
            else if (state > 0)
                c.FillRect({col.x + 1, top, col.x + col.width, top + 19},
                           Rgb(255, 255, 255, background[state]));
            Mask mask(col.width, 19);
            col.glyph(mask);
            mask.Paint(c, col.x, top, close && state > 0 ? kWhite : kGlyphGrey);
        }
    }
}

// The band from y 205 holds a small logo: the toolbox tile and the product's name.
void DrawLogo(Canvas& c) {
    c.Draw(ToolboxIcon(32), 10, 216);
    DrawLabel(c, 50, 215, L"桌面工具箱", L"Microsoft YaHei", 15, true, Rgb(60, 70, 80));
    DrawLabel(c, 50, 235, L"TAVEN  V2.0", L"Tahoma", 11, false, Rgb(110, 120, 130));
}

// ---- Control sheet -----------------------------------------------------------------------------

struct ButtonLook {
    Rgba outline, highlight, top, bottom;
};

void DrawPushCell(Canvas& c, int left, const ButtonLook& look) {
    const int w = 40, h = 23;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const bool inner = !edge && (x == 1 || y == 1 || x == w - 2 || y == h - 2);
            Rgba colour = Mix(look.top, look.bottom, std::clamp((y - 2) / float(h - 5), 0.0f, 1.0f));
            if (inner) colour = look.highlight;
            if (edge) colour = look.outline;
            c.Set(left + x, y, colour);
        }
    // Softened corners: the cells are opaque, so the outer corner pixel blends toward the white
    // face the buttons stand on, and the inner one toward the highlight.
    const int cx[] = {0, w - 1}, cy[] = {0, h - 1};
    for (int i : cx)
        for (int j : cy) {
            c.Set(left + i, j, Mix(look.outline, kWhite, 0.6f));
            const int ii = i == 0 ? 1 : w - 2, jj = j == 0 ? 1 : h - 2;
            c.Set(left + ii, jj, Mix(look.outline, look.highlight, 0.5f));
        }
}

// A 15 x 15 check or radio cell. Shapes are drawn over a transparent cell and then flattened:
// pixels mostly inside become opaque (blended over white, the face they stand on); the rest
// become magenta, the transparent key, which must never be mixed into an edge.
struct ToggleLook {
    Rgba outline, fillTop, fillBottom;
    bool glow, checked;
    Rgba mark;
};

void FlattenOverWhite(Canvas& c, const Canvas& cell, int left, int top) {
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x) {
            const Rgba p = cell.Get(x, y);
            if (p.a < 0.4f) {
                c.Set(left + x, top + y, kMagenta);
            } else {
                c.Set(left + x, top + y, kWhite);
                c.Blend(left + x, top + y, {p.r, p.g, p.b, std::min(1.0f, p.a * 1.15f)});
            }
        }
}

void DrawToggleCell(Canvas& c, int left, int top, bool radio, const ToggleLook& look) {
    Canvas cell(15, 15);
    const Box all{0, 0, 15, 15};
    auto sd = [radio](float x, float y) {
        return radio ? SdCircle(x, y, 7.5f, 7.5f, 6.5f) : SdRoundBox(x, y, 1, 1, 14, 14, 2);
    };
    if (look.glow)
        cell.Fill(
            all, [&](float x, float y) { return Cover(sd(x, y) - 1); }, Rgb(133, 228, 255));
    cell.Fill(
        all, [&](float x, float y) { return Cover(sd(x, y)); }, look.outline);
    cell.Fill(
        all, [&](float x, float y) { return Cover(sd(x, y) + 1); },
        [&](float, float y) { return Mix(look.fillTop, look.fillBottom, (y - 2) / 11); });
    if (look.checked && radio) {
        cell.Fill(
            all, [](float x, float y) { return Cover(SdCircle(x, y, 7.5f, 7.5f, 3.0f)); }, look.mark);
    } else if (look.checked) {
        cell.Fill(
            all,
            [](float x, float y) {
                return std::max(Stroke(x, y, 4.0f, 7.6f, 6.4f, 10.0f, 1.9f),
                                Stroke(x, y, 6.4f, 10.0f, 11.2f, 4.6f, 1.9f));
            },
            look.mark);
    }
    FlattenOverWhite(c, cell, left, top);
}

}  // namespace

Canvas ElementSheet() {
    Canvas c(205, 260);
    DrawGloss(c);
    DrawStatusOverlay(c);
    DrawGrip(c);
    DrawFrame(c, 0, {102 / 255.0f, 0.55f, 0, 0});
    DrawFrame(c, 60, {0.30f, 0.60f, 0.34f, 0.18f});
    DrawFrame(c, 120, {0.42f, 0.95f, 0.55f, 0.30f});
    DrawCaptionRows(c);
    DrawLogo(c);
    return c;
}

Canvas ControlSheet() {
    Canvas c(160, 55);
    c.FillRect({0, 0, 160, 55}, kMagenta);
    const ButtonLook buttons[] = {
        {Rgb(178, 181, 183), Rgb(250, 253, 255), Rgb(252, 253, 254), Rgb(232, 235, 244)},  // normal
        {Rgb(92, 164, 197), Rgb(179, 248, 255), Rgb(239, 249, 254), Rgb(182, 226, 248)},   // hover
        {Rgb(92, 164, 197), Rgb(1, 203, 254), Rgb(160, 226, 243), Rgb(230, 246, 253)},     // pressed
        {Rgb(178, 181, 183), Rgb(250, 252, 253), Rgb(245, 251, 255), Rgb(225, 225, 225)},  // disabled
    };
    for (int i = 0; i < 4; ++i) DrawPushCell(c, i * 40, buttons[i]);

    const Rgba blue = Rgb(78, 160, 209), grey = Rgb(178, 181, 183);
    const Rgba white = kWhite, paleWhite = Rgb(246, 249, 251);
    const Rgba pressedTop = Rgb(214, 238, 251), pressedBottom = Rgb(244, 250, 254);
    const Rgba disabledFill = Rgb(244, 244, 244);
    for (int radio = 0; radio < 2; ++radio)
        for (int checked = 0; checked < 2; ++checked) {
            const Rgba mark = radio ? Rgb(71, 168, 18) : Rgb(62, 156, 10);
            const ToggleLook looks[] = {
                {blue, white, paleWhite, false, bool(checked), mark},                       // normal
                {blue, white, paleWhite, true, bool(checked), mark},                        // hover
                {blue, pressedTop, pressedBottom, true, bool(checked), mark},               // pressed
                {grey, disabledFill, disabledFill, false, bool(checked), Rgb(93, 93, 93)},  // disabled
            };
            for (int state = 0; state < 4; ++state)
                DrawToggleCell(c, (state + 4 * checked) * 15, radio ? 40 : 25, radio, looks[state]);
        }
    return c;
}

// The page is plotted pixel by pixel: straight edges on whole pixels and the fold's diagonal as
// an exact 45-degree staircase, which is as crisp as a diagonal gets at 32 x 32.
Canvas DocumentIcon() {
    Canvas c(32, 32);
    const int left = 6, top = 2, right = 25, bottom = 29, fold = 7;
    const Rgba edge = Rgb(124, 132, 140), foldEdge = Rgb(150, 158, 166);
    auto cut = [&](int x, int y) { return x - (right - fold) > y - top; };  // beyond the diagonal
    auto onDiagonal = [&](int x, int y) { return x - (right - fold) == y - top; };
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            if (cut(x, y)) continue;
            Rgba colour = Mix(Rgb(255, 255, 255), Rgb(244, 246, 248), float(y - top) / (bottom - top));
            const bool inFold = x >= right - fold && y <= top + fold;
            if (inFold)
                colour = Mix(Rgb(250, 251, 252), Rgb(210, 216, 222),
                             float((x - (right - fold)) + (top + fold - y)) / (2 * fold));
            if (inFold && (x == right - fold || y == top + fold)) colour = foldEdge;
            if (x == left || y == top || x == right || y == bottom || onDiagonal(x, y)) colour = edge;
            c.Set(x, y, colour);
        }
    // A faint shadow one pixel to the right and below.
    for (int y = top + fold + 1; y <= bottom + 1; ++y) c.Blend(right + 1, y, Rgb(0, 0, 0, 0.12f));
    for (int x = left + 1; x <= right; ++x) c.Blend(x, bottom + 1, Rgb(0, 0, 0, 0.12f));
    for (int k = 1; k <= fold; ++k) c.Blend(right - fold + k + 1, top + k, Rgb(0, 0, 0, 0.06f));
    return c;
}

// The toolbox tile and its emblem are laid out by hand for each size, as icon designers hint
// them, so that every edge of the emblem falls on a pixel boundary.
struct IconLayout {
    int size;
    float inset, bottom, radius;     // tile
    int bodyL, bodyT, bodyR, bodyB;  // toolbox body
    float bodyRadius;
    int handleL, handleT, handleR, stroke;  // handle, an arch standing on the body
    int seamY, seamH;                       // lid seam
    int claspW, claspH;                     // clasp on the seam, 0 for none
};
constexpr IconLayout kIconLayouts[] = {
    {64, 2, 61, 13, 13, 26, 51, 50, 4, 21, 17, 43, 4, 35, 2, 8, 8},
    {48, 1.5f, 46, 10, 10, 20, 38, 38, 3, 16, 13, 32, 3, 26, 2, 6, 6},
    {32, 1, 31, 7, 7, 14, 25, 26, 2, 11, 9, 21, 2, 18, 1, 4, 4},
    {24, 0.5f, 23.5f, 5, 5, 10, 19, 20, 1.5f, 8, 6, 16, 2, 14, 1, 0, 0},
    {16, 0, 16, 3.5f, 3, 7, 13, 13, 1, 5, 4, 11, 1, 9, 1, 0, 0},
};

Canvas ToolboxIcon(int n) {
    const IconLayout* layout = &kIconLayouts[0];
    for (const IconLayout& l : kIconLayouts)
        if (l.size == n) layout = &l;
    const IconLayout& L = *layout;
    Canvas c(n, n);
    const Box all{0, 0, n, n};
    const float s = n / 64.0f;
    auto tile = [&](float x, float y) {
        return SdRoundBox(x, y, L.inset, L.inset, n - L.inset, L.bottom, L.radius);
    };
    if (L.bottom < n)  // soft shadow under the tile
        c.Fill(
            all,
            [&](float x, float y) {
                return 0.30f * Cover(SdRoundBox(x, y, L.inset, L.inset + 1.5f * s, n - L.inset,
                                                L.bottom + 1.5f * s, L.radius) /
                                     (1.2f * s));
            },
            Rgb(0, 40, 90));
    c.Fill(
        all, [&](float x, float y) { return Cover(tile(x, y)); },
        [&](float, float y) {
            return Mix(Rgb(86, 214, 250), Rgb(12, 128, 214), (y - L.inset) / (L.bottom - L.inset));
        });
    // A faint gloss on the upper half and a darker rim for definition on light backgrounds.
    c.Fill(
        all, [&](float x, float y) { return Cover(tile(x, y) + 1) * (y < n * 0.5f ? 1.0f : 0.0f); },
        [&](float, float y) {
            return Rgba{255, 255, 255, 0.20f * (1 - y / (n * 0.5f))};
        });
    if (n >= 24)
        c.Fill(
            all, [&](float x, float y) { return Band(tile(x, y), 0, 1); }, Rgb(6, 96, 170, 0.55f));

    // The emblem: a white toolbox with a handle, a lid seam and, on the larger sizes, a clasp.
    Mask m(n, n);
    m.Add([&](float x, float y) {
        return Cover(SdRoundBox(x, y, L.bodyL, L.bodyT, L.bodyR, L.bodyB, L.bodyRadius));
    });
    const float archRadius = std::min(L.stroke * 1.5f, (L.handleR - L.handleL) / 2.0f);
    m.Add([&](float x, float y) {
        if (y >= L.bodyT) return 0.0f;
        return Band(SdRoundBox(x, y, L.handleL, L.handleT, L.handleR, L.bodyT + archRadius + 2, archRadius),
                    0, L.stroke);
    });
    m.Cut([&](float, float y) { return y > L.seamY && y < L.seamY + L.seamH ? 1.0f : 0.0f; });
    if (L.claspW > 0) {
        const float cl = (n - L.claspW) / 2.0f, ct = L.seamY + L.seamH / 2.0f - L.claspH / 2.0f;
        m.Cut([&](float x, float y) {
            return x > cl - 1 && x < cl + L.claspW + 1 && y > ct - 1 && y < ct + L.claspH + 1 ? 1.0f : 0.0f;
        });
        m.Add([&](float x, float y) {
            return Cover(SdRoundBox(x, y, cl, ct, cl + L.claspW, ct + L.claspH, 1));
        });
    }
    if (n >= 32) m.Paint(c, 0, 1, Rgb(0, 50, 120, 0.28f));
    m.Paint(c, 0, 0, kWhite);
    return c;
}

Canvas DefaultSkin() {
    const int w = 388, h = 401;
    Canvas c(w, h);
    // Sky: deeper at the top, pale toward the horizon, with a warm-white glow around the sun.
    const float sunX = 318, sunY = 46;
    c.Fill(
        {0, 0, w, h}, [](float, float) { return 1.0f; },
        [=](float x, float y) {
            Rgba sky = Mix(Rgb(146, 206, 222), Rgb(214, 238, 238), std::min(1.0f, y / 120));
            const float d = std::hypot(x - sunX, y - sunY);
            sky = Mix(sky, Rgb(252, 254, 246), 0.75f * std::exp(-(d * d) / (2 * 60.0f * 60.0f)));
            return sky;
        });
    c.Fill(
        {0, 0, w, h}, [=](float x, float y) { return Cover(SdCircle(x, y, sunX, sunY, 15)); },
        Rgb(255, 255, 250, 0.85f));
    // Soft clouds: blobs with a wide feathered edge.
    struct Blob {
        float x, y, r;
    };
    const Blob clouds[] = {{120, 40, 16}, {142, 34, 20}, {166, 42, 15}, {104, 46, 10},
                           {184, 47, 9},  {236, 78, 10}, {252, 72, 13}, {270, 78, 10},
                           {30, 20, 12},  {48, 16, 15},  {66, 22, 10}};
    c.Fill(
        {0, 0, w, 140},
        [&](float x, float y) {
            float a = 0;
            for (const Blob& b : clouds)
                a = std::max(a, 1 - Smooth(-6, 4, SdCircle(x, y * 1.4f, b.x, b.y * 1.4f, b.r)));
            return a * Smooth(0, 1, (54 - y) / 30 + (y > 60 ? 1 : 0));
        },
        Rgb(255, 255, 255, 0.60f));
    // Hills in layers, paler with distance. Each ridge is a sum of sines; its edge is
    // antialiased by the vertical distance scaled by the slope.
    struct Ridge {
        float base, a1, f1, p1, a2, f2, p2;
        Rgba top, bottom;
    };
    const Ridge ridges[] = {
        {92, 9, 0.021f, 1.0f, 4, 0.057f, 2.0f, Rgb(170, 214, 212), Rgb(186, 224, 220)},
        {110, 12, 0.014f, 2.6f, 5, 0.041f, 0.4f, Rgb(138, 198, 190), Rgb(170, 216, 206)},
        {134, 10, 0.010f, 0.3f, 4, 0.033f, 1.7f, Rgb(122, 190, 172), Rgb(166, 214, 196)},
    };
    for (const Ridge& r : ridges) {
        auto edge = [&](float x) {
            return r.base + r.a1 * std::sin(x * r.f1 + r.p1) + r.a2 * std::sin(x * r.f2 + r.p2);
        };
        c.Fill(
            {0, 0, w, h},
            [&](float x, float y) {
                const float slope = (edge(x + 0.5f) - edge(x - 0.5f));
                return Cover((edge(x) - y) / std::sqrt(1 + slope * slope));
            },
            [&](float, float y) {
                return Mix(r.top, r.bottom, std::clamp((y - r.base + 20) / 80, 0.0f, 1.0f));
            });
    }
    // A still lake with light streaks, and a near bank.
    c.Fill(
        {0, 160, w, h}, [](float, float y) { return Cover(178 - y); },
        [](float, float y) { return Mix(Rgb(196, 232, 234), Rgb(168, 218, 222), (y - 178) / 120); });
    for (int i = 0; i < 9; ++i) {
        const float y0 = 190 + i * 13.0f, x0 = 40 + std::fmod(i * 97.0f, 260.0f), len = 40 + (i % 3) * 26.0f;
        c.Fill(
            {0, 180, w, 320},
            [=](float x, float y) { return Cover(SdRoundBox(x, y, x0, y0, x0 + len, y0 + 1.5f, 0.75f)); },
            Rgb(255, 255, 255, 0.45f));
    }
    auto bank = [](float x) { return 300 + 26 * std::sin(x * 0.012f + 2.4f) + 8 * std::sin(x * 0.05f); };
    c.Fill(
        {0, 240, w, h}, [&](float x, float y) { return Cover(bank(x) - y); },
        [](float, float y) { return Mix(Rgb(150, 208, 184), Rgb(124, 192, 168), (y - 280) / 120); });
    // Two birds far away.
    const float birds[][3] = {{212, 30, 1.0f}, {232, 40, 0.8f}};
    for (const auto& b : birds)
        c.Fill(
            {0, 0, w, 80},
            [&](float x, float y) {
                const float k = b[2];
                return std::max(Stroke(x, y, b[0] - 5 * k, b[1] - 2 * k, b[0], b[1], 1.0f),
                                Stroke(x, y, b[0], b[1], b[0] + 5 * k, b[1] - 2.5f * k, 1.0f));
            },
            Rgb(70, 120, 130, 0.6f));
    // A little grain, so that the encoder keeps the long gradients free of bands.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned hsh = (unsigned(x) * 73856093u) ^ (unsigned(y) * 19349663u);
            const float n = float((hsh >> 7) % 5) - 2.0f;
            Rgba p = c.Get(x, y);
            c.Set(x, y, {p.r + n, p.g + n, p.b + n, 1.0f});
        }
    return c;
}

}  // namespace pictures
