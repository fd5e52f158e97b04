// The frame procedure of skinned windows and its handlers. The whole window is client area; the
// engine supplies caption buttons, banner buttons, moving, sizing and cursors itself.
#include "skin/frame_proc.h"

#include "skin/control_skin.h"
#include "skin/frame_render.h"
#include "skin/registry.h"
#include "skin/resources.h"

namespace skin {

namespace {

constexpr UINT kNcUahDrawCaption = 0x00AE;  // undocumented caption repaint of themed systems

// Client and screen coordinates are signed: a captured mouse left of the window, or a monitor
// left of the primary one, gives negative x.
POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool InDragZone(HWND hwnd, int y) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    const int height = rect.bottom - rect.top;
    return y < ReadIntProp(hwnd, prop::kBannerHeight) || y > height - ReadIntProp(hwnd, prop::kStatusHeight);
}

LRESULT PassOnThenRepaintEdges(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallPreviousWndProc(hwnd, message, wParam, lParam);
    RedrawFrameEdges(hwnd);
    FrameRepaintTimer(hwnd);
    return result;
}

LRESULT OnNcUahDrawCaption(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallPreviousWndProc(hwnd, message, wParam, lParam);
    RedrawFrameEdges(hwnd);
    return result;
}

LRESULT OnSize(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // A minimized window keeps the frame it had; ShowWindow(SW_MINIMIZE) skips SC_MINIMIZE, so the
    // size type is checked as well as the flag.
    const bool minimized = ReadIntProp(hwnd, prop::kMinimize) != 0 || wParam == SIZE_MINIMIZED;
    if (!minimized && RenderFrame(hwnd, false)) {
        ::InvalidateRect(hwnd, nullptr, FALSE);
        LayoutBannerChild(hwnd);
    }
    return CallPreviousWndProc(hwnd, message, wParam, lParam);
}

// Cursor shapes by hit-test code.
// Cursor shapes by hit-test code (system cursor ids: IDC_SIZENS, IDC_SIZEWE, ...); any other code
// gets the arrow.
struct CursorZone {
    int hitCode;
    WORD shape;
};
constexpr WORD kArrowCursor = 32512;
constexpr CursorZone kCursorZones[] = {
    {HTTOP, 32645},     {HTBOTTOM, 32645},      {HTLEFT, 32644},     {HTRIGHT, 32644},
    {HTTOPLEFT, 32642}, {HTBOTTOMRIGHT, 32642}, {HTTOPRIGHT, 32643}, {HTBOTTOMLEFT, 32643},
};

WORD CursorShape(int hitCode) {
    for (const CursorZone& zone : kCursorZones) {
        if (zone.hitCode == hitCode) return zone.shape;
    }
    return kArrowCursor;
}

LRESULT OnSetCursor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) != hwnd || ::IsZoomed(hwnd)) {
        return CallPreviousWndProc(hwnd, message, wParam, lParam);
    }
    ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(CursorShape(LOWORD(lParam)))));
    return 1;
}

LRESULT OnGetMinMaxInfo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    info->ptMinTrackSize = {ReadIntProp(hwnd, prop::kMinWidth), ReadIntProp(hwnd, prop::kMinHeight)};
    info->ptMaxSize = {work.right - work.left, work.bottom - work.top};
    info->ptMaxPosition = {work.left, work.top};
    return CallPreviousWndProc(hwnd, message, wParam, lParam);
}

LRESULT OnNcCalcSize(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam == TRUE) {
        // The proposed rectangle stays as it is: the whole window is client area.
        RedrawFrameEdges(hwnd);
        return 0;
    }
    const LRESULT result = CallPreviousWndProc(hwnd, message, wParam, lParam);
    RedrawFrameEdges(hwnd);
    return result;
}

// Sizing zones, tested in order: corners (10 px) before edges (3 px).
struct SizingZone {
    bool left, right, top, bottom;
    int inset;
    int hitCode;
};
constexpr SizingZone kSizingZones[] = {
    {true, false, true, false, kCornerZone, HTTOPLEFT},
    {false, true, true, false, kCornerZone, HTTOPRIGHT},
    {true, false, false, true, kCornerZone, HTBOTTOMLEFT},
    {false, true, false, true, kCornerZone, HTBOTTOMRIGHT},
    {true, false, false, false, kEdgeZone, HTLEFT},
    {false, true, false, false, kEdgeZone, HTRIGHT},
    {false, false, true, false, kEdgeZone, HTTOP},
    {false, false, false, true, kEdgeZone, HTBOTTOM},
};

int SizingHitCode(const RECT& window, POINT point) {
    for (const SizingZone& zone : kSizingZones) {
        const int inset = zone.inset;
        if (zone.left && point.x > window.left + inset) continue;
        if (zone.right && point.x < window.right - inset) continue;
        if (zone.top && point.y > window.top + inset) continue;
        if (zone.bottom && point.y < window.bottom - inset) continue;
        return zone.hitCode;
    }
    return HTNOWHERE;
}

LRESULT OnNcHitTest(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ReadIntProp(hwnd, prop::kSizeBox) != 1) return CallPreviousWndProc(hwnd, message, wParam, lParam);
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    const int code = SizingHitCode(window, PointOf(lParam));
    return code != HTNOWHERE ? code : CallPreviousWndProc(hwnd, message, wParam, lParam);
}

LRESULT OnNcLButtonDown(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // HTLEFT..HTBOTTOMRIGHT map onto the WMSZ_ directions 1..8 of SC_SIZE.
    if (!::IsZoomed(hwnd) && wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT) {
        ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_SIZE | (wParam - HTLEFT + WMSZ_LEFT), lParam);
    }
    return CallPreviousWndProc(hwnd, message, wParam, lParam);
}

LRESULT OnSysCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
    case SC_MINIMIZE:
        WriteProp(hwnd, prop::kMinimize, 1);
        return CallPreviousWndProc(hwnd, message, wParam, lParam);
    case SC_RESTORE:
        // Restoring a minimized window brings back the state it had before (possibly maximized),
        // which Nimbo_Maximize still holds; only a restore from maximized shows the maximize button.
        if (!::IsIconic(hwnd)) SyncMaximizeButtons(hwnd, false, true);
        WriteProp(hwnd, prop::kMinimize, 0);
        return CallPreviousWndProc(hwnd, message, wParam, lParam);
    case SC_MAXIMIZE:
        SyncMaximizeButtons(hwnd, true, true);
        return CallPreviousWndProc(hwnd, message, wParam, lParam);
    default: break;
    }
    const LRESULT result = CallPreviousWndProc(hwnd, message, wParam, lParam);
    RedrawFrameEdges(hwnd);
    return result;
}

LRESULT OnTimer(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam != kFrameRepaintTimer) return CallPreviousWndProc(hwnd, message, wParam, lParam);
    RedrawFrameEdges(hwnd);
    ::KillTimer(hwnd, kFrameRepaintTimer);
    return 0;
}

LRESULT FaceBrushResult() { return reinterpret_cast<LRESULT>(SharedPaintSet.FaceBrush.get()); }

// 1-based index of the first visible element under the point, or -1; the status line is never hit.
int HitElement(const WindowRecord& record, POINT point) {
    for (const auto& element : record.elements) {
        if (!element->visible || !::PtInRect(&element->rect, point)) continue;
        return element->kind != ElementStatus ? element->selfIndex : -1;
    }
    return -1;
}

void SetHovered(HWND hwnd, WindowRecord& record, int index, bool on) {
    if (DuiElement* element = record.Element(index)) {
        element->hovered = on;
        RedrawElement(hwnd, index);
    }
}

void SetPressed(HWND hwnd, WindowRecord& record, int index, bool on) {
    if (DuiElement* element = record.Element(index)) {
        element->pressed = on;
        RedrawElement(hwnd, index);
    }
}

void MoveHover(HWND hwnd, WindowRecord& record, int hit) {
    if (record.hoverIndex != -1) SetHovered(hwnd, record, record.hoverIndex, false);
    record.hoverIndex = hit;
    if (hit != -1) SetHovered(hwnd, record, hit, true);
}

void SelectBannerButtonAfterClick(HWND hwnd, int index) {
    WindowRecord* record = FindWindowRecord(hwnd);  // the hook may have changed the registry
    if (!record) return;
    for (const auto& element : record->elements) {
        if (element->kind != ElementBannerButton) continue;
        if (element->selfIndex == index) {
            element->selected = true;
            RedrawElement(hwnd, index);
            ShowBannerChild(hwnd, index);
        } else if (element->selected) {
            element->selected = false;
            RedrawElement(hwnd, element->selfIndex);
        }
    }
}

// What a click on each caption button does: a posted system command or a hook.
struct CaptionAction {
    int buttonId;
    WPARAM command;  // 0: call the hook instead
    const char* hook;
};
constexpr CaptionAction kCaptionActions[] = {
    {ButtonClose, SC_CLOSE, nullptr},          {ButtonRestore, SC_RESTORE, nullptr},
    {ButtonMaximize, SC_MAXIMIZE, nullptr},    {ButtonMinimize, SC_MINIMIZE, nullptr},
    {ButtonMainMenu, 0, prop::kMainMenuClick}, {ButtonHelp, 0, prop::kHelpClick},
};

void ClickCaptionButton(HWND hwnd, int buttonId) {
    for (const CaptionAction& action : kCaptionActions) {
        if (action.buttonId != buttonId) continue;
        // Posted, so that the command runs after this mouse message has been handled.
        if (action.command) ::PostMessageA(hwnd, WM_SYSCOMMAND, action.command, 0);
        if (action.hook) InvokeWindowHook(hwnd, action.hook);
        return;
    }
}

// Every window property the engine may have put on a registered window.
constexpr const char* kWindowProperties[] = {
    prop::kWndProc,    prop::kBannerHeight,  prop::kStatusHeight, prop::kMaximizeBox,   prop::kSizeBox,
    prop::kMinWidth,   prop::kMinHeight,     prop::kDuiIndex,     prop::kMaximize,      prop::kMinimize,
    prop::kTracking,   prop::kChildWindow,   prop::kHelpClick,    prop::kMainMenuClick, prop::kWidth,
    prop::kHeight,     prop::kCacheDc,       prop::kBackDc,       prop::kCacheBitmap,   prop::kCacheOldBitmap,
    prop::kBackBitmap, prop::kBackOldBitmap,
};

}  // namespace

LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: return UnregisterWindow(hwnd, message, wParam, lParam);
    case WM_SIZE: return OnSize(hwnd, message, wParam, lParam);
    case WM_ACTIVATE: return PassOnThenRepaintEdges(hwnd, message, wParam, lParam);
    case WM_KILLFOCUS: return PassOnThenRepaintEdges(hwnd, message, wParam, lParam);
    case WM_PAINT: PaintFromCache(hwnd); return 0;
    case WM_ERASEBKGND: EraseFromCache(hwnd, reinterpret_cast<HDC>(wParam)); return 1;
    case WM_SETCURSOR: return OnSetCursor(hwnd, message, wParam, lParam);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(hwnd, message, wParam, lParam);
    case WM_DRAWITEM: return HandleDrawItem(hwnd, message, wParam, lParam);
    case WM_NCCREATE: RedrawFrameEdges(hwnd); return 1;
    case WM_NCCALCSIZE: return OnNcCalcSize(hwnd, message, wParam, lParam);
    case WM_NCHITTEST: return OnNcHitTest(hwnd, message, wParam, lParam);
    case WM_NCPAINT: RedrawFrameEdges(hwnd); return 0;
    case WM_NCACTIVATE: return PassOnThenRepaintEdges(hwnd, message, wParam, lParam);
    case kNcUahDrawCaption: return OnNcUahDrawCaption(hwnd, message, wParam, lParam);
    case WM_NCLBUTTONDOWN: return OnNcLButtonDown(hwnd, message, wParam, lParam);
    case WM_SYSCOMMAND: return OnSysCommand(hwnd, message, wParam, lParam);
    case WM_TIMER: return OnTimer(hwnd, message, wParam, lParam);
    case WM_CTLCOLORMSGBOX: return FaceBrushResult();
    case WM_CTLCOLORBTN: return FaceBrushResult();
    case WM_CTLCOLORDLG: return FaceBrushResult();
    case WM_CTLCOLORSTATIC: return FaceBrushResult();
    case WM_MOUSEMOVE: return FrameMouseHandler(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: return FrameMouseHandler(hwnd, message, wParam, lParam);
    case WM_LBUTTONUP: return FrameMouseHandler(hwnd, message, wParam, lParam);
    case WM_LBUTTONDBLCLK: return FrameMouseHandler(hwnd, message, wParam, lParam);
    case WM_MOUSELEAVE: return FrameMouseHandler(hwnd, message, wParam, lParam);
    default: return CallPreviousWndProc(hwnd, message, wParam, lParam);
    }
}

LRESULT FrameMouseHandler(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point = PointOf(lParam);
    if (message == WM_MOUSELEAVE) {
        ClearElementStates(hwnd);
        WriteProp(hwnd, prop::kTracking, 0);
        return CallPreviousWndProc(hwnd, message, wParam, lParam);
    }
    if (message == WM_LBUTTONDBLCLK) {
        if (ReadIntProp(hwnd, prop::kMaximizeBox) == 1 &&
            !UpdateElementStates(hwnd, message, point.x, point.y) && InDragZone(hwnd, point.y)) {
            ::ReleaseCapture();
            ::PostMessageA(hwnd, WM_SYSCOMMAND, ::IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
            return 0;
        }
        return CallPreviousWndProc(hwnd, message, wParam, lParam);
    }
    if (message == WM_MOUSEMOVE && ReadIntProp(hwnd, prop::kTracking) == 0) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
        ::TrackMouseEvent(&track);
        WriteProp(hwnd, prop::kTracking, 1);
    }
    if (UpdateElementStates(hwnd, message, point.x, point.y)) return 0;
    if (message == WM_LBUTTONDOWN && ReadIntProp(hwnd, prop::kMaximize) == 0 && InDragZone(hwnd, point.y)) {
        // The system's move loop runs inside this SendMessage until the button is released.
        ::ReleaseCapture();
        ::SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return 0;
    }
    return CallPreviousWndProc(hwnd, message, wParam, lParam);
}

bool UpdateElementStates(HWND hwnd, UINT message, int x, int y) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || record->elementCount() < 1) return false;
    const int hit = HitElement(*record, {x, y});
    const int pressed = record->pressedIndex;
    switch (message) {
    case WM_MOUSEMOVE:
        // While a button is held the hover does not follow the mouse.
        if (hit != record->hoverIndex && pressed == -1) MoveHover(hwnd, *record, hit);
        break;
    case WM_LBUTTONDOWN:
        if (hit == pressed) break;
        if (pressed != -1) SetPressed(hwnd, *record, pressed, false);
        record->pressedIndex = hit;
        if (hit != -1) SetPressed(hwnd, *record, hit, true);
        break;
    case WM_LBUTTONUP: {
        if (pressed == -1) break;
        SetPressed(hwnd, *record, pressed, false);
        const DuiElement* target = record->Element(pressed);
        const int click = (hit == pressed && target && !target->selected) ? pressed : -1;
        record->pressedIndex = -1;
        if (hit != record->hoverIndex) MoveHover(hwnd, *record, hit);
        // Last: the click may run application code that changes or destroys the window.
        if (click != -1) PerformElementClick(hwnd, click);
        break;
    }
    default: break;
    }
    return hit != -1;
}

void ClearElementStates(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || record->elementCount() < 1) return;
    const int pressed = record->pressedIndex;
    if (pressed != -1) {
        if (DuiElement* element = record->Element(pressed)) {
            element->pressed = false;
            if (record->hoverIndex == pressed) {
                element->hovered = false;
                record->hoverIndex = -1;
            }
        }
        RedrawElement(hwnd, pressed);
        record->pressedIndex = -1;
    }
    if (record->hoverIndex != -1) {
        SetHovered(hwnd, *record, record->hoverIndex, false);
        record->hoverIndex = -1;
    }
}

void PerformElementClick(HWND hwnd, int index) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    const DuiElement* element = record ? record->Element(index) : nullptr;
    if (!element) return;
    if (element->kind == ElementCaptionButton) {
        ClickCaptionButton(hwnd, element->buttonId);
        return;
    }
    if (element->kind != ElementBannerButton) return;
    const ElementHook hook = element->clickHook;
    const bool hasChild = element->childWindow != nullptr;
    if (hook) {
        ::ReleaseCapture();
        hook();
    }
    if (hasChild) SelectBannerButtonAfterClick(hwnd, index);
}

void InvokeWindowHook(HWND hwnd, const char* name) {
    if (const auto hook = ReadHandleProp<ElementHook>(hwnd, name)) hook();
}

void ShowBannerChild(HWND hwnd, int index) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (!record) return;
    for (const auto& element : record->elements) {
        if (element->kind == ElementBannerButton && element->selfIndex != index && element->childWindow) {
            ::ShowWindow(element->childWindow, SW_HIDE);
        }
    }
    const DuiElement* element = record->Element(index);
    HWND child = element ? element->childWindow : nullptr;
    WriteHandleProp(hwnd, prop::kChildWindow, child);
    if (!::IsWindow(child)) return;
    if (::GetParent(child) != hwnd) {
        ::SetParent(child, hwnd);
        ChangeWindowStyle(child, WS_POPUP, WS_CHILD);
        ChangeWindowStyle(child, WS_CAPTION, 0);
    }
    LayoutBannerChild(hwnd);
    ::ShowWindow(child, SW_SHOW);
}

void LayoutBannerChild(HWND hwnd) {
    HWND child = ReadHandleProp<HWND>(hwnd, prop::kChildWindow);
    if (!::IsWindow(child)) return;
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    const int banner = ReadIntProp(hwnd, prop::kBannerHeight);
    const int status = ReadIntProp(hwnd, prop::kStatusHeight);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::MoveWindow(child, kSideStrip, banner + 1, width - 2 * kSideStrip,
                 height - (banner + 1) - status - kSideStrip, TRUE);
}

LRESULT UnregisterWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = ReadHandleProp<WNDPROC>(hwnd, prop::kWndProc);
    if (previous) ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    TheWindowRegistry.Remove(hwnd);
    const LRESULT result = CallPreviousWndProc(hwnd, message, wParam, lParam);
    // A program that makes and destroys skinned windows must not leak their caches: release them
    // once the previous procedure is done with the window.
    ReleaseFrameCache(hwnd);
    for (const char* name : kWindowProperties) ::RemovePropA(hwnd, name);
    return result;
}

void FrameRepaintTimer(HWND hwnd) { ::SetTimer(hwnd, kFrameRepaintTimer, kFrameRepaintDelay, nullptr); }

}  // namespace skin
