// The shipped exe started as a user would, with a prepared store beside it; the window is read
// back from the screen and checked where the design fixes its pieces.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>

#include "tests/test_pictures.h"
#include "tests/test_support.h"

namespace {

constexpr char kTitle[] = "TAVEN桌面工具箱V2.0";

// The window's pixels as they are on the screen (the toolbox is always on top).
class ScreenGrab {
public:
    explicit ScreenGrab(HWND window) {
        ::GetWindowRect(window, &rect_);
        width_ = rect_.right - rect_.left;
        height_ = rect_.bottom - rect_.top;
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        ::BitBlt(dc, 0, 0, width_, height_, screen, rect_.left, rect_.top, SRCCOPY);
        ::GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        pixels_.assign(p, p + static_cast<size_t>(width_) * height_);
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
    }
    // 0x00RRGGBB at window coordinates.
    uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF; }
    int Distinct(int x0, int y0, int x1, int y1) const {
        std::set<uint32_t> colours;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) colours.insert(At(x, y));
        return static_cast<int>(colours.size());
    }
    // Dark pixels (the caption glyphs' lines; the default picture is light) in a rectangle.
    int Darks(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const uint32_t c = At(x, y);
                n += (c >> 16) < 120 && ((c >> 8) & 0xFF) < 120 && (c & 0xFF) < 120;
            }
        }
        return n;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    RECT rect_{};
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
};

// Waits for the started toolbox's visible main window and its first paint; 0 when none came.
HWND StartAndWait(const test::ChildProcess& toolbox) {
    HWND window = nullptr;
    const bool shown = test::WaitUntil(
        [&] {
            const auto found = test::TopWindowsOf(toolbox.id(), kTitle);
            window = found.empty() ? nullptr : found[0];
            return window && ::IsWindowVisible(window);
        },
        15000);
    test::PumpMessages(800);  // first paint of frame and list
    return shown ? window : nullptr;
}

TEST(ToolboxEndToEnd, SkinnedWindowWithTheStoredEntries) {
    test::ScratchDir dir;
    ::CopyFileA((test::ExeDirectory() + "\\toolbox.exe").c_str(), dir.File("toolbox.exe").c_str(), FALSE);
    test::WriteFileBytes(dir.File("a.txt"), "a");
    test::WriteFileBytes(dir.File("petrez.alss"), "[常用工具]\r\n文件名=" + dir.File("a.txt") +
                                                      "@&@[a.txt]&@&" + dir.path() + "@&@[文件夹]\r\n");
    test::ChildProcess toolbox(dir.File("toolbox.exe"), dir.path());
    HWND window = StartAndWait(toolbox);
    ASSERT_NE(window, nullptr);

    HWND list = ::FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr);
    ASSERT_NE(list, nullptr);
    RECT r;
    ::GetWindowRect(list, &r);
    RECT frame;
    ::GetWindowRect(window, &frame);
    EXPECT_EQ(r.left - frame.left, 3);
    EXPECT_EQ(r.top - frame.top, 121);
    EXPECT_EQ(r.right - r.left, 311);
    EXPECT_EQ(r.bottom - r.top, 283);
    EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);

    const ScreenGrab grab(window);
    ASSERT_EQ(grab.width(), 317);
    ASSERT_EQ(grab.height(), 427);
    EXPECT_GT(grab.Distinct(40, 30, 240, 110), 40) << "the banner shows a picture, not one flat colour";
    EXPECT_EQ(grab.At(150, 380), 0xFFFFFFu) << "white face and list below the banner";
    EXPECT_NE(grab.At(150, 415), 0xFFFFFFu) << "the status line is in the skin colour";
    EXPECT_GT(grab.Darks(272, 1, 312, 20), 8) << "close glyph at x 272..311";
    EXPECT_GT(grab.Darks(245, 1, 272, 20), 8) << "main-menu glyph at x 245..271";
    EXPECT_LT(grab.Darks(160, 1, 240, 20), 3) << "no caption buttons further left";
}

}  // namespace

namespace {

TEST(ToolboxEndToEnd, TheStoredSkinPictureIsShownAfterARestart) {
    test::ScratchDir dir;
    ::CopyFileA((test::ExeDirectory() + "\\toolbox.exe").c_str(), dir.File("toolbox.exe").c_str(), FALSE);
    const std::string picture = dir.File("红色皮肤.bmp");
    test::WriteFileBytes(picture, test::SolidBmp(400, 200, RGB(200, 40, 40)));
    test::WriteFileBytes(dir.File("petrez.alss"), "[皮肤]\r\n文件名=" + picture + "\r\n");
    test::ChildProcess toolbox(dir.File("toolbox.exe"), dir.path());
    HWND window = StartAndWait(toolbox);
    ASSERT_NE(window, nullptr);
    const ScreenGrab grab(window);
    auto reddish = [](uint32_t c) {
        const int r = static_cast<int>(c >> 16), g = static_cast<int>((c >> 8) & 0xFF);
        return r > g + 60;
    };
    EXPECT_TRUE(reddish(grab.At(150, 60))) << std::hex << grab.At(150, 60) << " banner under the gloss";
    EXPECT_TRUE(reddish(grab.At(150, 415)))
        << std::hex << grab.At(150, 415) << " status line in the skin colour";
    EXPECT_EQ(grab.At(150, 380), 0xFFFFFFu) << "the face stays white";
}

}  // namespace
