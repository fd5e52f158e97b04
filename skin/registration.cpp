// Window registration: subclasses a top-level window with the frame procedure, strips its system
// caption, stores its settings, creates its caption buttons and status line and renders it.
#include "skin/registration.h"

#include <memory>

#include "skin/control_skin.h"
#include "skin/frame_proc.h"
#include "skin/frame_render.h"
#include "skin/registry.h"
#include "skin/resources.h"

namespace skin {

namespace {

constexpr int kCaptionY = 1;
constexpr int kCaptionHeight = 19;
constexpr int kCloseWidth = 40;
constexpr int kCaptionWidth = 27;

bool Flag(const std::optional<int>& setting, bool fallback) { return setting ? *setting != 0 : fallback; }

// Without the setting, the window gets the maximize box when its style has one and its system
// menu offers SC_MAXIMIZE enabled. GetMenuState answers -1 for a missing item (or menu), which has
// the grayed bit.
bool DefaultMaximizeBox(HWND hwnd, DWORD style) {
    if (!(style & WS_MAXIMIZEBOX)) return false;
    const UINT state = ::GetMenuState(::GetSystemMenu(hwnd, FALSE), SC_MAXIMIZE, MF_BYCOMMAND);
    return (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void AddCaptionButton(WindowRecord& record, int buttonId) {
    const int width = buttonId == ButtonClose ? kCloseWidth : kCaptionWidth;
    AddElement(record, ElementCaptionButton, buttonId, 0, kCaptionY, width, kCaptionHeight, std::string());
}

struct Choices {
    bool minimizeBox;
    bool maximizeBox;
    int statusHeight;
};

void TakeOver(HWND hwnd, const WindowSettings& settings, const Choices& choices) {
    ChangeWindowStyle(hwnd, WS_CAPTION, WS_SYSMENU);
    ChangeWindowStyle(hwnd, 0, WS_MINIMIZEBOX);
    auto record = std::make_unique<WindowRecord>();
    record->hwnd = hwnd;
    AddCaptionButton(*record, ButtonClose);
    if (choices.maximizeBox) {
        ChangeWindowStyle(hwnd, 0, WS_MAXIMIZEBOX);
        WriteProp(hwnd, prop::kMaximizeBox, 1);
        AddCaptionButton(*record, ButtonMaximize);
        AddCaptionButton(*record, ButtonRestore);
    }
    if (choices.minimizeBox) AddCaptionButton(*record, ButtonMinimize);
    if (Flag(settings.mainMenuButton, false)) AddCaptionButton(*record, ButtonMainMenu);
    if (Flag(settings.helpButton, false)) AddCaptionButton(*record, ButtonHelp);
    if (choices.statusHeight > 0) {
        record->statusIndex =
            AddElement(*record, ElementStatus, 0, 0, kCaptionY, kCaptionWidth, kCaptionHeight, std::string());
    }
    // The engine sizes the window by its own hit test, so the system's sizing border goes.
    WriteProp(hwnd, prop::kSizeBox, Flag(settings.sizeBox, false) ? 1 : 0);
    ChangeWindowStyle(hwnd, WS_THICKFRAME, 0);
    WriteProp(hwnd, prop::kMinWidth, settings.minWidth.value_or(kDefaultMinWidth));
    WriteProp(hwnd, prop::kMinHeight, settings.minHeight.value_or(kDefaultMinHeight));
    TheWindowRegistry.Append(std::move(record));
    SyncMaximizeButtons(hwnd, false, false);
}

bool StoreHeight(HWND hwnd, const char* name, int value) {
    if (ReadIntProp(hwnd, name) == value) return false;
    WriteProp(hwnd, name, value);
    return true;
}

}  // namespace

int RegisterWindow(HWND hwnd, const WindowSettings& settings) {
    if (!::IsWindow(hwnd)) return 0;
    SubclassWindow(hwnd, FrameWindowProc);
    int banner = settings.bannerHeight.value_or(kDefaultBannerHeight);
    if (banner < kMinimumBannerHeight) banner = kMinimumBannerHeight;
    const int status = settings.statusHeight.value_or(kDefaultStatusHeight);
    const bool bannerChanged = StoreHeight(hwnd, prop::kBannerHeight, banner);
    const bool statusChanged = StoreHeight(hwnd, prop::kStatusHeight, status);

    const DWORD style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    const Choices choices{Flag(settings.minimizeBox, (style & WS_MINIMIZEBOX) != 0),
                          Flag(settings.maximizeBox, DefaultMaximizeBox(hwnd, style)), status};
    const bool first = TheWindowRegistry.PositionOf(hwnd) == 0;
    if (first) TakeOver(hwnd, settings, choices);

    if (ControlSkinningEnabled) SkinChildControls(hwnd);
    RenderFrame(hwnd, bannerChanged || statusChanged);
    if (first) {
        // Without a frame change the window would keep the non-client area of its old caption
        // until its next resize; the frame procedure now makes the whole window client area. The
        // window size stays, so the WM_SIZE this may send renders nothing again.
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(hwnd, nullptr, TRUE);
    return 1;
}

}  // namespace skin
