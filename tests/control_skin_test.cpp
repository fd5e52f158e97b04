// Control skinning: real button controls in a real parent, painted against a control sheet whose
// every pixel tells where it came from.
#include "skin/control_skin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/image_layout.h"
#include "skin/registry.h"
#include "skin/resources.h"
#include "tests/skin_environment.h"

namespace {

using namespace skin;

TEST(ButtonClassification, ByStyleType) {
    const struct {
        DWORD style;
        int type;
    } cases[] = {
        {BS_PUSHBUTTON, 5},
        {BS_DEFPUSHBUTTON, 5},
        {BS_CHECKBOX, 6},
        {BS_AUTOCHECKBOX, 6},
        {BS_3STATE, 6},
        {BS_AUTO3STATE, 6},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE, 5},
        {BS_3STATE | BS_PUSHLIKE, 5},
        {BS_RADIOBUTTON, 7},
        {BS_AUTORADIOBUTTON, 7},
        {BS_AUTORADIOBUTTON | BS_PUSHLIKE, 5},
        {BS_GROUPBOX, 0},
        {BS_USERBUTTON, 0},
        {BS_OWNERDRAW, 0},  // a button skinned before, or someone else's owner-drawn button
        {BS_PUSHBOX, 0},
        {BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | BS_CENTER, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyButtonStyle(c.style), c.type) << std::hex << c.style;
}

// A parent with one child per kind of control, created hidden.
class ControlsWindow {
public:
    ControlsWindow()
        : parent_(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                                    nullptr)),
          panel_(::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 300, parent_, nullptr,
                                   nullptr, nullptr)) {}
    ~ControlsWindow() { ::DestroyWindow(parent_); }
    ControlsWindow(const ControlsWindow&) = delete;
    ControlsWindow& operator=(const ControlsWindow&) = delete;

    HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
               HWND parent = nullptr) {
        return ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                 parent ? parent : panel_, nullptr, nullptr, nullptr);
    }
    HWND parent() const { return parent_; }
    HWND panel() const { return panel_; }

private:
    HWND parent_ = nullptr;
    HWND panel_ = nullptr;
};

WNDPROC ProcOf(HWND hwnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC)); }

TEST(SkinChildControls, SkinsEveryButtonKindAndGivesOtherWindowsTheContainerProcedure) {
    ControlsWindow window;
    HWND push = window.Child("Button", "确定", BS_DEFPUSHBUTTON, 0, 0, 80, 24);
    HWND check = window.Child("Button", "", BS_AUTOCHECKBOX, 0, 30, 80, 24);
    HWND pushLike = window.Child("Button", "", BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, 60, 80, 24);
    HWND radio = window.Child("Button", "", BS_AUTORADIOBUTTON, 0, 90, 80, 24);
    HWND group = window.Child("Button", "", BS_GROUPBOX, 0, 120, 80, 24);
    HWND edit = window.Child("Edit", "", 0, 0, 150, 80, 24);
    ::SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    const WNDPROC editProc = ProcOf(edit);

    SkinChildControls(window.parent());
    const struct {
        HWND hwnd;
        int type;
        int check;
    } cases[] = {{push, 5, 0}, {check, 6, 1}, {pushLike, 5, 0}, {radio, 7, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ReadIntProp(c.hwnd, prop::kWindowType), c.type);
        EXPECT_EQ(ReadIntProp(c.hwnd, prop::kCheck), c.check);
        EXPECT_EQ(::GetWindowLongA(c.hwnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        EXPECT_EQ(ProcOf(c.hwnd), &ControlButtonProc);
    }
    EXPECT_EQ(ReadIntProp(group, prop::kWindowType), 0);
    EXPECT_EQ(::GetWindowLongA(group, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    for (HWND container : {group, edit, window.panel(), window.parent()})
        EXPECT_EQ(ProcOf(container), &ContainerProc);
    EXPECT_EQ(ReadHandleProp<WNDPROC>(edit, prop::kWndProc), editProc);

    // A second walk changes nothing: skinned buttons are owner-drawn now and nobody is subclassed twice.
    SkinChildControls(window.parent());
    EXPECT_EQ(ProcOf(push), &ControlButtonProc);
    EXPECT_EQ(ReadHandleProp<WNDPROC>(edit, prop::kWndProc), editProc);
}

TEST(ControlButtonProc, KeepsTheCheckStateAndFollowsTheMouse) {
    ControlsWindow window;
    HWND check = window.Child("Button", "", BS_AUTOCHECKBOX, 0, 0, 80, 24);
    HWND manual = window.Child("Button", "", BS_CHECKBOX, 0, 30, 80, 24);
    HWND push = window.Child("Button", "", BS_PUSHBUTTON, 0, 60, 80, 24);
    SkinChildControls(window.parent());
    const LPARAM inside = MAKELPARAM(10, 10), outside = MAKELPARAM(200, 10);

    // BM_GETCHECK is answered from the engine's property, owner-drawn or not.
    EXPECT_EQ(::SendMessageA(check, BM_GETCHECK, 0, 0), 0);
    ::SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(ReadIntProp(check, prop::kCheck), 1);
    WriteProp(check, prop::kCheck, 0);
    EXPECT_EQ(::SendMessageA(check, BM_GETCHECK, 0, 0), 0);

    // Press and release inside toggles an automatic check box; a release elsewhere does not.
    ::SendMessageA(check, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(ReadIntProp(check, prop::kDrawState), DrawPressed);
    ::SendMessageA(check, WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(::SendMessageA(check, BM_GETCHECK, 0, 0), 1);
    EXPECT_EQ(ReadIntProp(check, prop::kDrawState), DrawHover);
    ::SendMessageA(check, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ::SendMessageA(check, WM_LBUTTONUP, 0, outside);
    EXPECT_EQ(::SendMessageA(check, BM_GETCHECK, 0, 0), 1);
    ::SendMessageA(check, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(ReadIntProp(check, prop::kDrawState), DrawNormal);

    // A push button toggles its (unpainted) state on every release; a manual check box is left to
    // its owner, who sets it when it hears the click.
    ::SendMessageA(push, WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(ReadIntProp(push, prop::kCheck), 1);
    ::SendMessageA(push, WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(ReadIntProp(push, prop::kCheck), 0);
    ::SendMessageA(manual, WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(ReadIntProp(manual, prop::kCheck), 0);

    ::SendMessageA(check, WM_MOUSEMOVE, 0, inside);
    EXPECT_EQ(ReadIntProp(check, prop::kTrackMouseEvent), 1);
    ::SendMessageA(check, WM_MOUSEHOVER, 0, inside);
    EXPECT_EQ(ReadIntProp(check, prop::kDrawState), DrawHover);
}

TEST(ControlButtonProc, AnAutomaticRadioButtonClearsTheOthersOfItsGroup) {
    ControlsWindow window;
    HWND first = window.Child("Button", "", BS_AUTORADIOBUTTON | WS_GROUP, 0, 0, 80, 24);
    HWND second = window.Child("Button", "", BS_AUTORADIOBUTTON, 0, 30, 80, 24);
    HWND nextGroup = window.Child("Button", "", BS_AUTORADIOBUTTON | WS_GROUP, 0, 60, 80, 24);
    ::SendMessageA(first, BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageA(nextGroup, BM_SETCHECK, BST_CHECKED, 0);
    SkinChildControls(window.parent());
    for (int i = 0; i < 2; ++i) {  // a second click keeps it checked
        ::SendMessageA(second, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageA(second, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(::SendMessageA(second, BM_GETCHECK, 0, 0), 1);
        EXPECT_EQ(::SendMessageA(first, BM_GETCHECK, 0, 0), 0);
        EXPECT_EQ(::SendMessageA(nextGroup, BM_GETCHECK, 0, 0), 1);
    }
}

// A control sheet whose pixel (x, y) has the colour RGB(x, y, 0x80), except magenta where the
// check and radio cells are transparent; selected into the shared memory DC for one test.
class CodedControlSheet {
public:
    CodedControlSheet() {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 160, -55, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.reset(CountGdi(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)));
        auto* pixels = static_cast<uint32_t*>(bits);
        for (int y = 0; y < 55; ++y) {
            for (int x = 0; x < 160; ++x) {
                const bool magenta = y >= 25 && (x % 15 == 0 || y == 25);  // a left column and top row
                pixels[y * 160 + x] = magenta ? 0xFF00FF : (static_cast<uint32_t>(x) << 16) | (y << 8) | 0x80;
            }
        }
        saved_ = ::SelectObject(SharedPaintSet.MemoryDC, bitmap_.get());
    }
    ~CodedControlSheet() { ::SelectObject(SharedPaintSet.MemoryDC, saved_); }
    CodedControlSheet(const CodedControlSheet&) = delete;
    CodedControlSheet& operator=(const CodedControlSheet&) = delete;

    static COLORREF At(int x, int y) { return RGB(x, y, 0x80); }

private:
    BitmapPtr bitmap_;
    HGDIOBJ saved_ = nullptr;
};

// Paints the control into a memory DC of its size and returns its pixels row by row.
std::vector<COLORREF> Painted(HWND control, int width, int height) {
    HDC screen = ::GetDC(nullptr);
    MemDcPtr dc(::CreateCompatibleDC(screen));
    BitmapPtr bitmap(::CreateCompatibleBitmap(screen, width, height));
    ::ReleaseDC(nullptr, screen);
    SelectGuard select(dc.get(), bitmap.get());
    PaintSkinnedControl(control, dc.get());
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(::GetPixel(dc.get(), x, y));
    }
    return pixels;
}

TEST(PaintSkinnedControl, A40By23PushButtonIsItsCellExactlyAndDisabledWins) {
    CodedControlSheet sheet;
    ControlsWindow window;
    HWND push = window.Child("Button", "", BS_PUSHBUTTON, 0, 0, 40, 23);
    SkinChildControls(window.parent());
    const struct {
        int drawState;
        bool enabled;
        int cellX;
    } cases[] = {{DrawNormal, true, 0},
                 {DrawHover, true, 40},
                 {DrawPressed, true, 80},
                 {DrawPressed, false, 120},
                 {DrawHover, false, 120}};
    for (const auto& c : cases) {
        WriteProp(push, prop::kDrawState, c.drawState);
        WriteProp(push, prop::kCheck, 1);  // never moves a push button's cell
        ::EnableWindow(push, c.enabled);
        const std::vector<COLORREF> pixels = Painted(push, 40, 23);
        int wrong = 0;
        for (int y = 0; y < 23; ++y) {
            for (int x = 0; x < 40; ++x) wrong += pixels[y * 40 + x] != CodedControlSheet::At(c.cellX + x, y);
        }
        EXPECT_EQ(wrong, 0) << "cell " << c.cellX;
    }
}

TEST(PaintSkinnedControl, ALargerPushButtonKeepsFivePixelCornersAndStretchesTheRest) {
    CodedControlSheet sheet;
    ControlsWindow window;
    const int w = 100, h = 50;
    HWND push = window.Child("Button", "", BS_PUSHBUTTON, 0, 0, w, h);
    SkinChildControls(window.parent());
    const std::vector<COLORREF> pixels = Painted(push, w, h);
    const auto at = [&](int x, int y) { return pixels[y * w + x]; };
    for (int j = 0; j < 5; ++j) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(at(i, j), CodedControlSheet::At(i, j));
            EXPECT_EQ(at(w - 5 + i, j), CodedControlSheet::At(35 + i, j));
            EXPECT_EQ(at(i, h - 5 + j), CodedControlSheet::At(i, 18 + j));
            EXPECT_EQ(at(w - 5 + i, h - 5 + j), CodedControlSheet::At(35 + i, 18 + j));
        }
    }
    // Edges keep their thickness and stretch along; the middle comes from the cell's middle.
    for (const POINT p : {POINT{50, 2}, POINT{50, h - 3}, POINT{2, 25}, POINT{w - 3, 25}, POINT{50, 25}}) {
        const COLORREF c = at(p.x, p.y);
        const int sx = GetRValue(c), sy = GetGValue(c);
        const bool inMiddleColumns = sx >= 5 && sx < 35, inMiddleRows = sy >= 5 && sy < 18;
        if (p.x > 5 && p.x < w - 5) {
            EXPECT_TRUE(inMiddleColumns) << p.x << "," << p.y << " from " << sx;
        }
        if (p.y > 5 && p.y < h - 5) {
            EXPECT_TRUE(inMiddleRows) << p.x << "," << p.y << " from " << sy;
        }
        if (p.y < 5) {
            EXPECT_EQ(sy, p.y);
        }
        if (p.x < 5) {
            EXPECT_EQ(sx, p.x);
        }
    }
}

TEST(PaintSkinnedControl, ACheckBoxSitsTopLeftWithItsCellForTheCheckState) {
    CodedControlSheet sheet;
    ControlsWindow window;
    HWND check = window.Child("Button", "", BS_AUTOCHECKBOX, 0, 0, 60, 30);
    HWND radio = window.Child("Button", "", BS_AUTORADIOBUTTON, 0, 40, 60, 30);
    SkinChildControls(window.parent());
    const COLORREF face = SharedPaintSet.FaceColor;
    const struct {
        HWND control;
        int check;
        bool enabled;
        int cellX, cellY;
    } cases[] = {{check, 0, true, 0, 25},
                 {check, 1, true, 60, 25},
                 {check, 1, false, 105, 25},
                 {radio, 1, true, 60, 40},
                 {radio, 0, false, 45, 40}};
    for (const auto& c : cases) {
        WriteProp(c.control, prop::kCheck, c.check);
        ::EnableWindow(c.control, c.enabled);
        const std::vector<COLORREF> pixels = Painted(c.control, 60, 30);
        EXPECT_EQ(pixels[5 * 60 + 5], CodedControlSheet::At(c.cellX + 5, c.cellY + 5)) << c.cellX;
        EXPECT_EQ(pixels[14 * 60 + 14], CodedControlSheet::At(c.cellX + 14, c.cellY + 14));
        EXPECT_EQ(pixels[0], face);            // magenta is transparent
        EXPECT_EQ(pixels[20 * 60 + 5], face);  // below the box
    }
}

TEST(HandleDrawItem, PaintsSkinnedButtonsAndPassesOthersOn) {
    CodedControlSheet sheet;
    ControlsWindow window;
    HWND push = window.Child("Button", "", BS_PUSHBUTTON, 0, 0, 40, 23);
    HWND foreign = window.Child("Button", "", BS_OWNERDRAW, 0, 30, 40, 23);
    SkinChildControls(window.parent());
    HDC screen = ::GetDC(nullptr);
    MemDcPtr dc(::CreateCompatibleDC(screen));
    BitmapPtr bitmap(::CreateCompatibleBitmap(screen, 40, 23));
    ::ReleaseDC(nullptr, screen);
    SelectGuard select(dc.get(), bitmap.get());
    DRAWITEMSTRUCT item{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, push, dc.get(), {0, 0, 40, 23}, 0};
    EXPECT_EQ(::SendMessageA(window.panel(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(::GetPixel(dc.get(), 20, 11), CodedControlSheet::At(20, 11));
    item.hwndItem = foreign;
    EXPECT_EQ(::SendMessageA(window.panel(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
}

TEST(ContainerProc, ErasesWithTheFaceColour) {
    ControlsWindow window;
    SkinChildControls(window.parent());
    HDC screen = ::GetDC(nullptr);
    MemDcPtr dc(::CreateCompatibleDC(screen));
    BitmapPtr bitmap(::CreateCompatibleBitmap(screen, 300, 300));
    ::ReleaseDC(nullptr, screen);
    SelectGuard select(dc.get(), bitmap.get());
    EXPECT_EQ(::SendMessageA(window.panel(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0), 1);
    EXPECT_EQ(::GetPixel(dc.get(), 0, 0), SharedPaintSet.FaceColor);
    EXPECT_EQ(::GetPixel(dc.get(), 299, 299), SharedPaintSet.FaceColor);
}

}  // namespace
