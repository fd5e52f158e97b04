// Frame rendering: real registered windows, pixels read back from their cache DC.
#include "skin/frame_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include <cstdlib>
#include <vector>

#include "skin/image_layout.h"
#include "skin/registration.h"
#include "skin/registry.h"
#include "resources/resource_ids.h"
#include "runtime/embedded.h"
#include "skin/resources.h"
#include "tests/skin_environment.h"

namespace {

using namespace skin;

constexpr int kW = 317;
constexpr int kH = 427;

// A borderless popup of 317 x 427, registered with the given settings and destroyed at the end.
class SkinnedWindow {
public:
    explicit SkinnedWindow(const WindowSettings& settings, int width = kW, int height = kH) {
        hwnd_ = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 40, 40, width, height, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        RegisterWindow(hwnd_, settings);
    }
    ~SkinnedWindow() { ::DestroyWindow(hwnd_); }
    SkinnedWindow(const SkinnedWindow&) = delete;
    SkinnedWindow& operator=(const SkinnedWindow&) = delete;
    HWND get() const { return hwnd_; }
    COLORREF Pixel(int x, int y) const {
        return ::GetPixel(ReadHandleProp<HDC>(hwnd_, prop::kCacheDc), x, y);
    }

private:
    HWND hwnd_;
};

// Replaces a GDI+ image global (the element sheet) for one test with a picture of flat regions.
struct Region {
    SheetRect rect;
    uint32_t argb;
};

class FlatImage {
public:
    FlatImage(int width, int height, uint32_t fill, std::initializer_list<Region> regions)
        : pixels_(static_cast<size_t>(width) * height, fill) {
        for (const Region& r : regions) {
            for (int y = r.rect.y; y < r.rect.y + r.rect.height; ++y) {
                for (int x = r.rect.x; x < r.rect.x + r.rect.width; ++x) pixels_[y * width + x] = r.argb;
            }
        }
        Gdiplus::GpBitmap* bitmap = nullptr;
        GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                  reinterpret_cast<BYTE*>(pixels_.data()), &bitmap);
        image_.reset(bitmap);
    }
    GpImage* get() const { return image_.get(); }

private:
    std::vector<uint32_t> pixels_;  // GDI+ reads the bitmap from here
    GpImagePtr image_;
};

class SheetSwap {
public:
    explicit SheetSwap(GpImage* replacement) : saved_(ElementSheet) { ElementSheet = replacement; }
    ~SheetSwap() { ElementSheet = saved_; }
    SheetSwap(const SheetSwap&) = delete;
    SheetSwap& operator=(const SheetSwap&) = delete;

private:
    GpImage* saved_;
};

// A skin picture and skin colour for one test; the brush is the start-up colour again afterwards.
class SkinPictureSwap {
public:
    SkinPictureSwap(GpImage* picture, int width, int height, COLORREF skinColor, COLORREF brushColor) {
        TheSkinImage.Attach(picture);
        SkinWidth = width;
        SkinHeight = height;
        SkinColor = skinColor;
        SkinBrush.reset(CreateSolidFill(ToArgb(brushColor, 255)));
    }
    ~SkinPictureSwap() {
        TheSkinImage.Attach(nullptr);
        SkinWidth = SkinHeight = 0;
        SkinColor = 0;
        SkinBrush.reset(CreateSolidFill(ToArgb(kStartupSkinColor, 255)));
    }
    SkinPictureSwap(const SkinPictureSwap&) = delete;
    SkinPictureSwap& operator=(const SkinPictureSwap&) = delete;
};

GpImage* OneColourPicture(int width, int height, uint32_t argb, int leftWidth = 0, uint32_t leftArgb = 0) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) GdipBitmapSetPixel(bitmap, x, y, x < leftWidth ? leftArgb : argb);
    }
    return bitmap;
}

bool Near(COLORREF a, COLORREF b, int tolerance = 3) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kYellow = RGB(230, 230, 0);
constexpr COLORREF kBlue = RGB(0, 0, 230);
constexpr COLORREF kGreen = RGB(0, 160, 0);
uint32_t Argb(COLORREF c) { return ToArgb(c, 255); }

TEST(RenderFrame, PlacesTheSkinPictureAtTheRightOfTheBannerWithItsFades) {
    const int banner = 80;
    const struct {
        const char* name;
        int pictureWidth;
        int pictureHeight;
        int leftWidth;  // a yellow band on the picture's left that must not show when wider
        int left;       // where the picture starts in the window
        bool sideFade;
    } cases[] = {
        {"narrower", 250, 200, 0, kW - 250, true},
        {"wider", 400, 200, 400 - kW, 0, false},
        {"as wide", kW, 200, 0, 0, false},
        {"lower than the banner", 250, 40, 0, kW - 250, true},
    };
    SheetSwap noSheet(nullptr);  // the gloss and border would cover the colours under test
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SkinPictureSwap skin(
            OneColourPicture(c.pictureWidth, c.pictureHeight, Argb(kRed), c.leftWidth, Argb(kYellow)),
            c.pictureWidth, c.pictureHeight, kBlue, kGreen);
        SkinnedWindow window({banner, 0});
        const int drawnHeight = std::min(banner + 10, c.pictureHeight);
        // Right end of the banner: the picture itself (never its yellow left-hand part).
        EXPECT_TRUE(Near(window.Pixel(kW - 2, 30), kRed)) << std::hex << window.Pixel(kW - 2, 30);
        // Its first column: the start of the side fade is the skin colour, else the picture.
        EXPECT_TRUE(Near(window.Pixel(c.left, 30), c.sideFade ? kBlue : kRed))
            << std::hex << window.Pixel(c.left, 30);
        if (c.left > 0) {
            EXPECT_TRUE(Near(window.Pixel(c.left - 1, 30), kGreen));
        }
        // Below the drawn picture the background shows; the bottom fade darkens towards the skin
        // colour whatever the picture's height.
        EXPECT_TRUE(Near(window.Pixel(kW - 2, drawnHeight + 1), kGreen));
        if (drawnHeight > banner) {
            EXPECT_TRUE(Near(window.Pixel(kW - 2, banner - 1), kRed));
        }
        EXPECT_TRUE(Near(window.Pixel(kW - 2, banner + 9), kBlue, 30))
            << std::hex << window.Pixel(kW - 2, banner + 9);
    }
}

TEST(RenderFrame, WithoutAPictureShowsThePlainSkinColourAndNoFade) {
    SheetSwap noSheet(nullptr);
    SkinPictureSwap skin(nullptr, 0, 0, kBlue, kGreen);
    SkinnedWindow window({80, 20});
    for (const POINT p : {POINT{1, 30}, POINT{kW - 2, 30}, POINT{kW - 2, 85}, POINT{kW - 2, 89}}) {
        EXPECT_EQ(window.Pixel(p.x, p.y), kGreen) << p.x << "," << p.y;
    }
}

// Element sheet of flat regions: gloss and glyphs in one colour, the status overlay and the grip in
// colours of their own, the border transparent so that the face and outline show to the edge.
constexpr uint32_t kSheetArgb = 0xFF203040;
constexpr uint32_t kOverlayArgb = 0xFF405060;
constexpr uint32_t kGripArgb = 0xFF708090;
constexpr COLORREF kOverlay = RGB(0x40, 0x50, 0x60);
constexpr COLORREF kGrip = RGB(0x70, 0x80, 0x90);

TEST(RenderFrame, StatusLineOverlayGripAndFaceFollowTheStatusHeightAndSizeBox) {
    FlatImage sheet(205, 260, kSheetArgb,
                    {{kBorderFrame, 0}, {kStatusOverlay, kOverlayArgb}, {kSizeGrip, kGripArgb}});
    SheetSwap swap(sheet.get());
    const COLORREF face = SharedPaintSet.FaceColor;
    const struct {
        int status;
        int sizeBox;
        COLORREF inStatusBand;  // (20, H - 10)
        COLORREF atGrip;        // (W - 8, H - 8)
        int statusWidth;
    } cases[] = {
        {20, 1, kOverlay, kGrip, kW - 20},
        {20, 0, kOverlay, kOverlay, kW - 10},
        {0, 1, face, face, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status * 10 + c.sizeBox);
        SkinnedWindow window({120, c.status, 0, 0, 0, 0, c.sizeBox});
        EXPECT_EQ(window.Pixel(20, kH - 10), c.inStatusBand);
        EXPECT_EQ(window.Pixel(kW - 8, kH - 8), c.atGrip);
        const WindowRecord* record = FindWindowRecord(window.get());
        ASSERT_NE(record, nullptr);
        if (c.status > 0) {
            const DuiElement* line = record->Element(record->statusIndex);
            ASSERT_NE(line, nullptr);
            EXPECT_EQ(line->x, 5);
            EXPECT_EQ(line->y, kH - c.status - 3);
            EXPECT_EQ(line->width, c.statusWidth);
            EXPECT_EQ(line->rect.bottom, kH - 3);
        } else {
            // The face reaches H - B - 4 pixels down from B + 1, and the outline follows it.
            EXPECT_EQ(record->statusIndex, 0);
            EXPECT_EQ(window.Pixel(20, kH - 4), face);
            EXPECT_NE(window.Pixel(20, kH - 3), face);
        }
    }
}

TEST(RenderFrame, FillsTheClientAreaWithTheFaceColourInsideTheOutline) {
    FlatImage sheet(205, 260, kSheetArgb, {{kBorderFrame, 0}});
    SheetSwap swap(sheet.get());
    SkinnedWindow window({120, 20});
    const COLORREF face = SharedPaintSet.FaceColor;
    EXPECT_EQ(window.Pixel(3, 121), face);
    EXPECT_EQ(window.Pixel(kW / 2, 250), face);
    EXPECT_EQ(window.Pixel(kW - 4, kH - 24), face);
    // The outline (black, alpha 150) is darker than the face on all four sides.
    for (const POINT p : {POINT{2, 200}, POINT{kW - 3, 200}, POINT{100, 120}, POINT{100, kH - 23}}) {
        EXPECT_LT(GetRValue(window.Pixel(p.x, p.y)), GetRValue(face)) << p.x << "," << p.y;
    }
}

TEST(RenderFrame, LaysCaptionButtonsOutFromTheRightEdge) {
    const struct {
        WindowSettings settings;
        std::vector<std::pair<int, int>> idAndX;
    } cases[] = {
        {{120, 20, 0, 0, 0, 1}, {{1, 272}, {5, 245}}},
        {{80, 26, 0, 1}, {{1, kW - 45}, {3, kW - 72}, {2, kW - 72}}},
        {{80, 26, 1, 1, 1, 1},
         {{1, kW - 45}, {3, kW - 72}, {2, kW - 72}, {4, kW - 99}, {5, kW - 126}, {7, kW - 153}}},
    };
    for (const auto& c : cases) {
        SkinnedWindow window(c.settings);
        const WindowRecord* record = FindWindowRecord(window.get());
        ASSERT_NE(record, nullptr);
        std::vector<std::pair<int, int>> got;
        for (const auto& e : record->elements) {
            if (e->kind == ElementCaptionButton) got.emplace_back(e->buttonId, e->x);
        }
        EXPECT_EQ(got, c.idAndX);
    }
}

TEST(RenderFrame, UnforcedRenderWithoutSizeChangeDrawsNothing) {
    SkinnedWindow window({120, 20});
    HDC cache = ReadHandleProp<HDC>(window.get(), prop::kCacheDc);
    ::SetPixel(cache, 100, 200, RGB(1, 2, 3));
    ::SetWindowRgn(window.get(), ::CreateRectRgn(0, 0, 50, 50), FALSE);

    EXPECT_FALSE(RenderFrame(window.get(), false));
    EXPECT_EQ(window.Pixel(100, 200), RGB(1, 2, 3));
    RECT box{};
    ::GetWindowRgnBox(window.get(), &box);
    EXPECT_EQ(box.right, 50);

    EXPECT_TRUE(RenderFrame(window.get(), true));
    EXPECT_EQ(window.Pixel(100, 200), SharedPaintSet.FaceColor);
    ::GetWindowRgnBox(window.get(), &box);
    EXPECT_EQ(box.right, kW);
}

TEST(RenderFrame, ReplacesItsCacheBitmapsWithoutLeakingAndReleasesThemWithTheWindow) {
    const long before = gdiCounts.live();
    {
        SkinnedWindow window({120, 20});
        const long afterFirst = gdiCounts.live();
        EXPECT_EQ(afterFirst - before, 4);  // two memory DCs, two bitmaps
        for (int i = 0; i < 5; ++i) RenderFrame(window.get(), true);
        EXPECT_EQ(gdiCounts.live(), afterFirst);
    }
    EXPECT_EQ(gdiCounts.live(), before);
}

}  // namespace

namespace {

// The demo window of the frame: every caption button, two banner buttons (the first selected), a
// status text, and a skinned push button and check box in the client area. Set TOOLBOX_FRAME_SHOT
// to a .png path to keep a picture of it as it appears on the screen.
class DemoWindow {
public:
    DemoWindow() {
        hwnd_ = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "TAVEN桌面工具箱V2.0", WS_POPUP | WS_VISIBLE, 200,
                                  150, kW, kH, nullptr, nullptr, nullptr, nullptr);
        HWND panel = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 3, 121, kW - 6,
                                       kH - 121 - 26 - 3, hwnd_, nullptr, nullptr, nullptr);
        ::CreateWindowExA(0, "Button", "确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 30, 90, 28, panel,
                          nullptr, nullptr, nullptr);
        HWND check = ::CreateWindowExA(0, "Button", "开机时启动", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 20,
                                       80, 120, 20, panel, nullptr, nullptr, nullptr);
        ::SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
        for (HWND c = ::GetWindow(panel, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            ::SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        }
        ControlSkinningEnabled = true;
        RegisterWindow(hwnd_, {120, 26, 1, 1, 1, 1});
        ControlSkinningEnabled = false;
        WindowRecord& record = *FindWindowRecord(hwnd_);
        toolboxIcon_.reset(IconFromIcoBytes(runtime::EmbeddedBytes(IDR_TOOLBOX_ICON), 0));
        const int first =
            AddElement(record, ElementBannerButton, 0, 5, 27, 60, 52, "我的工具箱", toolboxIcon_.get());
        AddElement(record, ElementBannerButton, 0, 67, 27, 60, 52, "文档", DocumentIcon);
        record.Element(first)->selected = true;
        record.Element(record.statusIndex)->text = "共 12 项";
        RenderFrame(hwnd_, true);
        ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    ~DemoWindow() { ::DestroyWindow(hwnd_); }
    DemoWindow(const DemoWindow&) = delete;
    DemoWindow& operator=(const DemoWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    static GpImage* DefaultPicture(int* width, int* height) {
        return LoadImageFromBytes(runtime::EmbeddedBytes(IDR_DEFAULT_SKIN), width, height);
    }
    int pictureWidth_ = 0, pictureHeight_ = 0;
    GpImage* picture_ = DefaultPicture(&pictureWidth_, &pictureHeight_);
    SkinPictureSwap skin_{picture_, pictureWidth_, pictureHeight_, RGB(0x2A, 0x6E, 0x9E),
                          RGB(0x2A, 0x6E, 0x9E)};
    IconPtr toolboxIcon_;
    GdiPtr<HFONT> font_{::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0,
                                      ANTIALIASED_QUALITY, 0, "宋体")};
    HWND hwnd_ = nullptr;
};

void SaveScreenArea(const RECT& area, const char* path) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    HDC screen = ::GetDC(nullptr);
    MemDcPtr dc(::CreateCompatibleDC(screen));
    BitmapPtr bitmap(::CreateCompatibleBitmap(screen, w, h));
    {
        SelectGuard select(dc.get(), bitmap.get());
        ::BitBlt(dc.get(), 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    }
    ::ReleaseDC(nullptr, screen);
    Gdiplus::GpBitmap* image = nullptr;
    GdipCreateBitmapFromHBITMAP(bitmap.get(), nullptr, &image);
    GpImagePtr owner(image);
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    GdipSaveImageToFile(image, AnsiToWide(path).c_str(), &png, nullptr);
}

TEST(RenderFrame, DemoWindowOnTheScreenIsItsCache) {
    DemoWindow window;
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::Sleep(10);
    }
    RECT rect{};
    ::GetWindowRect(window.get(), &rect);
    HDC cache = ReadHandleProp<HDC>(window.get(), prop::kCacheDc);
    HDC screen = ::GetDC(nullptr);
    int differing = 0, checked = 0;
    // The frame outside the client panel: banner with picture, caption and banner buttons, title,
    // and the status line.
    for (int y = 0; y < kH; y += 3) {
        for (int x = 0; x < kW; x += 3) {
            const bool inPanel = x >= 3 && x < kW - 3 && y >= 121 && y < kH - 29;
            const bool outsideRegion = (x < 2 || x > kW - 3) && (y < 2 || y > kH - 3);  // rounded corners
            if (inPanel || outsideRegion) continue;
            ++checked;
            differing += ::GetPixel(screen, rect.left + x, rect.top + y) != ::GetPixel(cache, x, y);
        }
    }
    EXPECT_GT(checked, 5000);
    EXPECT_EQ(differing, 0);
    // The caption buttons and the banner buttons are drawn over the back copy.
    HDC back = ReadHandleProp<HDC>(window.get(), prop::kBackDc);
    for (const auto& e : FindWindowRecord(window.get())->elements) {
        if (!e->visible) continue;
        int changed = 0;
        for (int y = e->y; y < e->y + e->height; ++y) {
            for (int x = e->x; x < e->x + e->width; ++x)
                changed += ::GetPixel(cache, x, y) != ::GetPixel(back, x, y);
        }
        EXPECT_GT(changed, 10) << "element " << e->selfIndex;
    }
    ::ReleaseDC(nullptr, screen);
    if (const char* path = std::getenv("TOOLBOX_FRAME_SHOT")) {
        const RECT area{rect.left - 20, rect.top - 20, rect.right + 20, rect.bottom + 20};
        SaveScreenArea(area, path);
    }
}

}  // namespace
