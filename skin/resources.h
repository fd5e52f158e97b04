// The skin engine's shared drawing resources, made once by SkinModuleStartup and shared by every
// skinned window, the helpers that turn colours and byte arrays into GDI/GDI+ objects, and the
// user's skin picture (SkinImage).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "skin/gdiplus.h"

namespace skin {

// The record of shared GDI objects that the painting code of frames and controls reads.
struct PaintSet {
    HDC MemoryDC = nullptr;        // screen-compatible, the control sheet selected for good
    HFONT FallbackFont = nullptr;  // stock OEM_FIXED_FONT, for controls that report no font
    BrushPtr FaceBrush;            // solid brush of FaceColor (answers WM_CTLCOLOR*)
    COLORREF FaceColor = 0;        // COLOR_BTNFACE at start-up
};

// --- Shared resources. Made by SkinModuleStartup; a resource that could not be made stays 0 and
// the drawing that uses it is skipped by GDI/GDI+. Only SkinBrush, FaceFillBrush and
// SharedPaintSet.FaceBrush are ever replaced; the others live until the process ends.
extern ULONG_PTR GdiplusToken;
extern HICON DefaultWindowIcon;  // title-bar icon of a window that has none
extern GpImage* ElementSheet;    // built-in frame-element sheet (PNG with alpha)
extern GpBrush* HaloBrush;       // black, alpha 90: halo strokes behind text
extern GpBrush* TextBrush;       // opaque white text
extern GpPen* OutlinePen;        // black, alpha 150, width 1: client outline
extern GpFont* BoldFont;         // "宋体" 12 px bold: window title
extern GpFont* RegularFont;      // "宋体" 12 px regular: banner texts
extern GpStringFormat* CenteredFormat;
extern GpStringFormat* LeftFormat;
extern HICON DocumentIcon;          // icon of a banner button given none
extern HBITMAP ControlSheetBitmap;  // the control sheet, selected into SharedPaintSet.MemoryDC
extern PaintSet SharedPaintSet;
extern GpBrushPtr FaceFillBrush;  // opaque FaceColor: fills the client area
extern GpBrushPtr SkinBrush;      // fills the whole window first
extern COLORREF SkinColor;        // average colour of the applied skin picture, 0 before
extern int SkinWidth;             // size of the applied skin picture, 0 before
extern int SkinHeight;
extern bool ControlSkinningEnabled;  // set by SkinAllControls, never cleared

// The colour the banner shows before any skin picture is applied.
constexpr COLORREF kStartupSkinColor = 0x00D2B30E;

// Starts GDI+ and makes every shared resource above. Runs once on the UI thread before the first
// window is created. Nothing is checked: see the comment on the resources.
void SkinModuleStartup();

// Process end (SkinModuleStartup registers it with atexit; running it twice is harmless): disposes
// the skin picture (and frees its memory block) and frees the window registry. The shared
// resources and GDI+ itself are left to the end of the process.
void SkinModuleShutdown();

// --- Helpers ------------------------------------------------------------------------------------

// 0x00BBGGRR plus alpha -> 0xAARRGGBB; bits 24-31 of the colour are ignored.
constexpr uint32_t ToArgb(uint32_t color, uint32_t alpha) {
    const uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    return ((alpha & 0xFF) << 24) | (r << 16) | (g << 8) | b;
}

GpBrush* CreateSolidFill(uint32_t argb);  // 0 when GDI+ refuses
// style: 0 regular, 1 bold; unit: 2 pixel. 0 when the family does not exist.
GpFont* CreateFontByName(const std::string& family, float size, int style, int unit);
// ANSI (system code page) -> UTF-16; c_str() gives the terminating NUL.
std::wstring AnsiToWide(const std::string& text);

// Decodes an image file held in memory. The bytes are copied into a global memory block that GDI+
// reads through a stream for the life of the image, so neither is ever freed: meant for pictures
// that live until the process ends (the element sheet). Width/height are written when not null.
// 0 for bytes that are empty or no picture GDI+ reads.
GpImage* LoadImageFromBytes(std::string_view bytes, int* width = nullptr, int* height = nullptr);

// Icon `entry` (from 0) of an .ico file held in memory; width/height (when not null) get the bytes
// of the directory entry. 0 when the directory entry or its image data do not lie wholly inside
// the bytes, or when the system refuses the image. The caller owns the icon (DestroyIcon).
HICON IconFromIcoBytes(std::string_view bytes, int entry, int* width = nullptr, int* height = nullptr);

// A screen-compatible bitmap from the bytes of an uncompressed BMP file. 0 when the bytes are too
// short for the headers or for the pixel data the header describes.
HBITMAP BitmapFromBmpBytes(std::string_view bytes);

// --- The user's skin picture -------------------------------------------------------------------

class SkinImage {
public:
    SkinImage() = default;
    ~SkinImage() { Dispose(); }
    SkinImage(const SkinImage&) = delete;
    SkinImage& operator=(const SkinImage&) = delete;

    // Releases the picture, then its stream and memory block.
    void Dispose();
    // Takes a picture from the bytes of an image file. False (and no change) for empty bytes,
    // bytes GDI+ cannot read, and a picture of no pixels or more than kMaxPicturePixels (a
    // metafile's header may declare any size); true replaces the current picture.
    bool LoadFromBytes(std::string_view bytes);
    // The same for a file (ANSI path). A picture from a file has no memory block.
    bool LoadFromFile(const std::string& path);
    // Makes `image` (possibly 0) the current picture and takes ownership of it.
    void Attach(GpImage* image);

    GpImage* GetImage() const { return image_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    // The block holding the file bytes of a picture that came from bytes; 0 otherwise.
    HGLOBAL GetMemory() const { return memory_; }

private:
    GpImage* image_ = nullptr;
    HGLOBAL memory_ = nullptr;
    IStream* stream_ = nullptr;  // GDI+ may read the picture lazily through it
    int width_ = 0;
    int height_ = 0;
};

// The one skin picture of the process.
extern SkinImage TheSkinImage;

}  // namespace skin
