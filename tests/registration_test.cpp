// Window registration: settings, defaults, elements, style and the record, on real windows.
#include "skin/registration.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/frame_proc.h"
#include "skin/registry.h"
#include "skin/resources.h"
#include "tests/skin_environment.h"

namespace {

using namespace skin;

class Window {
public:
    explicit Window(DWORD style = WS_POPUP) {
        hwnd_ = ::CreateWindowExA(0, "STATIC", "登记", style, 10, 10, 317, 427, nullptr, nullptr, nullptr,
                                  nullptr);
    }
    ~Window() { ::DestroyWindow(hwnd_); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

std::vector<int> ButtonIds(const WindowRecord& record) {
    std::vector<int> ids;
    for (const auto& e : record.elements) ids.push_back(e->kind == ElementStatus ? 0 : e->buttonId);
    return ids;
}

TEST(RegisterWindow, AppliesSettingsAndDefaults) {
    const struct {
        const char* name;
        DWORD style;
        WindowSettings settings;
        int banner, status, minWidth, minHeight;
        std::vector<int> ids;  // element buttonIds in order, 0 for the status line
    } cases[] = {
        {"all omitted, plain popup", WS_POPUP, {}, 80, 26, 150, 100, {1, 0}},
        {"banner 10 becomes 26", WS_POPUP, {10}, 26, 26, 150, 100, {1, 0}},
        {"status 0: no status line", WS_POPUP, {120, 0}, 120, 0, 150, 100, {1}},
        {"boxes from the style", WS_OVERLAPPEDWINDOW, {}, 80, 26, 150, 100, {1, 3, 2, 4, 0}},
        {"boxes switched off", WS_OVERLAPPEDWINDOW, {80, 26, 0, 0}, 80, 26, 150, 100, {1, 0}},
        {"every button",
         WS_POPUP,
         {90, 30, 1, 1, 1, 1, 0, 300, 200},
         90,
         30,
         300,
         200,
         {1, 3, 2, 4, 5, 7, 0}},
        {"main window", WS_OVERLAPPEDWINDOW, {120, 20, 0, 0, 0, 1, 0}, 120, 20, 150, 100, {1, 5, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window window(c.style);
        ASSERT_EQ(RegisterWindow(window.get(), c.settings), 1);
        EXPECT_EQ(ReadIntProp(window.get(), prop::kBannerHeight), c.banner);
        EXPECT_EQ(ReadIntProp(window.get(), prop::kStatusHeight), c.status);
        EXPECT_EQ(ReadIntProp(window.get(), prop::kMinWidth), c.minWidth);
        EXPECT_EQ(ReadIntProp(window.get(), prop::kMinHeight), c.minHeight);
        EXPECT_EQ(ReadIntProp(window.get(), prop::kSizeBox), 0);
        const WindowRecord* record = FindWindowRecord(window.get());
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(ButtonIds(*record), c.ids);
        EXPECT_EQ(record->statusIndex, c.status > 0 ? static_cast<int>(c.ids.size()) : 0);
        EXPECT_EQ(record->hoverIndex, -1);
        EXPECT_EQ(record->pressedIndex, -1);
        EXPECT_EQ(record->nextBannerX, 5);
        const LONG style = ::GetWindowLongA(window.get(), GWL_STYLE);
        EXPECT_EQ(style & WS_CAPTION, 0);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_TRUE(style & WS_MINIMIZEBOX);
        EXPECT_EQ(style & WS_THICKFRAME, 0);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window.get(), GWLP_WNDPROC)),
                  &FrameWindowProc);
        // The whole window is client area once the caption is gone.
        RECT client{};
        ::GetClientRect(window.get(), &client);
        EXPECT_EQ(client.right, 317);
        EXPECT_EQ(client.bottom, 427);
    }
}

TEST(RegisterWindow, MaximizeBoxGivesMaximizeAndRestoreWithOneVisible) {
    for (const bool zoomed : {false, true}) {
        Window window(WS_OVERLAPPEDWINDOW);
        if (zoomed) ::ShowWindow(window.get(), SW_SHOWMAXIMIZED);
        RegisterWindow(window.get(), {80, 26, 0, 1});
        const WindowRecord* record = FindWindowRecord(window.get());
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->Element(2)->buttonId, ButtonMaximize);
        EXPECT_EQ(record->Element(3)->buttonId, ButtonRestore);
        EXPECT_EQ(record->Element(2)->visible, !zoomed);
        EXPECT_EQ(record->Element(3)->visible, zoomed);
        EXPECT_EQ(ReadIntProp(window.get(), prop::kMaximizeBox), 1);
        EXPECT_EQ(ReadIntProp(window.get(), prop::kMaximize), zoomed ? 1 : 0);
        ::ShowWindow(window.get(), SW_HIDE);
    }
}

TEST(RegisterWindow, SizeBoxIsTheEnginesOwnAndTheSystemFrameGoes) {
    Window window(WS_OVERLAPPEDWINDOW);
    RegisterWindow(window.get(), {80, 26, 0, 0, 0, 0, 1});
    EXPECT_EQ(ReadIntProp(window.get(), prop::kSizeBox), 1);
    EXPECT_EQ(::GetWindowLongA(window.get(), GWL_STYLE) & WS_THICKFRAME, 0);
}

TEST(RegisterWindow, NoWindowIsRefused) {
    Window window;
    const int before = RegisteredWindowCount();
    EXPECT_EQ(RegisterWindow(nullptr, {}), 0);
    HWND gone =
        ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    EXPECT_EQ(RegisterWindow(gone, {}), 0);
    EXPECT_EQ(RegisteredWindowCount(), before);
}

TEST(RegisterWindow, ASecondRegistrationKeepsTheRecordAndRendersWhenHeightsChange) {
    Window window;
    RegisterWindow(window.get(), {120, 20, 0, 0, 0, 1});
    const int count = RegisteredWindowCount();
    const WindowRecord* record = FindWindowRecord(window.get());
    HDC cache = ReadHandleProp<HDC>(window.get(), prop::kCacheDc);
    const COLORREF face = SharedPaintSet.FaceColor;

    // Same heights: the size did not change, so nothing is drawn again.
    ::SetPixel(cache, 100, 200, RGB(1, 2, 3));
    EXPECT_EQ(RegisterWindow(window.get(), {120, 20, 1, 1, 1, 0, 1}), 1);
    EXPECT_EQ(::GetPixel(cache, 100, 200), RGB(1, 2, 3));

    // Another banner height: stored, and the frame is rendered although the size is the same.
    EXPECT_EQ(RegisterWindow(window.get(), {100, 20}), 1);
    EXPECT_EQ(ReadIntProp(window.get(), prop::kBannerHeight), 100);
    EXPECT_EQ(::GetPixel(cache, 100, 200), face);
    EXPECT_EQ(::GetPixel(cache, 100, 101), face);  // the face now starts at B + 1
    EXPECT_EQ(RegisteredWindowCount(), count);
    EXPECT_EQ(FindWindowRecord(window.get()), record);
    // Elements, size box and minimum size stay as the first registration made them.
    EXPECT_EQ(ButtonIds(*record), (std::vector<int>{1, 5, 0}));
    EXPECT_EQ(ReadIntProp(window.get(), prop::kSizeBox), 0);
}

}  // namespace
