// Drawing of a skinned window's frame: the full composition into the per-window cache bitmap, the
// back copy that single elements are restored from, and the copies from the cache to the screen.
#pragma once

#include <string>

#include "skin/gdiplus.h"
#include "skin/registry.h"

namespace skin {

// Fixed geometry of the frame, in window pixels.
constexpr int kCaptionCursorInset = 45;  // the first (close) button starts at W - 45
constexpr int kCaptionButtonStep = 27;
constexpr int kGlossHeight = 90;
constexpr int kSkinFadeWidth = 150;  // left-hand fade of a picture narrower than the window
constexpr int kSkinFadeHeight = 10;  // fade below the banner
constexpr int kBannerBandTop = 27;   // banner buttons live in the band y 27..78
constexpr int kBannerBandHeight = 52;
constexpr int kBannerButtonStep = 62;
constexpr int kFirstBannerX = 5;
constexpr int kSideStrip = 3;  // the side borders beside the client band

// Composes the whole frame of `hwnd` into its cache (and the back copy). Without `force` it does
// nothing when the window still has the size of the last render. Returns whether it rendered.
bool RenderFrame(HWND hwnd, bool force);

// One GdipDrawImageRectRect of a sheet piece (source unit pixel, no attributes).
void DrawSheetPiece(GpGraphics* graphics, GpImage* image, int dx, int dy, int dw, int dh, int sx, int sy,
                    int sw, int sh);

// White ANSI text with a dark halo: six offset strokes with HaloBrush, then TextBrush on top. A
// width and height of 0 draw from (x, y) without clipping.
void DrawHaloText(GpGraphics* graphics, const std::string& text, GpFont* font, int x, int y, int width,
                  int height, GpStringFormat* format);

// Draws one caption button, banner button or status line into the cache.
void DrawElement(const DuiElement& element, HDC cacheDc, GpGraphics* graphics);

// WM_ERASEBKGND: the whole cache into `dc`.
void EraseFromCache(HWND hwnd, HDC dc);
// WM_PAINT: BeginPaint, the invalid rectangle from the cache, EndPaint.
void PaintFromCache(HWND hwnd);

// Restores one element's rectangle from the back copy, redraws the element and shows that
// rectangle on the window: hover and press never re-compose the frame.
void RedrawElement(HWND hwnd, int index);

// The left and right 3-pixel strips of the client band, from the cache into `dc`.
void CopyFrameEdges(HWND hwnd, HDC dc);
// The same through the window DC.
void RedrawFrameEdges(HWND hwnd);

// Lays the visible banner buttons out again from x 5 in steps of 62 and redraws their band.
void RelayoutBannerButtons(HWND hwnd);

// Deselects and deletes the cache and back bitmaps and DCs and clears their properties.
void ReleaseFrameCache(HWND hwnd);

}  // namespace skin
