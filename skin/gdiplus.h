// The skin engine's view of GDI and the GDI+ flat API, and the owner types of their handles.
// mingw-w64's <gdiplus.h> needs <objidl.h> first when WIN32_LEAN_AND_MEAN is set, and declares the
// flat functions in Gdiplus::DllExports: both facts live here and nowhere else.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

namespace skin {

using namespace Gdiplus::DllExports;
using Gdiplus::ARGB;
using Gdiplus::GdiplusStartup;
using Gdiplus::GdiplusStartupInput;
using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpFont;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpLineGradient;
using Gdiplus::GpPen;
using Gdiplus::GpSolidFill;
using Gdiplus::GpStatus;
using Gdiplus::GpStringFormat;
using Gdiplus::REAL;

// How many GDI objects (bitmaps, brushes, regions, memory DCs) the engine has made and released.
// Wine's GetGuiResources is a stub, so a soak test reads these instead. Creation sites report
// with CountGdi; the owner types below and ReleaseGdiObject/ReleaseMemoryDc report releases.
// Windows refuses to delete an object still selected into a DC (the object then leaks) while Wine
// deletes it silently, so each release also checks the engine's live memory DCs and counts such
// deletes: a test under Wine sees the fault that only leaks on Windows.
struct GdiCounts {
    long created = 0;
    long released = 0;
    long deletedWhileSelected = 0;
    long live() const { return created - released; }
};
inline GdiCounts gdiCounts;
// The memory DCs the engine made and has not deleted yet (a handful: the shared one, two per
// skinned window and the short-lived ones of control painting).
inline std::vector<HDC> liveMemoryDcs;

template <class H>
H CountGdi(H handle) {
    if (!handle) return handle;
    ++gdiCounts.created;
    if constexpr (std::is_same_v<H, HDC>) liveMemoryDcs.push_back(handle);
    return handle;
}
inline bool SelectedInMemoryDc(HGDIOBJ object) {
    const DWORD type = ::GetObjectType(object);
    if (type != OBJ_BITMAP && type != OBJ_BRUSH && type != OBJ_PEN && type != OBJ_FONT) return false;
    for (HDC dc : liveMemoryDcs) {
        if (::GetCurrentObject(dc, type) == object) return true;
    }
    return false;
}
inline void ReleaseGdiObject(HGDIOBJ object) {
    if (!object) return;
    if (SelectedInMemoryDc(object)) ++gdiCounts.deletedWhileSelected;
    if (::DeleteObject(object)) ++gdiCounts.released;
}
inline void ReleaseMemoryDc(HDC dc) {
    if (!dc) return;
    liveMemoryDcs.erase(std::remove(liveMemoryDcs.begin(), liveMemoryDcs.end(), dc), liveMemoryDcs.end());
    if (::DeleteDC(dc)) ++gdiCounts.released;
}

// --- GDI owners -----------------------------------------------------------------------------------

struct GdiDeleter {
    void operator()(HGDIOBJ h) const { ReleaseGdiObject(h); }
};
struct DcDeleter {
    void operator()(HDC dc) const { ReleaseMemoryDc(dc); }
};
struct IconDeleter {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
struct GlobalDeleter {
    void operator()(HGLOBAL block) const { ::GlobalFree(block); }
};

template <class H>
using GdiPtr = std::unique_ptr<std::remove_pointer_t<H>, GdiDeleter>;
using BitmapPtr = GdiPtr<HBITMAP>;
using BrushPtr = GdiPtr<HBRUSH>;
using RegionPtr = GdiPtr<HRGN>;
using MemDcPtr = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using IconPtr = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using GlobalPtr = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalDeleter>;

// A DC of a window (or of the screen when the window is 0), released on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a DC and selects the previous one back on scope exit; never deletes.
// Declare it after the owner of the object so that it deselects before the owner deletes.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (old_) ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// --- GDI+ owners ----------------------------------------------------------------------------------

struct GpImageDeleter {
    void operator()(GpImage* p) const { GdipDisposeImage(p); }
};
struct GpBrushDeleter {
    void operator()(GpBrush* p) const { GdipDeleteBrush(p); }
};
struct GpPenDeleter {
    void operator()(GpPen* p) const { GdipDeletePen(p); }
};
struct GpFontDeleter {
    void operator()(GpFont* p) const { GdipDeleteFont(p); }
};
struct GpFontFamilyDeleter {
    void operator()(GpFontFamily* p) const { GdipDeleteFontFamily(p); }
};
struct GpStringFormatDeleter {
    void operator()(GpStringFormat* p) const { GdipDeleteStringFormat(p); }
};
struct GpGraphicsDeleter {
    void operator()(GpGraphics* p) const { GdipDeleteGraphics(p); }
};

using GpImagePtr = std::unique_ptr<GpImage, GpImageDeleter>;
using GpBrushPtr = std::unique_ptr<GpBrush, GpBrushDeleter>;
using GpPenPtr = std::unique_ptr<GpPen, GpPenDeleter>;
using GpFontPtr = std::unique_ptr<GpFont, GpFontDeleter>;
using GpFontFamilyPtr = std::unique_ptr<GpFontFamily, GpFontFamilyDeleter>;
using GpStringFormatPtr = std::unique_ptr<GpStringFormat, GpStringFormatDeleter>;
using GpGraphicsPtr = std::unique_ptr<GpGraphics, GpGraphicsDeleter>;

// A GDI+ graphics on a DC; empty when GDI+ refuses (for example before start-up).
inline GpGraphicsPtr GraphicsOnDc(HDC dc) {
    GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return nullptr;
    return GpGraphicsPtr(graphics);
}

}  // namespace skin
