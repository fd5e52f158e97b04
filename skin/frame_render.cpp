// Frame rendering of skinned windows: composes the frame off-screen once per size change and
// patches single elements from the back copy, so painting is always a plain copy.
#include "skin/frame_render.h"

#include <algorithm>

#include "skin/image_layout.h"
#include "skin/resources.h"

namespace skin {

namespace {

constexpr int kCaptionTextBottom = 26;  // the title band ends where the banner buttons start
constexpr int kCaptionOverhang = 8;     // banner captions may spread this far beside their button

// The size of the last full render: what the cache bitmaps hold.
Size CachedSize(HWND hwnd) { return {ReadIntProp(hwnd, prop::kWidth), ReadIntProp(hwnd, prop::kHeight)}; }

HDC CacheDc(HWND hwnd) { return ReadHandleProp<HDC>(hwnd, prop::kCacheDc); }
HDC BackDc(HWND hwnd) { return ReadHandleProp<HDC>(hwnd, prop::kBackDc); }

void DrawPiece(GpGraphics* graphics, const SheetRect& destination, const SheetRect& source) {
    DrawSheetPiece(graphics, ElementSheet, destination.x, destination.y, destination.width,
                   destination.height, source.x, source.y, source.width, source.height);
}

// GDI+ may hold drawing back; GDI calls on the same DC must see it first.
void Flush(GpGraphics* graphics) {
    if (graphics) GdipFlush(graphics, Gdiplus::FlushIntentionSync);
}

// A graphics on the cache for sheet pieces. Nearest-neighbour sampling with half-pixel offsets makes
// every 1:1 piece an exact copy and every stretched piece (gloss, status overlay, border edges) a
// clean repeat of its own pixels: bilinear sampling would blend in the sheet's neighbouring pieces
// at the edges.
GpGraphicsPtr FrameGraphics(HDC dc) {
    GpGraphicsPtr graphics = GraphicsOnDc(dc);
    if (graphics) {
        GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeNearestNeighbor);
        GdipSetPixelOffsetMode(graphics.get(), Gdiplus::PixelOffsetModeHalf);
        GdipSetTextRenderingHint(graphics.get(), Gdiplus::TextRenderingHintAntiAlias);
    }
    return graphics;
}

// The record of a registered window; null when its index is stale or was never set.
WindowRecord* RecordInRange(HWND hwnd) { return FindWindowRecord(hwnd); }

void EnsureCacheDcs(HWND hwnd, HDC reference) {
    if (CacheDc(hwnd)) return;
    HDC cache = CountGdi(::CreateCompatibleDC(reference));
    HDC back = CountGdi(::CreateCompatibleDC(reference));
    ::SetBkMode(cache, TRANSPARENT);
    ::SetStretchBltMode(cache, HALFTONE);
    ::SetBrushOrgEx(cache, 0, 0, nullptr);
    WriteHandleProp(hwnd, prop::kCacheDc, cache);
    WriteHandleProp(hwnd, prop::kBackDc, back);
}

// One memory DC's bitmap pair: the bitmap it holds and the one that selection replaced.
struct BitmapSlot {
    const char* dc;
    const char* bitmap;
    const char* oldBitmap;
};
constexpr BitmapSlot kBitmapSlots[] = {
    {prop::kCacheDc, prop::kCacheBitmap, prop::kCacheOldBitmap},
    {prop::kBackDc, prop::kBackBitmap, prop::kBackOldBitmap},
};

void ReleaseBitmaps(HWND hwnd) {
    for (const BitmapSlot& slot : kBitmapSlots) {
        HBITMAP bitmap = ReadHandleProp<HBITMAP>(hwnd, slot.bitmap);
        if (!bitmap) continue;
        // Never delete a bitmap while it is selected: put the original back first.
        ::SelectObject(ReadHandleProp<HDC>(hwnd, slot.dc), ReadHandleProp<HGDIOBJ>(hwnd, slot.oldBitmap));
        ReleaseGdiObject(bitmap);
        WriteProp(hwnd, slot.bitmap, 0);
        WriteProp(hwnd, slot.oldBitmap, 0);
    }
}

void ReplaceBitmaps(HWND hwnd, HDC reference, Size size) {
    ReleaseBitmaps(hwnd);
    for (const BitmapSlot& slot : kBitmapSlots) {
        HBITMAP bitmap = CountGdi(::CreateCompatibleBitmap(reference, size.width, size.height));
        HGDIOBJ old = ::SelectObject(ReadHandleProp<HDC>(hwnd, slot.dc), bitmap);
        WriteHandleProp(hwnd, slot.bitmap, bitmap);
        WriteHandleProp(hwnd, slot.oldBitmap, old);
    }
}

void FillLinearFade(GpGraphics* graphics, Gdiplus::PointF from, Gdiplus::PointF to, uint32_t fromArgb,
                    uint32_t toArgb, int x, int y, int width, int height) {
    Gdiplus::GpLineGradient* gradient = nullptr;
    GdipCreateLineBrush(&from, &to, fromArgb, toArgb, Gdiplus::WrapModeTile, &gradient);
    GpBrushPtr brush(gradient);
    if (brush) GdipFillRectangleI(graphics, brush.get(), x, y, width, height);
}

// The user's picture at the right-hand end of the banner, 1:1, faded into the skin colour on its
// left (when it does not reach the left edge) and below the banner.
void DrawSkinPicture(GpGraphics* graphics, Size size, int banner) {
    GpImage* picture = TheSkinImage.GetImage();
    if (!picture) return;
    const bool narrower = SkinWidth < size.width;
    const int destinationX = narrower ? size.width - SkinWidth : 0;
    const int sourceX = narrower ? 0 : SkinWidth - size.width;
    const int drawnWidth = SkinWidth - sourceX;
    const int drawnHeight = std::min(banner + kSkinFadeHeight, SkinHeight);
    DrawSheetPiece(graphics, picture, destinationX, 0, drawnWidth, drawnHeight, sourceX, 0, drawnWidth,
                   drawnHeight);
    const float left = static_cast<float>(destinationX);
    if (destinationX > 0) {
        FillLinearFade(graphics, {left, 0}, {left + kSkinFadeWidth, 0}, ToArgb(SkinColor, 255),
                       ToArgb(SkinColor, 0), destinationX, 0, kSkinFadeWidth, banner + kSkinFadeHeight);
    }
    const float top = static_cast<float>(banner);
    FillLinearFade(graphics, {0, top}, {0, top + kSkinFadeHeight}, ToArgb(SkinColor, 0),
                   ToArgb(SkinColor, 255), 0, banner, size.width, kSkinFadeHeight);
}

void DrawStatusLine(HWND hwnd, GpGraphics* graphics, Size size, int status, WindowRecord* record) {
    if (status <= 0) return;
    const int top = size.height - status - 3;
    DrawPiece(graphics, {2, top, size.width - 4, status}, kStatusOverlay);
    const bool sizeBox = ReadIntProp(hwnd, prop::kSizeBox) == 1;
    if (record) {
        if (DuiElement* line = record->Element(record->statusIndex)) {
            line->width = size.width - 10 - (sizeBox ? 10 : 0);
            line->height = status;
            line->MoveTo(5, top);
        }
    }
    if (sizeBox && ReadIntProp(hwnd, prop::kMaximize) == 0) {
        DrawPiece(graphics, {size.width - 14, size.height - 14, kSizeGrip.width, kSizeGrip.height},
                  kSizeGrip);
    }
}

// Everything that stays when elements are restored: background, picture, gloss, status line,
// client face, outline and border.
void ComposeBackground(HWND hwnd, GpGraphics* graphics, Size size, WindowRecord* record) {
    const int banner = ReadIntProp(hwnd, prop::kBannerHeight);
    const int status = ReadIntProp(hwnd, prop::kStatusHeight);
    GdipFillRectangleI(graphics, SkinBrush.get(), 0, 0, size.width, size.height);
    DrawSkinPicture(graphics, size, banner);
    DrawPiece(graphics, {0, 0, size.width, kGlossHeight}, kBannerGloss);
    DrawStatusLine(hwnd, graphics, size, status, record);
    const int statusBand = std::max(status, 0);
    GdipFillRectangleI(graphics, FaceFillBrush.get(), 3, banner + 1, size.width - 6,
                       size.height - banner - statusBand - 4);
    GdipDrawRectangleI(graphics, OutlinePen, 2, banner, size.width - 5,
                       size.height - banner - statusBand - 3);
    for (const BorderPiece& piece : BorderPieces(size.width, size.height)) {
        DrawPiece(graphics, piece.destination, piece.source);
    }
}

// The title ends before the leftmost caption button, which would otherwise be drawn over it.
void DrawIconAndTitle(HWND hwnd, HDC cache, GpGraphics* graphics, int titleRight) {
    HICON icon = reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = DefaultWindowIcon;
    int titleX = 8;
    if (icon) {
        ::DrawIconEx(cache, 8, 6, icon, 16, 16, 0, nullptr, DI_NORMAL);
        titleX = 28;
    }
    const int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0) return;
    std::string title(static_cast<size_t>(length) + 1, '\0');
    title.resize(static_cast<size_t>(::GetWindowTextA(hwnd, &title[0], length + 1)));
    if (graphics)
        GdipSetClipRectI(graphics, 0, 0, titleRight, kCaptionTextBottom, Gdiplus::CombineModeReplace);
    DrawHaloText(graphics, title, BoldFont, titleX, 9, 0, 0, nullptr);
    if (graphics) GdipResetClip(graphics);
}

int LeftmostCaptionX(const WindowRecord* record, int windowWidth) {
    int left = windowWidth;
    if (!record) return left;
    for (const auto& element : record->elements) {
        if (element->kind == ElementCaptionButton && element->visible) left = std::min(left, element->x);
    }
    return left;
}

// Caption buttons from the right edge leftwards in element order; maximize does not move the
// cursor, so it shares its place with the restore button that follows it.
void LayoutCaptionButtons(WindowRecord& record, int windowWidth) {
    int cursor = windowWidth - kCaptionCursorInset;
    for (const auto& element : record.elements) {
        if (element->kind != ElementCaptionButton) continue;
        element->MoveTo(cursor, element->y);
        if (element->buttonId != ButtonMaximize) cursor -= kCaptionButtonStep;
    }
}

void DrawVisibleElements(const WindowRecord& record, HDC cache, GpGraphics* graphics) {
    for (const auto& element : record.elements) {
        if (element->visible) DrawElement(*element, cache, graphics);
    }
}

}  // namespace

void DrawSheetPiece(GpGraphics* graphics, GpImage* image, int dx, int dy, int dw, int dh, int sx, int sy,
                    int sw, int sh) {
    if (!graphics || !image) return;
    GdipDrawImageRectRect(graphics, image, static_cast<float>(dx), static_cast<float>(dy),
                          static_cast<float>(dw), static_cast<float>(dh), static_cast<float>(sx),
                          static_cast<float>(sy), static_cast<float>(sw), static_cast<float>(sh),
                          Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

void DrawHaloText(GpGraphics* graphics, const std::string& text, GpFont* font, int x, int y, int width,
                  int height, GpStringFormat* format) {
    if (!graphics || !font || text.empty()) return;
    const std::wstring wide = AnsiToWide(text);
    const auto stroke = [&](GpBrush* brush, int atX, int atY) {
        const Gdiplus::RectF layout(static_cast<float>(atX), static_cast<float>(atY),
                                    static_cast<float>(width), static_cast<float>(height));
        GdipDrawString(graphics, wide.c_str(), -1, font, &layout, format, brush);
    };
    constexpr POINT kHaloOffsets[] = {{-1, -1}, {-1, 0}, {-1, 1}, {1, -1}, {1, 0}, {1, 1}};
    for (const POINT& offset : kHaloOffsets) stroke(HaloBrush, x + offset.x, y + offset.y);
    stroke(TextBrush, x, y);
}

void DrawElement(const DuiElement& element, HDC cacheDc, GpGraphics* graphics) {
    switch (element.kind) {
    case ElementCaptionButton: {
        const SheetRect source = CaptionButtonSource(element.buttonId, element.pressed, element.hovered);
        DrawPiece(graphics, {element.x, element.y, element.width, element.height}, source);
        break;
    }
    case ElementBannerButton: {
        if (const auto frame = BannerButtonFrame(element.pressed, element.selected, element.hovered,
                                                 element.width, element.height)) {
            DrawPiece(graphics, {element.x, element.y, element.width, element.height}, *frame);
        }
        if (element.icon) {
            Flush(graphics);
            ::DrawIconEx(cacheDc, element.x + (element.width - 32) / 2, element.y + 2, element.icon, 32, 32,
                         0, nullptr, DI_NORMAL);
        }
        // The caption is centred under the button in a band wider than the button, so that a caption
        // as wide as the button (five characters) stays on one line instead of wrapping.
        DrawHaloText(graphics, element.text, RegularFont, element.x - kCaptionOverhang,
                     element.y + element.height - 16, element.width + 2 * kCaptionOverhang, 16,
                     CenteredFormat);
        break;
    }
    case ElementStatus:
        DrawHaloText(graphics, element.text, RegularFont, element.x, element.y, element.width, element.height,
                     LeftFormat);
        break;
    default: break;
    }
}

bool RenderFrame(HWND hwnd, bool force) {
    const Size size = WindowSize(hwnd);
    if (!force) {
        const Size cached = CachedSize(hwnd);
        if (cached.width == size.width && cached.height == size.height) return false;
    }
    WriteProp(hwnd, prop::kWidth, size.width);
    WriteProp(hwnd, prop::kHeight, size.height);

    WindowDc reference(hwnd);
    EnsureCacheDcs(hwnd, reference.get());
    ReplaceBitmaps(hwnd, reference.get(), size);
    HDC cache = CacheDc(hwnd);
    WindowRecord* record = RecordInRange(hwnd);
    if (record) {
        record->cacheDc = cache;
        record->backDc = BackDc(hwnd);
    }
    {
        GpGraphicsPtr graphics = FrameGraphics(cache);
        ComposeBackground(hwnd, graphics.get(), size, record);
        Flush(graphics.get());
        ::BitBlt(BackDc(hwnd), 0, 0, size.width, size.height, cache, 0, 0, SRCCOPY);
        if (record) LayoutCaptionButtons(*record, size.width);
        DrawIconAndTitle(hwnd, cache, graphics.get(), LeftmostCaptionX(record, size.width) - 2);
        if (record) DrawVisibleElements(*record, cache, graphics.get());
    }
    // The region belongs to the window once set; it is only deleted here when the window refused it.
    HRGN region = ::CreateRoundRectRgn(0, 0, size.width + 1, size.height + 1, 3, 3);
    if (region && !::SetWindowRgn(hwnd, region, TRUE)) ::DeleteObject(region);
    return true;
}

void EraseFromCache(HWND hwnd, HDC dc) {
    const Size size = CachedSize(hwnd);
    ::BitBlt(dc, 0, 0, size.width, size.height, CacheDc(hwnd), 0, 0, SRCCOPY);
}

void PaintFromCache(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    const RECT& r = paint.rcPaint;
    ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, CacheDc(hwnd), r.left, r.top, SRCCOPY);
    ::EndPaint(hwnd, &paint);
}

void RedrawElement(HWND hwnd, int index) {
    const WindowRecord* record = RecordInRange(hwnd);
    if (!record) return;
    const DuiElement* element = record->Element(index);
    if (!element || !element->visible) return;
    HDC cache = record->cacheDc ? record->cacheDc : CacheDc(hwnd);
    HDC back = record->backDc ? record->backDc : BackDc(hwnd);
    if (!cache) return;
    const DuiElement copy = *element;
    ::BitBlt(cache, copy.x, copy.y, copy.width, copy.height, back, copy.x, copy.y, SRCCOPY);
    {
        GpGraphicsPtr graphics = FrameGraphics(cache);
        DrawElement(copy, cache, graphics.get());
    }
    WindowDc window(hwnd);
    ::BitBlt(window.get(), copy.x, copy.y, copy.width, copy.height, cache, copy.x, copy.y, SRCCOPY);
}

void CopyFrameEdges(HWND hwnd, HDC dc) {
    HDC cache = CacheDc(hwnd);
    if (!cache) return;
    const Size size = CachedSize(hwnd);
    const int banner = ReadIntProp(hwnd, prop::kBannerHeight);
    const int status = ReadIntProp(hwnd, prop::kStatusHeight);
    const int height = size.height - banner - status;
    ::BitBlt(dc, 0, banner, kSideStrip, height, cache, 0, banner, SRCCOPY);
    ::BitBlt(dc, size.width - kSideStrip, banner, kSideStrip, height, cache, size.width - kSideStrip, banner,
             SRCCOPY);
}

void RedrawFrameEdges(HWND hwnd) {
    HDC dc = ::GetWindowDC(hwnd);
    CopyFrameEdges(hwnd, dc);
    ::ReleaseDC(hwnd, dc);
}

void RelayoutBannerButtons(HWND hwnd) {
    WindowRecord* record = RecordInRange(hwnd);
    HDC cache = CacheDc(hwnd);
    if (!record || !cache) return;
    const int width = ReadIntProp(hwnd, prop::kWidth);
    ::BitBlt(cache, 0, kBannerBandTop, width, kBannerBandHeight, BackDc(hwnd), 0, kBannerBandTop, SRCCOPY);
    record->nextBannerX = kFirstBannerX;
    {
        GpGraphicsPtr graphics = FrameGraphics(cache);
        for (const auto& element : record->elements) {
            if (element->kind != ElementBannerButton || !element->visible) continue;
            element->MoveTo(record->nextBannerX, element->y);
            record->nextBannerX += kBannerButtonStep;
            DrawElement(*element, cache, graphics.get());
        }
    }
    WindowDc window(hwnd);
    ::BitBlt(window.get(), 0, kBannerBandTop, width, kBannerBandHeight, cache, 0, kBannerBandTop, SRCCOPY);
}

void ReleaseFrameCache(HWND hwnd) {
    ReleaseBitmaps(hwnd);
    for (const char* name : {prop::kCacheDc, prop::kBackDc}) {
        ReleaseMemoryDc(ReadHandleProp<HDC>(hwnd, name));
        WriteProp(hwnd, name, 0);
    }
}

}  // namespace skin
