// Shared drawing resources of the skin engine, their start-up, the byte-array helpers and the
// skin picture object.
#include "skin/resources.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "resources/resource_ids.h"
#include "runtime/embedded.h"
#include "skin/image_bounds.h"
#include "skin/picture_header.h"
#include "skin/registry.h"

namespace skin {

ULONG_PTR GdiplusToken = 0;
HICON DefaultWindowIcon = nullptr;
GpImage* ElementSheet = nullptr;
GpBrush* HaloBrush = nullptr;
GpBrush* TextBrush = nullptr;
GpPen* OutlinePen = nullptr;
GpFont* BoldFont = nullptr;
GpFont* RegularFont = nullptr;
GpStringFormat* CenteredFormat = nullptr;
GpStringFormat* LeftFormat = nullptr;
HICON DocumentIcon = nullptr;
HBITMAP ControlSheetBitmap = nullptr;
PaintSet SharedPaintSet;
GpBrushPtr FaceFillBrush;
GpBrushPtr SkinBrush;
COLORREF SkinColor = 0;
int SkinWidth = 0;
int SkinHeight = 0;
bool ControlSkinningEnabled = false;
SkinImage TheSkinImage;

namespace {

// No picture format GDI+ reads has a header shorter than this (TIFF's is 8 bytes).
constexpr size_t kMinImageFileBytes = 8;

// A picture decoded through a stream over a global block holding the file bytes. GDI+ may go
// on reading through the stream while the image lives, so the stream and the block must outlive
// the image.
struct StreamedImage {
    GpImage* image = nullptr;
    IStream* stream = nullptr;
    HGLOBAL memory = nullptr;
};

bool DecodeFromBytes(std::string_view bytes, StreamedImage& out) {
    if (bytes.size() < kMinImageFileBytes) return false;
    // CreateStreamOnHGlobal is documented to want a moveable block.
    GlobalPtr block(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!block) return false;
    void* data = ::GlobalLock(block.get());
    if (!data) return false;
    std::memcpy(data, bytes.data(), bytes.size());
    ::GlobalUnlock(block.get());
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block.get(), FALSE, &stream)) || !stream) return false;
    GpImage* image = nullptr;
    if (GdipLoadImageFromStream(stream, &image) != Gdiplus::Ok || !image) {
        stream->Release();
        return false;
    }
    out = {image, stream, block.release()};
    return true;
}

int ImageWidth(GpImage* image) {
    UINT width = 0;
    GdipGetImageWidth(image, &width);
    return static_cast<int>(width);
}

int ImageHeight(GpImage* image) {
    UINT height = 0;
    GdipGetImageHeight(image, &height);
    return static_cast<int>(height);
}

// A metafile declares whatever size it likes in its header, and the decoder does not check it:
// a picture the engine would have to draw at more pixels than its cap, or at none, is not taken.
bool SizeWithinCap(GpImage* image) {
    const uint64_t width = static_cast<uint64_t>(ImageWidth(image));
    const uint64_t height = static_cast<uint64_t>(ImageHeight(image));
    return width > 0 && height > 0 && width * height <= kMaxPicturePixels;
}

// The module's own icon 0x81, 0x80 or "DEFAULT_ICON", else the shell's icon of .exe files.
HICON LoadDefaultWindowIcon(HMODULE module) {
    const char* const names[] = {MAKEINTRESOURCEA(0x81), MAKEINTRESOURCEA(0x80), "DEFAULT_ICON"};
    for (const char* name : names) {
        if (HICON icon = ::LoadIconA(module, name)) return icon;
    }
    SHFILEINFOA info{};
    ::SHGetFileInfoA(".exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    return info.hIcon;
}

GpStringFormat* CreateFormat(Gdiplus::StringAlignment align) {
    GpStringFormat* format = nullptr;
    GdipCreateStringFormat(0, 2052, &format);
    GdipSetStringFormatAlign(format, align);
    GdipSetStringFormatLineAlign(format, Gdiplus::StringAlignmentCenter);
    return format;
}

}  // namespace

void SkinModuleStartup() {
    static bool started = false;  // once per process; later calls find everything made
    if (started) return;
    started = true;
    std::atexit(SkinModuleShutdown);

    GdiplusStartupInput input;  // version 1, no debug callback, nothing suppressed
    GdiplusStartup(&GdiplusToken, &input, nullptr);
    HMODULE module = ::GetModuleHandleA(nullptr);
    DefaultWindowIcon = LoadDefaultWindowIcon(module);
    ElementSheet = LoadImageFromBytes(runtime::EmbeddedBytes(IDR_ELEMENT_SHEET));
    HaloBrush = CreateSolidFill(ToArgb(0x000000, 90));
    TextBrush = CreateSolidFill(ToArgb(0xFFFFFF, 255));
    GdipCreatePen1(ToArgb(0x000000, 150), 1.0f, Gdiplus::UnitWorld, &OutlinePen);
    BoldFont = CreateFontByName("宋体", 12, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    RegularFont = CreateFontByName("宋体", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    CenteredFormat = CreateFormat(Gdiplus::StringAlignmentCenter);
    LeftFormat = CreateFormat(Gdiplus::StringAlignmentNear);
    DocumentIcon = IconFromIcoBytes(runtime::EmbeddedBytes(IDR_DOCUMENT_ICON), 0);
    SkinBrush.reset(CreateSolidFill(ToArgb(kStartupSkinColor, 255)));

    {
        WindowDc screen(nullptr);
        SharedPaintSet.MemoryDC = CountGdi(::CreateCompatibleDC(screen.get()));
    }
    ControlSheetBitmap = CountGdi(BitmapFromBmpBytes(runtime::EmbeddedBytes(IDR_CONTROL_SHEET)));
    if (ControlSheetBitmap) ::SelectObject(SharedPaintSet.MemoryDC, ControlSheetBitmap);
    SharedPaintSet.FallbackFont = static_cast<HFONT>(::GetStockObject(OEM_FIXED_FONT));
    SharedPaintSet.FaceColor = ::GetSysColor(COLOR_BTNFACE);
    SharedPaintSet.FaceBrush.reset(CountGdi(::CreateSolidBrush(SharedPaintSet.FaceColor)));
    FaceFillBrush.reset(CreateSolidFill(ToArgb(SharedPaintSet.FaceColor, 255)));
}

void SkinModuleShutdown() {
    TheSkinImage.Dispose();
    TheWindowRegistry.Clear();
}

GpBrush* CreateSolidFill(uint32_t argb) {
    GpSolidFill* brush = nullptr;
    if (GdipCreateSolidFill(argb, &brush) != Gdiplus::Ok) return nullptr;
    return brush;
}

GpFont* CreateFontByName(const std::string& family, float size, int style, int unit) {
    GpFontFamily* rawFamily = nullptr;
    if (GdipCreateFontFamilyFromName(AnsiToWide(family).c_str(), nullptr, &rawFamily) != Gdiplus::Ok)
        return nullptr;
    GpFontFamilyPtr owner(rawFamily);
    GpFont* font = nullptr;
    if (GdipCreateFont(rawFamily, size, style, static_cast<Gdiplus::Unit>(unit), &font) != Gdiplus::Ok)
        return nullptr;
    return font;
}

std::wstring AnsiToWide(const std::string& text) {
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (units <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], units);
    wide.resize(static_cast<size_t>(units) - 1);  // the string keeps its own terminating NUL
    return wide;
}

GpImage* LoadImageFromBytes(std::string_view bytes, int* width, int* height) {
    StreamedImage decoded;
    if (!DecodeFromBytes(bytes, decoded)) return nullptr;
    if (width) *width = ImageWidth(decoded.image);
    if (height) *height = ImageHeight(decoded.image);
    return decoded.image;  // stream and block stay for the life of the process
}

HICON IconFromIcoBytes(std::string_view bytes, int entry, int* width, int* height) {
    const std::optional<IconImageSpan> span = IconEntrySpan(bytes, entry);
    if (!span) return nullptr;
    if (width) *width = span->width;
    if (height) *height = span->height;
    auto* data = reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data() + span->offset));
    // Not CreateIconFromResource: it passes LR_SHARED, and a shared icon outlives DestroyIcon (Wine
    // keeps it; Windows says not to destroy it at all), so every icon made here would leak.
    return ::CreateIconFromResourceEx(data, static_cast<DWORD>(span->size), TRUE, 0x00030000, 0, 0,
                                      LR_DEFAULTSIZE);
}

HBITMAP BitmapFromBmpBytes(std::string_view bytes) {
    if (!BmpPixelSpanOf(bytes)) return nullptr;
    static_assert(sizeof(BITMAPINFOHEADER) == kBmpInfoHeaderBytes, "the checked layout is the system's");
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.data() + kBmpFileHeaderBytes);
    WindowDc screen(nullptr);
    return ::CreateDIBitmap(screen.get(), &info->bmiHeader, CBM_INIT, bytes.data() + kBmpPixelOffset, info,
                            DIB_RGB_COLORS);
}

// --- SkinImage ----------------------------------------------------------------------------------

void SkinImage::Dispose() {
    if (image_) {
        GdipDisposeImage(image_);
        image_ = nullptr;
    }
    if (stream_) {
        stream_->Release();
        stream_ = nullptr;
    }
    if (memory_) {
        ::GlobalFree(memory_);
        memory_ = nullptr;
    }
    width_ = 0;
    height_ = 0;
}

bool SkinImage::LoadFromBytes(std::string_view bytes) {
    StreamedImage decoded;
    if (!DecodeFromBytes(bytes, decoded)) return false;
    if (!SizeWithinCap(decoded.image)) {
        GdipDisposeImage(decoded.image);
        decoded.stream->Release();
        ::GlobalFree(decoded.memory);
        return false;
    }
    Attach(decoded.image);
    stream_ = decoded.stream;
    memory_ = decoded.memory;
    return true;
}

bool SkinImage::LoadFromFile(const std::string& path) {
    GpImage* image = nullptr;
    if (GdipLoadImageFromFile(AnsiToWide(path).c_str(), &image) != Gdiplus::Ok || !image) return false;
    if (!SizeWithinCap(image)) {
        GdipDisposeImage(image);
        return false;
    }
    Attach(image);
    return true;
}

void SkinImage::Attach(GpImage* image) {
    if (image && image == image_) return;  // already ours: disposing it first would lose it
    Dispose();
    image_ = image;
    if (image_) {
        width_ = ImageWidth(image_);
        height_ = ImageHeight(image_);
    }
}

}  // namespace skin
