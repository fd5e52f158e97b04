// The main window loaded in this process: its form, the created sequence, the list filled from a
// real store with real shell icons, category switching by the buttons, docking and hotkeys on
// the real window.
#include "app/main_window.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/category_list.h"
#include "app/docking.h"
#include "app/store.h"
#include "runtime/shell.h"
#include "tests/app_fixture.h"
#include "tests/test_support.h"

namespace app {
namespace {

using test::ListCaptions;
using test::MainWindowOnce;

// Pixels of image k of the list's image list drawn on white that are not white.
int NonWhitePixels(int k) {
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(CategoryListControl(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT all = {0, 0, 32, 32};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::ImageList_Draw(images, k, dc, 0, 0, ILD_TRANSPARENT);
    int count = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) count += (::GetPixel(dc, x, y) & 0xFFFFFF) != 0xFFFFFF;
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return count;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(MainWindowOnce().window, nullptr);
        SetStorePath(dir_.File("petrez.alss"));
    }
    void WriteStore(const std::string& text) { test::WriteFileBytes(dir_.File("petrez.alss"), text); }
    test::ScratchDir dir_;
};

TEST_F(MainWindowTest, StartsWithItsFormAndTheFirstCategory) {
    HWND window = MainWindowOnce().window;
    EXPECT_EQ(test::WindowText(window), "TAVEN桌面工具箱V2.0");
    RECT r;
    ::GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 317);
    EXPECT_EQ(r.bottom - r.top, 427);
    EXPECT_EQ(CurrentCategory(), "常用工具");
    for (int i = 0; i < kCategoryCount; ++i) {
        HWND button = ::GetDlgItem(window, kIdCategoryFirst + i);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(test::WindowText(button), kCategories[i]);
    }
    // The not-found message exactly once when no store lies beside the test exe, else never.
    const bool storeBesideExe = test::FileExists(test::ExeDirectory() + "\\petrez.alss");
    EXPECT_EQ(std::count(MainWindowOnce().messages.begin(), MainWindowOnce().messages.end(),
                         std::string("对不起没有找到配置文件")),
              storeBesideExe ? 0 : 1);
    // The icon canvas: layered, opaque, entirely off the screen.
    HWND canvas = IconCanvasWindow();
    ASSERT_TRUE(::IsWindow(canvas));
    EXPECT_EQ(::GetWindowLongPtrA(canvas, GWL_EXSTYLE) & WS_EX_LAYERED, WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(canvas, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    ::GetWindowRect(canvas, &r);
    EXPECT_EQ(r.left, -32);
    EXPECT_EQ(r.top, -32);
    // F1 to F4 registered with identifiers from 33001 on.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(HotkeyIds()[i], 33001 + i);
}

TEST_F(MainWindowTest, ListShowsStoredOrderWithBracketsAndShellIcons) {
    const std::string exe = test::ExeDirectory() + "\\main_window_test.exe";
    const std::string text = dir_.File("说明.txt");
    test::WriteFileBytes(text, "hello");
    const std::string missing = dir_.File("gone.exe");
    WriteStore("[常用工具]\r\n文件名=" + exe + "@&@[测试程序]&@&" + dir_.path() + "@&@[文件夹]&@&" + text +
               "@&@[说明.txt]&@&" + missing + "@&@[gone.exe]\r\n");
    SelectCategory("常用工具");
    EXPECT_EQ(ListCaptions(),
              (std::vector<std::string>{"[测试程序]", "[文件夹]", "[说明.txt]", "[gone.exe]"}));
    EXPECT_GT(NonWhitePixels(0), 20) << "exe";
    EXPECT_GT(NonWhitePixels(1), 20) << "folder";
    EXPECT_GT(NonWhitePixels(2), 20) << "text file";
    EXPECT_EQ(NonWhitePixels(3), 0) << "a missing target gets the blank picture and stays listed";
}

TEST_F(MainWindowTest, CategoryButtonsSwitchTheList) {
    WriteStore(
        "[常用工具]\r\n文件名=C:\\a.exe@&@[a.exe]\r\n[常用网站]\r\n文件名=C:\\x.url@&@[x.url]&@&C:\\y.url@&@["
        "y.url]\r\n"
        "[文件夹]\r\n文件名=\r\n");
    HWND window = MainWindowOnce().window;
    const struct {
        int button;
        std::vector<std::string> want;
    } cases[] = {
        {3, {"[x.url]", "[y.url]"}},
        {0, {"[a.exe]"}},
        {2, {}},  // empty value
        {1, {}},  // no section at all
    };
    for (const auto& c : cases) {
        ::SendMessageA(::GetDlgItem(window, kIdCategoryFirst + c.button), BM_CLICK, 0, 0);
        EXPECT_EQ(CurrentCategory(), kCategories[c.button]);
        EXPECT_EQ(ListCaptions(), c.want) << kCategories[c.button];
    }
}

TEST_F(MainWindowTest, DockingMovesTheRealWindowAndKeepsItsSize) {
    HWND window = MainWindowOnce().window;
    ::SetWindowPos(window, nullptr, 0, 200, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetCursorPos(900, 900);
    DockToEdge();
    RECT r;
    ::GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 317) << "a resize is undone at the next tick";
    EXPECT_EQ(r.bottom - r.top, 427);
    DockToEdge();
    ::GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 2 - 317);
    ::SetCursorPos(1, 300);
    DockToEdge();
    ::GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 0);
}

TEST_F(MainWindowTest, HotkeyPullsBackAndSelectsItsCategory) {
    HWND window = MainWindowOnce().window;
    const int sw = ::GetSystemMetrics(SM_CXSCREEN);
    const struct {
        int left, top, key;
        int wantLeft, wantTop;
    } cases[] = {
        {-315, 100, 0, 1, 100},
        {sw - 2, 100, 2, sw - 319, 100},
        {400, -425, 1, 400, 1},
    };
    for (const auto& c : cases) {
        ::SetWindowPos(window, nullptr, c.left, c.top, 317, 427, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageA(window, WM_HOTKEY, static_cast<WPARAM>(HotkeyIds()[c.key]),
                       MAKELPARAM(0, VK_F1 + c.key));
        RECT r;
        ::GetWindowRect(window, &r);
        EXPECT_EQ(r.left, c.wantLeft);
        EXPECT_EQ(r.top, c.wantTop);
        EXPECT_EQ(CurrentCategory(), kCategories[c.key]);
    }
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST_F(MainWindowTest, CloseHidesToTheTrayAndTheTrayBringsItBack) {
    HWND window = MainWindowOnce().window;
    ::SetWindowPos(window, nullptr, 10, 20, 317, 427, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(window)) << "closing only hides";
    EXPECT_FALSE(::IsWindowVisible(window));

    ::SendMessageA(window, kTrayMessage, 0, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(::IsWindowVisible(window)) << "the double-click itself is ignored";
    ::SendMessageA(window, kTrayMessage, 0, WM_LBUTTONUP);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r;
    ::GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 10) << "shown where it was";

    // "显示窗口" centres a visible window, and shows a hidden one where it was.
    RunCommand(kCmdShowWindow);
    ::GetWindowRect(window, &r);
    EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXSCREEN) - 317) / 2);
    EXPECT_EQ(r.top, (::GetSystemMetrics(SM_CYSCREEN) - 427) / 2);
    ::ShowWindow(window, SW_HIDE);
    ::SetWindowPos(window, nullptr, 30, 40, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    RunCommand(kCmdShowWindow);
    ::GetWindowRect(window, &r);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(r.left, 30);
}

TEST_F(MainWindowTest, AboutIsOneTopmostLine) {
    runtime::ShellOverride shell;
    std::vector<std::pair<std::string, UINT>> shown;
    shell.shell().message = [&](const std::string& text, const std::string& title, UINT flags) {
        shown.push_back({title + "|" + text, flags});
        return IDOK;
    };
    RunCommand(kCmdAbout);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first.rfind("关于我们|", 0), 0u);
    EXPECT_EQ(shown[0].first.find('\n'), std::string::npos);
    EXPECT_EQ(shown[0].second, static_cast<UINT>(MB_TOPMOST));
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST_F(MainWindowTest, DockingAndHotkeysLeaveTheFocusWithTheOtherProgram) {
    HWND window = MainWindowOnce().window;
    test::ChildProcess holder(test::ExeDirectory() + "\\focus_holder.exe");
    HWND typing = nullptr;
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            const auto found = test::TopWindowsOf(holder.id(), "focus holder");
            typing = found.empty() ? nullptr : found[0];
            return typing && ::GetForegroundWindow() == typing;
        },
        10000))
        << "holder window " << typing << ", foreground " << ::GetForegroundWindow() << " '"
        << test::WindowText(::GetForegroundWindow()) << "'";
    ::SetWindowPos(window, nullptr, 0, 100, 317, 427, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetCursorPos(900, 900);
    for (int tick = 0; tick < 3; ++tick) {
        DockToEdge();  // hides at the left edge
        ::SendMessageA(window, WM_HOTKEY, static_cast<WPARAM>(HotkeyIds()[tick]), 0);  // pulls it back
        test::PumpMessages(50);
        EXPECT_EQ(::GetForegroundWindow(), typing) << tick;
    }
    EXPECT_EQ(CurrentCategory(), kCategories[2]);
    // A real F2 pressed while the other program has the focus.
    test::XdoTool("key F2");
    EXPECT_TRUE(test::WaitUntil([] { return CurrentCategory() == kCategories[1]; }, 3000));
    EXPECT_EQ(::GetForegroundWindow(), typing);
}

}  // namespace
}  // namespace app
