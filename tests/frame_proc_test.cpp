// Frame message handling: registered windows driven with real mouse, hit-test, cursor and system
// messages; the window's own procedure (behind the frame procedure) records what reaches it.
#include "skin/frame_proc.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/frame_render.h"
#include "skin/registration.h"
#include "skin/registry.h"
#include "skin/resources.h"
#include "tests/test_support.h"

namespace {

using namespace skin;

constexpr int kW = 317;
constexpr int kH = 427;
constexpr int kLeft = 100;
constexpr int kTop = 80;

// What reached the window's own procedure. It answers the move and size loops itself, so no
// modal loop runs in a test, and keeps SC_CLOSE from destroying the window.
struct Seen {
    std::vector<WPARAM> commands;       // WM_SYSCOMMAND wParam
    std::vector<WPARAM> ncButtonDowns;  // WM_NCLBUTTONDOWN hit codes
    int buttonDowns = 0;                // WM_LBUTTONDOWN
    int enginePropsAtEnd = -1;          // engine properties left at WM_NCDESTROY
    int count(WPARAM command) const {
        int n = 0;
        for (WPARAM c : commands) n += c == command;
        return n;
    }
};
Seen seen;

BOOL CALLBACK CountEngineProp(HWND, LPSTR name, HANDLE, ULONG_PTR count) {
    if (!IS_INTRESOURCE(name) &&
        (std::string(name).rfind("Nimbo", 0) == 0 || std::string(name).rfind("Velvix", 0) == 0)) {
        ++*reinterpret_cast<int*>(count);
    }
    return TRUE;
}

int EnginePropCount(HWND hwnd) {
    int count = 0;
    ::EnumPropsExA(hwnd, CountEngineProp, reinterpret_cast<LPARAM>(&count));
    return count;
}

LRESULT CALLBACK OwnProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        seen.commands.push_back(wParam);
        if (wParam == SC_MAXIMIZE || wParam == SC_RESTORE || wParam == SC_MINIMIZE) break;
        return 0;
    case WM_NCLBUTTONDOWN: seen.ncButtonDowns.push_back(wParam); return 0;
    case WM_LBUTTONDOWN: ++seen.buttonDowns; return 0;
    case WM_NCDESTROY: seen.enginePropsAtEnd = EnginePropCount(hwnd); break;
    default: break;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// The engine's shared resources and the test window class, made once per test exe.
class SkinEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        SkinModuleStartup();
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "FrameProcTest";
        ::RegisterClassA(&wc);
    }
};
const auto* const kSkinEnvironment = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

class SkinnedWindow {
public:
    explicit SkinnedWindow(const WindowSettings& settings, DWORD style = WS_POPUP | WS_VISIBLE) {
        seen = Seen{};
        hwnd_ = ::CreateWindowExA(0, "FrameProcTest", "框架", style, kLeft, kTop, kW, kH, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        RegisterWindow(hwnd_, settings);
        test::PumpMessages(20);
        seen = Seen{};
    }
    ~SkinnedWindow() {
        if (::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
    }
    SkinnedWindow(const SkinnedWindow&) = delete;
    SkinnedWindow& operator=(const SkinnedWindow&) = delete;
    HWND get() const { return hwnd_; }
    WindowRecord& record() const { return *FindWindowRecord(hwnd_); }
    DuiElement& element(int index) const { return *record().Element(index); }
    LRESULT Send(UINT message, int x, int y, WPARAM wParam = 0) const {
        return ::SendMessageA(hwnd_, message, wParam, MAKELPARAM(x, y));
    }
    void Click(int x, int y) const {
        Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        Send(WM_LBUTTONUP, x, y);
    }

private:
    HWND hwnd_;
};

// Main-window layout: close (1) at x 272..311, main menu (2) at 245..271, status line (3).
const WindowSettings kMainSettings{120, 20, 0, 0, 0, 1};

TEST(FrameMouse, CloseRunsOnlyWhenPressedAndReleasedOnIt) {
    SkinnedWindow window(kMainSettings);
    // Press on close, move off, release outside: no close, close ends in the normal look.
    window.Send(WM_MOUSEMOVE, 290, 10);
    window.Send(WM_LBUTTONDOWN, 290, 10, MK_LBUTTON);
    EXPECT_TRUE(window.element(1).pressed);
    window.Send(WM_MOUSEMOVE, 150, 200, MK_LBUTTON);
    EXPECT_TRUE(window.element(1).pressed);  // the hover does not follow while a button is held
    EXPECT_TRUE(window.element(1).hovered);
    window.Send(WM_LBUTTONUP, 150, 200);
    test::PumpMessages(20);
    EXPECT_EQ(seen.count(SC_CLOSE), 0);
    EXPECT_FALSE(window.element(1).pressed);
    EXPECT_FALSE(window.element(1).hovered);
    EXPECT_EQ(window.record().hoverIndex, -1);
    EXPECT_EQ(window.record().pressedIndex, -1);

    // Press and release on it: exactly one SC_CLOSE, posted (it arrives after the release).
    window.Click(290, 10);
    EXPECT_EQ(seen.count(SC_CLOSE), 0);
    EXPECT_EQ(window.record().hoverIndex, 1);
    test::PumpMessages(20);
    EXPECT_EQ(seen.count(SC_CLOSE), 1);
    EXPECT_EQ(seen.buttonDowns, 0);  // the buttons consume their own presses
}

TEST(FrameMouse, HitRectanglesOfCloseAndMainMenu) {
    SkinnedWindow window(kMainSettings);
    const struct {
        int x, y;
        int hover;
    } cases[] = {
        {272, 1, 1},   {311, 19, 1},  {271, 10, 2}, {245, 10, 2},      {312, 10, -1},
        {290, 20, -1}, {244, 10, -1}, {290, 0, -1}, {100, kH - 10, -1} /* status line is no button */};
    for (const auto& c : cases) {
        window.Send(WM_MOUSEMOVE, c.x, c.y);
        EXPECT_EQ(window.record().hoverIndex, c.hover) << c.x << "," << c.y;
    }
}

TEST(FrameMouse, LeavingWithTheButtonHeldClearsBothLooks) {
    SkinnedWindow window(kMainSettings);
    window.Send(WM_MOUSEMOVE, 290, 10);
    window.Send(WM_LBUTTONDOWN, 290, 10, MK_LBUTTON);
    ::SendMessageA(window.get(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(window.element(1).pressed);
    EXPECT_FALSE(window.element(1).hovered);
    EXPECT_EQ(window.record().pressedIndex, -1);
    EXPECT_EQ(window.record().hoverIndex, -1);
    EXPECT_EQ(ReadIntProp(window.get(), prop::kTracking), 0);
    window.Send(WM_MOUSEMOVE, 250, 10);
    EXPECT_TRUE(window.element(2).hovered);
    EXPECT_EQ(ReadIntProp(window.get(), prop::kTracking), 1);
}

int hookCalls = 0;
void CountHook() { ++hookCalls; }

TEST(FrameMouse, MainMenuAndHelpCallTheirHooksOnlyWhenSet) {
    SkinnedWindow window({80, 26, 0, 0, 1, 1});  // close, main menu (2), help (3)
    hookCalls = 0;
    window.Click(kW - 72 + 5, 10);
    window.Click(kW - 99 + 5, 10);
    EXPECT_EQ(hookCalls, 0);
    WriteHandleProp(window.get(), prop::kMainMenuClick, &CountHook);
    window.Click(kW - 72 + 5, 10);
    EXPECT_EQ(hookCalls, 1);
    WriteHandleProp(window.get(), prop::kHelpClick, &CountHook);
    window.Click(kW - 99 + 5, 10);
    EXPECT_EQ(hookCalls, 2);
}

TEST(FrameMouse, BannerButtonsSelectShowTheirChildAndIgnoreClicksWhenSelected) {
    SkinnedWindow window(kMainSettings);
    WindowRecord& record = window.record();
    HWND children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_CAPTION, 0, 0, 50, 50, nullptr,
                                        nullptr, nullptr, nullptr);
        const int index = AddElement(record, ElementBannerButton, 0, 5 + 62 * i, 27, 60, 52, "按钮");
        record.Element(index)->childWindow = children[i];
        record.Element(index)->clickHook = &CountHook;
    }
    record.Element(4)->selected = true;
    hookCalls = 0;

    window.Click(30, 50);  // already selected: nothing at all
    EXPECT_EQ(hookCalls, 0);
    EXPECT_FALSE(::IsWindowVisible(children[0]));

    window.Click(90, 50);  // the other one: hook, selection moves, its child is adopted and shown
    EXPECT_EQ(hookCalls, 1);
    EXPECT_FALSE(record.Element(4)->selected);
    EXPECT_TRUE(record.Element(5)->selected);
    EXPECT_EQ(ReadHandleProp<HWND>(window.get(), prop::kChildWindow), children[1]);
    EXPECT_EQ(::GetParent(children[1]), window.get());
    const LONG style = ::GetWindowLongA(children[1], GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & (WS_POPUP | WS_CAPTION));
    EXPECT_TRUE(::IsWindowVisible(children[1]));

    // The banner child sits between banner and status line: (3, B + 1), W - 6 x H - B - 1 - S - 3.
    RECT rect{};
    ::GetWindowRect(children[1], &rect);
    ::MapWindowPoints(nullptr, window.get(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 3);
    EXPECT_EQ(rect.top, 121);
    EXPECT_EQ(rect.right - rect.left, 311);
    EXPECT_EQ(rect.bottom - rect.top, 283);
    ::DestroyWindow(children[0]);
}

TEST(FrameMouse, PressingInTheBannerOrStatusLineStartsAMove) {
    SkinnedWindow window(kMainSettings);
    const struct {
        int x, y;
        bool moves;
    } cases[] = {{100, 10, true},       {100, 119, true},    {100, 200, false},
                 {100, kH - 21, false}, {100, kH - 5, true}, {290, 10, false} /* on close */};
    for (const auto& c : cases) {
        seen = Seen{};
        window.Send(WM_LBUTTONDOWN, c.x, c.y, MK_LBUTTON);
        window.Send(WM_LBUTTONUP, c.x, c.y);
        const bool moved = seen.ncButtonDowns.size() == 1 && seen.ncButtonDowns[0] == HTCAPTION;
        EXPECT_EQ(moved, c.moves) << c.x << "," << c.y;
    }
    WriteProp(window.get(), prop::kMaximize, 1);  // shown maximized: no move
    seen = Seen{};
    window.Send(WM_LBUTTONDOWN, 100, 10, MK_LBUTTON);
    EXPECT_TRUE(seen.ncButtonDowns.empty());
}

TEST(FrameMouse, DoubleClickInTheBannerMaximizesOnlyWithTheMaximizeBox) {
    SkinnedWindow withBox({80, 26, 0, 1});
    withBox.Send(WM_LBUTTONDBLCLK, 290, 10);   // on close
    withBox.Send(WM_LBUTTONDBLCLK, 100, 200);  // client area
    test::PumpMessages(20);
    EXPECT_TRUE(seen.commands.empty());
    withBox.Send(WM_LBUTTONDBLCLK, 100, 10);
    test::PumpMessages(50);
    EXPECT_EQ(seen.count(SC_MAXIMIZE), 1);
    EXPECT_TRUE(::IsZoomed(withBox.get()));
    // Maximizing fills the work area, and shows restore in place of maximize.
    RECT work{}, rect{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(withBox.get(), &rect);
    EXPECT_TRUE(::EqualRect(&work, &rect));
    EXPECT_FALSE(withBox.element(2).visible);
    EXPECT_TRUE(withBox.element(3).visible);
    withBox.Send(WM_LBUTTONDBLCLK, 100, 10);
    test::PumpMessages(50);
    EXPECT_EQ(seen.count(SC_RESTORE), 1);
    EXPECT_FALSE(::IsZoomed(withBox.get()));

    SkinnedWindow without({80, 26, 0, 0});
    without.Send(WM_LBUTTONDBLCLK, 100, 10);
    test::PumpMessages(20);
    EXPECT_TRUE(seen.commands.empty());
}

TEST(FrameSystemCommands, RestoringFromMinimizedKeepsTheMaximizedLook) {
    SkinnedWindow window({80, 26, 1, 1});
    ::SendMessageA(window.get(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ::SendMessageA(window.get(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(ReadIntProp(window.get(), prop::kMinimize), 1);
    ::SendMessageA(window.get(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(ReadIntProp(window.get(), prop::kMinimize), 0);
    EXPECT_TRUE(::IsZoomed(window.get()));
    EXPECT_EQ(ReadIntProp(window.get(), prop::kMaximize), 1);
    EXPECT_TRUE(window.element(3).visible);  // restore
    ::SendMessageA(window.get(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(ReadIntProp(window.get(), prop::kMaximize), 0);
    EXPECT_TRUE(window.element(2).visible);  // maximize
}

TEST(FrameHitTest, SizingZonesWithTheSizeBox) {
    SkinnedWindow sizable({80, 26, 0, 0, 0, 0, 1});
    SkinnedWindow fixed({80, 26});
    const int r = kLeft + kW, b = kTop + kH;
    const struct {
        int x, y;
        LRESULT code;
    } cases[] = {
        {kLeft + 5, kTop + 50, HTCLIENT},  {kLeft + 2, kTop + 50, HTLEFT},     {kLeft + 3, kTop + 50, HTLEFT},
        {kLeft + 4, kTop + 50, HTCLIENT},  {r - 3, kTop + 50, HTRIGHT},        {kLeft + 50, kTop + 1, HTTOP},
        {kLeft + 50, b - 2, HTBOTTOM},     {kLeft + 10, kTop + 10, HTTOPLEFT}, {r - 10, kTop + 9, HTTOPRIGHT},
        {kLeft + 8, b - 10, HTBOTTOMLEFT}, {r - 1, b - 1, HTBOTTOMRIGHT},      {kLeft + 11, kTop + 2, HTTOP},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sizable.Send(WM_NCHITTEST, c.x, c.y), c.code) << c.x - kLeft << "," << c.y - kTop;
        EXPECT_EQ(fixed.Send(WM_NCHITTEST, c.x, c.y), HTCLIENT);
    }
    // A sizing press runs the system's size loop in the matching direction.
    sizable.Send(WM_NCLBUTTONDOWN, kLeft + 2, kTop + 50, HTLEFT);
    sizable.Send(WM_NCLBUTTONDOWN, r - 1, b - 1, HTBOTTOMRIGHT);
    EXPECT_EQ(seen.commands, (std::vector<WPARAM>{SC_SIZE | WMSZ_LEFT, SC_SIZE | WMSZ_BOTTOMRIGHT}));
}

TEST(FrameCursor, ShapesFollowTheHitCode) {
    SkinnedWindow window({80, 26, 0, 0, 0, 0, 1});
    const struct {
        int code;
        LPCSTR shape;
    } cases[] = {{HTCLIENT, IDC_ARROW},        {HTCAPTION, IDC_ARROW},        {HTTOP, IDC_SIZENS},
                 {HTBOTTOM, IDC_SIZENS},       {HTLEFT, IDC_SIZEWE},          {HTRIGHT, IDC_SIZEWE},
                 {HTTOPLEFT, IDC_SIZENWSE},    {HTBOTTOMRIGHT, IDC_SIZENWSE}, {HTTOPRIGHT, IDC_SIZENESW},
                 {HTBOTTOMLEFT, IDC_SIZENESW}, {HTVSCROLL, IDC_ARROW}};
    for (const auto& c : cases) {
        ::SetCursor(nullptr);
        EXPECT_EQ(::SendMessageA(window.get(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.get()),
                                 MAKELPARAM(c.code, WM_MOUSEMOVE)),
                  1);
        EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, c.shape)) << c.code;
    }
}

TEST(FrameMinMax, MinimumTrackingSizeAndMaximizedPlacement) {
    SkinnedWindow window({80, 26, 0, 0, 0, 0, 1, 200, 160});
    MINMAXINFO info{};
    ::SendMessageA(window.get(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 160);
    EXPECT_EQ(info.ptMaxSize.x, work.right - work.left);
    EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top);
    EXPECT_EQ(info.ptMaxPosition.x, work.left);
}

// Element sheet with a flat colour per caption-glyph row, to see which look a button has.
class GlyphRowSheet {
public:
    GlyphRowSheet() : pixels_(205 * 260, 0) {
        for (int y = 0; y < 260; ++y) {
            const uint32_t argb = y >= 185 ? 0xFF0000C0 : y >= 165 ? 0xFFC00000 : y >= 145 ? 0xFF00C000 : 0;
            for (int x = 0; x < 205; ++x) pixels_[y * 205 + x] = argb;
        }
        Gdiplus::GpBitmap* bitmap = nullptr;
        GdipCreateBitmapFromScan0(205, 260, 205 * 4, PixelFormat32bppARGB,
                                  reinterpret_cast<BYTE*>(pixels_.data()), &bitmap);
        image_.reset(bitmap);
        saved_ = ElementSheet;
        ElementSheet = image_.get();
    }
    ~GlyphRowSheet() { ElementSheet = saved_; }
    GlyphRowSheet(const GlyphRowSheet&) = delete;
    GlyphRowSheet& operator=(const GlyphRowSheet&) = delete;

private:
    std::vector<uint32_t> pixels_;
    GpImagePtr image_;
    GpImage* saved_ = nullptr;
};

TEST(FrameMouse, HoverAndPressRedrawOnlyTheElementFromTheBackCopy) {
    GlyphRowSheet sheet;
    SkinnedWindow window(kMainSettings);
    HDC cache = ReadHandleProp<HDC>(window.get(), prop::kCacheDc);
    EXPECT_EQ(::GetPixel(cache, 290, 10), RGB(0, 0xC0, 0));  // normal row
    ::SetPixel(cache, 150, 200, RGB(1, 2, 3));               // a mark no full render would keep
    ::SetPixel(cache, 250, 10, RGB(1, 2, 3));                // on the main-menu button

    window.Send(WM_MOUSEMOVE, 290, 10);
    EXPECT_EQ(::GetPixel(cache, 290, 10), RGB(0xC0, 0, 0));
    window.Send(WM_LBUTTONDOWN, 290, 10, MK_LBUTTON);
    EXPECT_EQ(::GetPixel(cache, 290, 10), RGB(0, 0, 0xC0));
    ::SendMessageA(window.get(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(::GetPixel(cache, 290, 10), RGB(0, 0xC0, 0));
    EXPECT_EQ(::GetPixel(cache, 150, 200), RGB(1, 2, 3));
    EXPECT_EQ(::GetPixel(cache, 250, 10), RGB(1, 2, 3));
}

TEST(FrameRegistry, DestroyingTheFirstOfThreeRenumbersTheOthersAndFreesItsCache) {
    const int before = RegisteredWindowCount();
    const long gdiBefore = gdiCounts.live();
    auto first = std::make_unique<SkinnedWindow>(kMainSettings);
    SkinnedWindow second(kMainSettings), third(kMainSettings);
    ASSERT_EQ(RegisteredWindowCount(), before + 3);
    const HWND firstHwnd = first->get();
    const auto frameProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(firstHwnd, GWLP_WNDPROC));
    EXPECT_EQ(frameProc, &FrameWindowProc);

    EXPECT_GT(EnginePropCount(firstHwnd), 10);
    first.reset();
    EXPECT_EQ(seen.enginePropsAtEnd, 0);
    EXPECT_EQ(RegisteredWindowCount(), before + 2);
    EXPECT_EQ(ReadIntProp(second.get(), prop::kDuiIndex), before + 1);
    EXPECT_EQ(ReadIntProp(third.get(), prop::kDuiIndex), before + 2);
    EXPECT_EQ(FindWindowRecord(third.get())->hwnd, third.get());
    EXPECT_EQ(gdiCounts.live() - gdiBefore, 8);  // only the two remaining caches
}

}  // namespace
