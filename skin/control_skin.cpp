// Control skinning: owner-drawn buttons painted from the control sheet with their own hover and
// press tracking, and the face-colour background of every other descendant.
#include "skin/control_skin.h"

#include <string>

#include "skin/gdiplus.h"
#include "skin/image_layout.h"
#include "skin/registry.h"
#include "skin/resources.h"

namespace skin {

namespace {

// The button's original type bits (BS_AUTOCHECKBOX, BS_RADIOBUTTON, ...): owner-drawing replaces
// them, yet a click must still behave as that type did.
constexpr char kButtonStyleProp[] = "Nimbo_ButtonStyle";

constexpr DWORD kStyleTypeBits = 0x1F;
constexpr DWORD kTrackHoverTime = 5;  // ms

struct ButtonClass {
    DWORD styleType;
    int type;  // without BS_PUSHLIKE; with it every listed style is a push button
};
constexpr ButtonClass kButtonClasses[] = {
    {BS_PUSHBUTTON, ControlPushButton},   {BS_DEFPUSHBUTTON, ControlPushButton},
    {BS_CHECKBOX, ControlCheckBox},       {BS_AUTOCHECKBOX, ControlCheckBox},
    {BS_3STATE, ControlCheckBox},         {BS_AUTO3STATE, ControlCheckBox},
    {BS_RADIOBUTTON, ControlRadioButton}, {BS_AUTORADIOBUTTON, ControlRadioButton},
};

bool IsButtonClass(HWND hwnd) {
    char name[256] = {};
    ::GetClassNameA(hwnd, name, 255);
    return std::string(name) == "Button";
}

void SkinButton(HWND button, DWORD style, int type) {
    WriteProp(button, prop::kCheck, ::SendMessageA(button, BM_GETCHECK, 0, 0) ? 1 : 0);
    WriteProp(button, kButtonStyleProp, static_cast<INT_PTR>(style & BS_TYPEMASK));
    ChangeWindowStyle(button, BS_TYPEMASK, BS_OWNERDRAW);
    WriteProp(button, prop::kWindowType, type);
    SubclassWindow(button, ControlButtonProc);
}

std::string WindowText(HWND hwnd) {
    const int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd, &text[0], length + 1)));
    return text;
}

RECT ToRect(const SheetRect& r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

void PaintCheckCell(HDC dc, const SheetRect& cell, const std::string& text, Size size) {
    ::TransparentBlt(dc, 0, 0, cell.width, cell.height, SharedPaintSet.MemoryDC, cell.x, cell.y, cell.width,
                     cell.height, kControlSheetKey);
    if (text.empty()) return;
    RECT area{cell.width + 1, 0, size.width, size.height};
    ::DrawTextA(dc, text.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void PaintPushCell(HDC dc, const SheetRect& cell, const std::string& text, Size size) {
    const RECT source = ToRect(cell);
    const RECT inner{source.left + kControlCellMargin, source.top + kControlCellMargin,
                     source.right - kControlCellMargin, source.bottom - kControlCellMargin};
    StretchNineGrid(dc, {0, 0, size.width, size.height}, source, inner);
    if (text.empty()) return;
    RECT area{0, 0, size.width, size.height};
    ::DrawTextA(dc, text.c_str(), -1, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
}

bool IsSkinnedRadio(HWND hwnd) { return ReadIntProp(hwnd, prop::kWindowType) == ControlRadioButton; }

// An automatic radio button is checked by its click and clears the others of its group, as the
// system's own radio buttons do.
void CheckRadioInGroup(HWND control) {
    HWND parent = ::GetParent(control);
    ::SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
    HWND sibling = ::GetNextDlgGroupItem(parent, control, FALSE);
    while (sibling && sibling != control) {
        if (IsSkinnedRadio(sibling)) ::SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        HWND next = ::GetNextDlgGroupItem(parent, sibling, FALSE);
        if (next == sibling) break;
        sibling = next;
    }
}

// What a release of the left button over the control does to its check state.
void ClickCheckState(HWND control, LPARAM lParam) {
    RECT client{};
    ::GetClientRect(control, &client);
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!::PtInRect(&client, point)) return;  // released elsewhere: no click, no change
    switch (ReadIntProp(control, kButtonStyleProp)) {
    case BS_CHECKBOX:
    case BS_3STATE:
    case BS_RADIOBUTTON: return;  // the owner sets these itself when it hears the click
    case BS_AUTORADIOBUTTON: CheckRadioInGroup(control); return;
    default: ::SendMessageA(control, BM_SETCHECK, ReadIntProp(control, prop::kCheck) == 0 ? 1 : 0, 0); return;
    }
}

LRESULT OnButtonMouseMove(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ReadIntProp(control, prop::kTrackMouseEvent) == 0) {
        TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, control, kTrackHoverTime};
        ::TrackMouseEvent(&track);
        WriteProp(control, prop::kTrackMouseEvent, 1);
    }
    return CallPreviousWndProc(control, message, wParam, lParam);
}

LRESULT OnButtonDrawState(HWND control, UINT message, WPARAM wParam, LPARAM lParam, int state) {
    SetDrawState(control, state);
    return CallPreviousWndProc(control, message, wParam, lParam);
}

LRESULT OnButtonLeave(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    SetDrawState(control, DrawNormal);
    WriteProp(control, prop::kTrackMouseEvent, 0);
    return CallPreviousWndProc(control, message, wParam, lParam);
}

LRESULT OnButtonUp(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    ClickCheckState(control, lParam);
    SetDrawState(control, DrawHover);
    return CallPreviousWndProc(control, message, wParam, lParam);
}

LRESULT OnSetCheck(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const INT_PTR before = ReadProp(control, prop::kCheck);
    WriteProp(control, prop::kCheck, static_cast<INT_PTR>(wParam));
    // An owner-drawn button does not repaint for a new check state; boxes and dots show it.
    if (before != static_cast<INT_PTR>(wParam) &&
        ReadIntProp(control, prop::kWindowType) != ControlPushButton) {
        ::InvalidateRect(control, nullptr, FALSE);
    }
    return CallPreviousWndProc(control, message, wParam, lParam);
}

LRESULT OnEraseBackground(HWND hwnd, HDC dc) {
    EraseWithFaceBrush(hwnd, dc);
    return 1;
}

}  // namespace

int ClassifyButtonStyle(DWORD style) {
    const DWORD type = style & kStyleTypeBits;
    for (const ButtonClass& entry : kButtonClasses) {
        if (entry.styleType != type) continue;
        return (style & BS_PUSHLIKE) ? ControlPushButton : entry.type;
    }
    return 0;
}

void SkinChildControls(HWND hwnd) {
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsButtonClass(child)) {
            const DWORD style = static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE));
            if (const int type = ClassifyButtonStyle(style)) SkinButton(child, style, type);
        }
        SkinChildControls(child);
    }
    SubclassWindow(hwnd, ContainerProc);
}

void SubclassWindow(HWND hwnd, WNDPROC procedure) {
    if (ReadProp(hwnd, prop::kWndProc) != 0) return;
    const LONG_PTR previous = ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    WriteProp(hwnd, prop::kWndProc, previous);
}

LRESULT CALLBACK ControlButtonProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: return OnButtonMouseMove(control, message, wParam, lParam);
    case WM_MOUSEHOVER: return OnButtonDrawState(control, message, wParam, lParam, DrawHover);
    case WM_MOUSELEAVE: return OnButtonLeave(control, message, wParam, lParam);
    case WM_LBUTTONDOWN: return OnButtonDrawState(control, message, wParam, lParam, DrawPressed);
    case WM_LBUTTONUP: return OnButtonUp(control, message, wParam, lParam);
    case BM_SETCHECK: return OnSetCheck(control, message, wParam, lParam);
    case BM_GETCHECK: return ReadProp(control, prop::kCheck);
    default: return CallPreviousWndProc(control, message, wParam, lParam);
    }
}

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return OnEraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_DRAWITEM: return HandleDrawItem(hwnd, message, wParam, lParam);
    default: return CallPreviousWndProc(hwnd, message, wParam, lParam);
    }
}

LRESULT HandleDrawItem(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item && item->CtlType == ODT_BUTTON && ReadIntProp(item->hwndItem, prop::kWindowType) != 0) {
        PaintSkinnedControl(item->hwndItem, item->hDC);
        return 1;
    }
    return CallPreviousWndProc(hwnd, message, wParam, lParam);
}

void PaintSkinnedControl(HWND control, HDC dc) {
    const Size size = WindowSize(control);
    MemDcPtr memory(CountGdi(::CreateCompatibleDC(SharedPaintSet.MemoryDC)));
    BitmapPtr bitmap(CountGdi(::CreateCompatibleBitmap(SharedPaintSet.MemoryDC, size.width, size.height)));
    if (!memory || !bitmap) return;
    SelectGuard selectBitmap(memory.get(), bitmap.get());
    const std::string text = WindowText(control);
    ::SetBkMode(memory.get(), TRANSPARENT);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    SelectGuard selectFont(memory.get(), font ? font : SharedPaintSet.FallbackFont);

    const int type = ReadIntProp(control, prop::kWindowType);
    const SheetRect cell =
        ControlCell(type, ReadIntProp(control, prop::kCheck) == 1, ReadIntProp(control, prop::kDrawState),
                    ::IsWindowEnabled(control) != FALSE);
    RECT all{0, 0, size.width, size.height};
    ::FillRect(memory.get(), &all, SharedPaintSet.FaceBrush.get());
    if (type == ControlCheckBox || type == ControlRadioButton) {
        PaintCheckCell(memory.get(), cell, text, size);
    } else {
        PaintPushCell(memory.get(), cell, text, size);
    }
    ::BitBlt(dc, 0, 0, size.width, size.height, memory.get(), 0, 0, SRCCOPY);
}

void StretchNineGrid(HDC dc, const RECT& d, const RECT& s, const RECT& i) {
    HDC sheet = SharedPaintSet.MemoryDC;
    const int left = i.left - s.left, top = i.top - s.top;
    const int right = s.right - i.right, bottom = s.bottom - i.bottom;
    const int middleW = (d.right - d.left) - left - right, middleH = (d.bottom - d.top) - top - bottom;
    const int innerW = i.right - i.left, innerH = i.bottom - i.top;
    ::BitBlt(dc, d.left, d.top, left, top, sheet, s.left, s.top, SRCCOPY);
    ::StretchBlt(dc, d.left + left, d.top, middleW, top, sheet, i.left, s.top, innerW, top, SRCCOPY);
    ::BitBlt(dc, d.right - right, d.top, right, top, sheet, i.right, s.top, SRCCOPY);
    ::StretchBlt(dc, d.left, d.top + top, left, middleH, sheet, s.left, i.top, left, innerH, SRCCOPY);
    ::StretchBlt(dc, d.left + left, d.top + top, middleW, middleH, sheet, i.left, i.top, innerW, innerH,
                 SRCCOPY);
    ::StretchBlt(dc, d.right - right, d.top + top, right, middleH, sheet, i.right, i.top, right, innerH,
                 SRCCOPY);
    ::BitBlt(dc, d.left, d.bottom - bottom, left, bottom, sheet, s.left, i.bottom, SRCCOPY);
    ::StretchBlt(dc, d.left + left, d.bottom - bottom, middleW, bottom, sheet, i.left, i.bottom, innerW,
                 bottom, SRCCOPY);
    ::BitBlt(dc, d.right - right, d.bottom - bottom, right, bottom, sheet, i.right, i.bottom, SRCCOPY);
}

void SetDrawState(HWND control, int state) {
    if (ReadIntProp(control, prop::kDrawState) == state) return;
    WriteProp(control, prop::kDrawState, state);
    ::InvalidateRect(control, nullptr, FALSE);
}

void EraseWithFaceBrush(HWND hwnd, HDC dc) {
    const Size size = WindowSize(hwnd);
    RECT all{0, 0, size.width, size.height};
    ::FillRect(dc, &all, SharedPaintSet.FaceBrush.get());
}

}  // namespace skin
