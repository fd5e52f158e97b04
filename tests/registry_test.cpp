// Window registry, property bag and the routines every frame handler uses, on real windows.
#include "skin/registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace skin;

int styleChanges = 0;  // WM_STYLECHANGING seen by TestWindowProc

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_STYLECHANGING && wp == static_cast<WPARAM>(GWL_STYLE)) ++styleChanges;
    if (msg == WM_APP) return 42;  // marks this procedure when reached through a subclass
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

// A plain top-level window, destroyed with the object.
class TestWindow {
public:
    explicit TestWindow(DWORD style = WS_OVERLAPPEDWINDOW) {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = TestWindowProc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "SkinRegistryTest";
            return ::RegisterClassA(&wc);
        }();
        hwnd_ = ::CreateWindowExA(0, MAKEINTATOM(atom), "测试", style, 10, 10, 300, 200, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() { ::DestroyWindow(hwnd_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// Registers a window with a record; the registry is emptied after each test.
class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override { TheWindowRegistry.Clear(); }

    WindowRecord& Register(HWND hwnd) {
        auto record = std::make_unique<WindowRecord>();
        record->hwnd = hwnd;
        WindowRecord& ref = *record;
        TheWindowRegistry.Append(std::move(record));
        return ref;
    }
};

TEST_F(RegistryTest, AddElementAppendsAVisibleElementWithItsHitRectangle) {
    TestWindow window;
    WindowRecord& record = Register(window.get());
    EXPECT_EQ(AddElement(record, ElementCaptionButton, ButtonClose, 0, 1, 40, 19, ""), 1);
    EXPECT_EQ(AddElement(record, ElementCaptionButton, ButtonMinimize, 0, 1, 27, 19, ""), 2);
    HICON icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    EXPECT_EQ(AddElement(record, ElementBannerButton, 0, 5, 27, 60, 52, "我的工具箱", icon), 3);

    ASSERT_EQ(record.elementCount(), 3);
    const DuiElement* e = record.Element(3);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->selfIndex, 3);
    EXPECT_EQ(e->kind, ElementBannerButton);
    EXPECT_EQ(e->rect.left, 5);
    EXPECT_EQ(e->rect.top, 27);
    EXPECT_EQ(e->rect.right, 65);
    EXPECT_EQ(e->rect.bottom, 79);
    EXPECT_EQ(e->text, "我的工具箱");
    EXPECT_EQ(e->icon, icon);
    EXPECT_TRUE(e->visible);
    EXPECT_FALSE(e->hovered || e->pressed || e->selected);
    EXPECT_EQ(e->childWindow, nullptr);
    EXPECT_EQ(e->clickHook, nullptr);
    // Earlier elements keep their place.
    EXPECT_EQ(record.Element(1)->buttonId, ButtonClose);
    EXPECT_EQ(record.Element(2)->buttonId, ButtonMinimize);
    EXPECT_EQ(record.Element(0), nullptr);
    EXPECT_EQ(record.Element(4), nullptr);

    record.Element(1)->MoveTo(272, 1);
    EXPECT_EQ(record.Element(1)->rect.left, 272);
    EXPECT_EQ(record.Element(1)->rect.right, 312);
    record.Element(2)->Place(5, 380, 300, 26);  // the status line after a resize
    EXPECT_EQ(record.Element(2)->rect.right, 305);
    EXPECT_EQ(record.Element(2)->rect.bottom, 406);
}

TEST_F(RegistryTest, FindWindowRecordOnlyThroughAValidIndex) {
    TestWindow a, b, stranger;
    WindowRecord& ra = Register(a.get());
    WindowRecord& rb = Register(b.get());
    EXPECT_EQ(ReadIntProp(a.get(), prop::kDuiIndex), 1);
    EXPECT_EQ(ReadIntProp(b.get(), prop::kDuiIndex), 2);
    EXPECT_EQ(FindWindowRecord(a.get()), &ra);
    EXPECT_EQ(FindWindowRecord(b.get()), &rb);

    // Never registered: index 0.
    EXPECT_EQ(FindWindowRecord(stranger.get()), nullptr);
    // Stale or foreign indexes find nothing.
    const int indexes[] = {-1, 3, 1000, 2};
    for (int index : indexes) {
        WriteProp(stranger.get(), prop::kDuiIndex, index);
        EXPECT_EQ(FindWindowRecord(stranger.get()), nullptr) << "index " << index;
    }
}

TEST_F(RegistryTest, RemovingAWindowRenumbersTheOthers) {
    TestWindow first, second, third;
    Register(first.get());
    WindowRecord& r2 = Register(second.get());
    WindowRecord& r3 = Register(third.get());

    EXPECT_TRUE(TheWindowRegistry.Remove(first.get()));
    EXPECT_EQ(RegisteredWindowCount(), 2);
    EXPECT_EQ(ReadIntProp(second.get(), prop::kDuiIndex), 1);
    EXPECT_EQ(ReadIntProp(third.get(), prop::kDuiIndex), 2);
    EXPECT_EQ(FindWindowRecord(second.get()), &r2);  // records keep their addresses
    EXPECT_EQ(FindWindowRecord(third.get()), &r3);
    EXPECT_EQ(FindWindowRecord(first.get()), nullptr);  // its index 1 now names another window
    EXPECT_FALSE(TheWindowRegistry.Remove(first.get()));
    EXPECT_EQ(TheWindowRegistry.PositionOf(third.get()), 2);
}

TEST_F(RegistryTest, PropertiesKeepPointerWidthAndSign) {
    TestWindow window;
    EXPECT_EQ(ReadProp(window.get(), prop::kBannerHeight), 0);  // never set
    WriteProp(window.get(), prop::kStatusHeight, -5);
    EXPECT_EQ(ReadIntProp(window.get(), prop::kStatusHeight), -5);
    WriteHandleProp(window.get(), prop::kWndProc, &TestWindowProc);
    EXPECT_EQ(ReadHandleProp<WNDPROC>(window.get(), prop::kWndProc), &TestWindowProc);
}

TEST_F(RegistryTest, CallPreviousWndProcReachesTheSavedProcedure) {
    TestWindow window;
    // Without a saved procedure the message still gets default handling.
    EXPECT_EQ(CallPreviousWndProc(window.get(), WM_GETTEXTLENGTH, 0, 0), 4);  // "测试" in CP936
    EXPECT_EQ(CallPreviousWndProc(window.get(), WM_APP, 0, 0), 0);

    const LONG_PTR previous =
        ::SetWindowLongPtrA(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&::DefWindowProcA));
    WriteProp(window.get(), prop::kWndProc, previous);
    EXPECT_EQ(::SendMessageA(window.get(), WM_APP, 0, 0), 0);  // the replacement does not know it
    EXPECT_EQ(CallPreviousWndProc(window.get(), WM_APP, 0, 0), 42);
}

TEST_F(RegistryTest, ChangeWindowStyleWritesOnlyARealChange) {
    TestWindow window;
    HWND hwnd = window.get();
    const struct {
        DWORD clear;
        DWORD set;
        int result;
    } steps[] = {
        {WS_CAPTION, WS_SYSMENU, 1},  // caption stripped
        {WS_CAPTION, WS_SYSMENU, 0},  // already so
        {0, WS_MINIMIZEBOX, 0},       // bit already set
        {WS_THICKFRAME, WS_THICKFRAME, 0},
        {0, WS_CLIPCHILDREN, 1},
        {0, 0, 0},
    };
    for (const auto& s : steps) {
        const DWORD before = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
        styleChanges = 0;
        EXPECT_EQ(ChangeWindowStyle(hwnd, s.clear, s.set), s.result) << std::hex << s.clear << " " << s.set;
        EXPECT_EQ(styleChanges, s.result) << "SetWindowLong only for a change";
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)), (before & ~s.clear) | s.set);
    }
}

TEST_F(RegistryTest, SyncMaximizeButtonsShowsExactlyOneOfThePair) {
    TestWindow window;
    HWND hwnd = window.get();
    WindowRecord& record = Register(hwnd);
    AddElement(record, ElementCaptionButton, ButtonClose, 0, 1, 40, 19, "");
    AddElement(record, ElementCaptionButton, ButtonMaximize, 0, 1, 27, 19, "");
    AddElement(record, ElementCaptionButton, ButtonRestore, 0, 1, 27, 19, "");
    DuiElement& maximize = *record.Element(2);
    DuiElement& restore = *record.Element(3);

    // Without Nimbo_MaximizeBox nothing changes.
    SyncMaximizeButtons(hwnd, true, true);
    EXPECT_TRUE(maximize.visible);
    EXPECT_TRUE(restore.visible);
    EXPECT_EQ(::GetPropA(hwnd, prop::kMaximize), nullptr);

    WriteProp(hwnd, prop::kMaximizeBox, 1);
    SyncMaximizeButtons(hwnd, true, true);
    EXPECT_FALSE(maximize.visible);
    EXPECT_TRUE(restore.visible);
    EXPECT_EQ(ReadIntProp(hwnd, prop::kMaximize), 1);

    SyncMaximizeButtons(hwnd, true, false);  // not given: IsZoomed says normal
    EXPECT_TRUE(maximize.visible);
    EXPECT_FALSE(restore.visible);
    EXPECT_EQ(ReadIntProp(hwnd, prop::kMaximize), 0);

    ::ShowWindow(hwnd, SW_MAXIMIZE);
    ASSERT_TRUE(::IsZoomed(hwnd));
    SyncMaximizeButtons(hwnd, false, false);
    EXPECT_FALSE(maximize.visible);
    EXPECT_TRUE(restore.visible);
    EXPECT_EQ(ReadIntProp(hwnd, prop::kMaximize), 1);

    // A window with the property but no record is left alone.
    TestWindow unregistered;
    WriteProp(unregistered.get(), prop::kMaximizeBox, 1);
    SyncMaximizeButtons(unregistered.get(), true, true);
    EXPECT_EQ(::GetPropA(unregistered.get(), prop::kMaximize), nullptr);
}

}  // namespace
