// The skin engine's operations on real windows: loading pictures (and refusing bad ones), the
// sampled skin colour, face colour, status text, banner buttons and hooks.
#include "skin/engine.h"

#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "runtime/embedded.h"
#include "skin/frame_render.h"
#include "skin/resources.h"
#include "tests/test_pictures.h"
#include "tests/test_support.h"

namespace skin {
namespace {

std::string OneColour(COLORREF c, int w = 40, int h = 30) { return test::SolidBmp(w, h, c); }
using test::MakeBmp;

// A PNG that declares 20000 x 20000 pixels: the header alone, as a decompression bomb starts.
std::string PngBomb() {
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x4e\x20\0\0\x4e\x20\x08\x06\0\0\0", 29);
    return png + std::string(64, '\0');
}

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcA(h, m, w, l); }

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SkinModuleStartup();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "EngineTestWindow";
        ::RegisterClassA(&wc);
    }
    void SetUp() override { TheSkinEngine.SetSkinColor(kStartupSkinColor); }
    void TearDown() override {
        for (HWND w : windows_) ::DestroyWindow(w);
    }
    HWND NewWindow(int banner, int status = 26) {
        HWND w = ::CreateWindowExA(0, "EngineTestWindow", "测试", WS_OVERLAPPEDWINDOW, 100, 100, 317, 427,
                                   nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        windows_.push_back(w);
        WindowSettings s;
        s.bannerHeight = banner;
        s.statusHeight = status;
        EXPECT_EQ(TheSkinEngine.RegisterWindow(w, s), 1);
        return w;
    }
    static HBITMAP CacheBitmap(HWND w) { return ReadHandleProp<HBITMAP>(w, prop::kCacheBitmap); }
    std::vector<HWND> windows_;
    test::ScratchDir dir_;
};

TEST_F(EngineTest, FailedLoadsChangeNothing) {
    ASSERT_EQ(TheSkinEngine.LoadSkinFromBytes(OneColour(RGB(10, 120, 200))), 1);
    HWND w = NewWindow(80);
    GpImage* before = TheSkinImage.GetImage();
    const COLORREF colour = SkinColor;
    const HBITMAP cache = CacheBitmap(w);
    const std::string text = dir_.File("说明.txt"), missing = dir_.File("没有.png"),
                      bomb = dir_.File("bomb.png");
    test::WriteFileBytes(text, "only text, not a picture");
    test::WriteFileBytes(bomb, PngBomb());
    EXPECT_EQ(TheSkinEngine.LoadSkinFromBytes(""), 0);
    EXPECT_EQ(TheSkinEngine.LoadSkinFromBytes("only text, not a picture"), 0);
    EXPECT_EQ(TheSkinEngine.LoadSkinFromBytes(PngBomb()), 0) << "refused before decoding";
    EXPECT_EQ(TheSkinEngine.LoadSkinFromFile(text), 0);
    EXPECT_EQ(TheSkinEngine.LoadSkinFromFile(missing), 0);
    EXPECT_EQ(TheSkinEngine.LoadSkinFromFile(bomb), 0);
    EXPECT_EQ(TheSkinImage.GetImage(), before);
    EXPECT_EQ(SkinColor, colour);
    EXPECT_EQ(CacheBitmap(w), cache) << "no window was redrawn";
}

TEST_F(EngineTest, SampledColourIsThePicturesAverage) {
    const struct {
        std::string bytes;
        COLORREF want;
        int tolerance;
    } cases[] = {
        {OneColour(RGB(14, 179, 210)), RGB(14, 179, 210), 0},
        {OneColour(RGB(255, 255, 255)), RGB(255, 255, 255), 0},
        {MakeBmp(40, 30, [](int x, int) { return x < 20 ? RGB(0, 0, 0) : RGB(255, 255, 255); }),
         RGB(128, 128, 128), 1},
        {MakeBmp(10, 10, [](int x, int y) { return (x + y) % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255); }),
         RGB(128, 0, 128), 1},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(TheSkinEngine.LoadSkinFromBytes(c.bytes), 1);
        EXPECT_NEAR(GetRValue(SkinColor), GetRValue(c.want), c.tolerance);
        EXPECT_NEAR(GetGValue(SkinColor), GetGValue(c.want), c.tolerance);
        EXPECT_NEAR(GetBValue(SkinColor), GetBValue(c.want), c.tolerance);
    }
    const std::string file = dir_.File("皮肤.bmp");
    test::WriteFileBytes(file, OneColour(RGB(1, 2, 3), 50, 60));
    ASSERT_EQ(TheSkinEngine.LoadSkinFromFile(file), 1);
    EXPECT_EQ(SkinColor, RGB(1, 2, 3));
    EXPECT_EQ(SkinWidth, 50);
    EXPECT_EQ(SkinHeight, 60);
}

TEST_F(EngineTest, SetSkinColorDropsThePictureAndKeepsSkinColor) {
    ASSERT_EQ(TheSkinEngine.LoadSkinFromBytes(OneColour(RGB(50, 60, 70))), 1);
    EXPECT_EQ(TheSkinEngine.SetSkinColor(RGB(200, 0, 0)), 1);
    EXPECT_EQ(TheSkinImage.GetImage(), nullptr);
    EXPECT_EQ(SkinColor, RGB(50, 60, 70));
    ARGB argb = 0;
    GdipGetSolidFillColor(reinterpret_cast<GpSolidFill*>(SkinBrush.get()), &argb);
    EXPECT_EQ(argb, ToArgb(RGB(200, 0, 0), 255));
}

TEST_F(EngineTest, SetFaceColorRedrawsOnlyOnChange) {
    HWND w = NewWindow(80);
    TheSkinEngine.SetFaceColor(RGB(1, 2, 3));
    const HBITMAP cache = CacheBitmap(w);
    TheSkinEngine.SetFaceColor(RGB(1, 2, 3));
    EXPECT_EQ(CacheBitmap(w), cache) << "the same colour does not redraw";
    TheSkinEngine.SetFaceColor(SkinEngine::kSystemFaceColor);
    EXPECT_EQ(TheSkinEngine.GetFaceColor(), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(CacheBitmap(w), cache);
}

TEST_F(EngineTest, BannerButtonsRaiseTheBannerAndLineUp) {
    HWND low = NewWindow(50), high = NewWindow(120);
    EXPECT_EQ(TheSkinEngine.AddBannerButton(low, "一", {}), 1);
    EXPECT_EQ(ReadIntProp(low, prop::kBannerHeight), 80);
    EXPECT_EQ(TheSkinEngine.AddBannerButton(high, "一", {}), 1);
    EXPECT_EQ(ReadIntProp(high, prop::kBannerHeight), 120);

    TheSkinEngine.AddBannerButton(high, "二", {});
    TheSkinEngine.AddBannerButton(high, "三", {});
    auto bannerXs = [&](HWND w) {
        std::vector<int> xs;
        WindowRecord* r = FindWindowRecord(w);
        for (int i = 1; i <= r->elementCount(); ++i) {
            if (r->Element(i)->kind == ElementBannerButton) xs.push_back(r->Element(i)->x);
        }
        return xs;
    };
    EXPECT_EQ(bannerXs(high), (std::vector<int>{5, 67, 129}));
    WindowRecord* record = FindWindowRecord(high);
    int selected = 0;
    for (int i = 1; i <= record->elementCount(); ++i) selected += record->Element(i)->selected;
    EXPECT_EQ(selected, 1) << "only the first starts selected";
    EXPECT_EQ(record->Element(record->elementCount() - 2)->icon, DocumentIcon)
        << "no icon: the document icon";

    EXPECT_EQ(TheSkinEngine.SelectBannerButton(high, "四"), 0);
    EXPECT_EQ(TheSkinEngine.RemoveBannerButton(high, "一"), 1);
    EXPECT_EQ(bannerXs(high), (std::vector<int>{5, 67}));
    EXPECT_EQ(TheSkinEngine.RemoveBannerButton(high, "一"), 0);
}

// An icon the engine made from .ico bytes goes with its button (removed, or its window destroyed);
// a handle the caller passed, and the shared document icon, are never destroyed.
TEST_F(EngineTest, BannerButtonIconsMadeFromBytesGoWithTheButton) {
    const std::string icoBytes(runtime::EmbeddedBytes(IDR_TOOLBOX_ICON));
    HICON callers = ::CopyIcon(DocumentIcon);
    ASSERT_NE(callers, nullptr);
    // The 4-byte form holds the handle's low 32 bits, little-endian (handles fit in them).
    const uint32_t handle = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(callers));
    const std::string handleBytes(reinterpret_cast<const char*>(&handle), 4);
    auto alive = [](HICON icon) {
        ICONINFO info{};
        if (!::GetIconInfo(icon, &info)) return false;
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        return true;
    };
    auto iconOf = [](HWND w, const std::string& caption) {
        WindowRecord* r = FindWindowRecord(w);
        for (int i = 1; i <= r->elementCount(); ++i) {
            if (r->Element(i)->text == caption) return r->Element(i)->icon;
        }
        return HICON{};
    };
    HWND w = NewWindow(80);
    TheSkinEngine.AddBannerButton(w, "字节", icoBytes);
    TheSkinEngine.AddBannerButton(w, "句柄", handleBytes);
    TheSkinEngine.AddBannerButton(w, "文档", {});
    TheSkinEngine.AddBannerButton(w, "再一个", icoBytes);
    const HICON fromBytes = iconOf(w, "字节"), another = iconOf(w, "再一个");
    ASSERT_TRUE(alive(fromBytes));
    EXPECT_EQ(iconOf(w, "句柄"), callers);

    TheSkinEngine.RemoveBannerButton(w, "字节");
    TheSkinEngine.RemoveBannerButton(w, "句柄");
    EXPECT_FALSE(alive(fromBytes));
    EXPECT_TRUE(alive(callers));
    ASSERT_TRUE(alive(another));
    ::DestroyWindow(w);
    EXPECT_FALSE(alive(another));
    EXPECT_TRUE(alive(callers));
    EXPECT_TRUE(alive(DocumentIcon));
    ::DestroyIcon(callers);
}

TEST_F(EngineTest, StatusTextAndHooksFollowTheWindowsSettings) {
    HWND withStatus = NewWindow(80, 26), without = NewWindow(80, 0);
    TheSkinEngine.SetStatusText(withStatus, "状态");
    WindowRecord* r = FindWindowRecord(withStatus);
    EXPECT_EQ(r->Element(r->statusIndex)->text, "状态");
    TheSkinEngine.SetStatusText(without, "状态");  // no status line: nothing to change
    EXPECT_EQ(FindWindowRecord(without)->statusIndex, 0);

    static int clicks = 0;
    TheSkinEngine.SetMainMenuClickHook(withStatus, [] { ++clicks; });
    EXPECT_NE(ReadProp(withStatus, prop::kMainMenuClick), 0);
    TheSkinEngine.SetHelpClickHook(withStatus, nullptr);
    EXPECT_EQ(ReadProp(withStatus, prop::kHelpClick), 0);

    EXPECT_EQ(TheSkinEngine.EnableSizeBox(withStatus), 1);
    EXPECT_EQ(ReadIntProp(withStatus, prop::kMinWidth), 150);
    EXPECT_EQ(ReadIntProp(withStatus, prop::kMinHeight), 100);
    HWND loose = ::CreateWindowExA(0, "EngineTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
    windows_.push_back(loose);
    EXPECT_EQ(TheSkinEngine.EnableSizeBox(loose), 0) << "not registered";
    EXPECT_EQ(TheSkinEngine.AddBannerButton(loose, "x", {}), 0);
}

}  // namespace
}  // namespace skin
