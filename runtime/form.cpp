#include "runtime/form.h"

#include <commctrl.h>

#include <cstdlib>

namespace runtime {

namespace {

struct KindInfo {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

KindInfo InfoOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button: return {"Button", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::ListView:
        return {WC_LISTVIEWA, LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::Label: return {"Static", SS_LEFT, 0};
    }
    return {"Static", 0, 0};
}

void (*g_cleanup)() = nullptr;

}  // namespace

HWND CreateForm(const FormDef& form, WNDPROC proc, void* createParam) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (!::GetClassInfoExA(instance, form.className, &existing)) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(128));
        wc.lpszClassName = form.className;
        if (!::RegisterClassExA(&wc)) return nullptr;
    }
    HWND window = ::CreateWindowExA(form.exStyle, form.className, form.title, form.style, form.x, form.y,
                                    form.width, form.height, nullptr, nullptr, instance, createParam);
    if (!window) return nullptr;
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < form.controlCount; ++i) {
        const ControlDef& c = form.controls[i];
        const KindInfo info = InfoOf(c.kind);
        HWND control = ::CreateWindowExA(
            info.exStyle, info.className, c.name, WS_CHILD | WS_VISIBLE | info.style, c.x, c.y, c.width,
            c.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return window;
}

HWND FormControl(HWND form, int id) { return ::GetDlgItem(form, id); }

RECT WindowRectOf(HWND window) {
    RECT r = {};
    ::GetWindowRect(window, &r);
    return r;
}

void MoveWindowTo(HWND window, std::optional<int> left, std::optional<int> top, std::optional<int> width,
                  std::optional<int> height) {
    const RECT r = WindowRectOf(window);
    UINT flags = SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER;
    if (!left && !top) flags |= SWP_NOMOVE;
    if (!width && !height) flags |= SWP_NOSIZE;
    ::SetWindowPos(window, nullptr, left.value_or(r.left), top.value_or(r.top),
                   width.value_or(r.right - r.left), height.value_or(r.bottom - r.top), flags);
}

void SetAlwaysOnTop(HWND window, bool onTop) {
    ::SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void CentreWindow(HWND window) {
    if (!::IsWindowVisible(window)) return;
    if (::IsIconic(window) || ::IsZoomed(window)) ::ShowWindow(window, SW_RESTORE);
    const RECT r = WindowRectOf(window);
    const int w = r.right - r.left, h = r.bottom - r.top;
    MoveWindowTo(window, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - h) / 2);
}

int RegisterHotkey(HWND window, UINT modifiers, UINT keyCode) {
    static int nextId = 33001;
    if (!::RegisterHotKey(window, nextId, modifiers, keyCode)) return 0;
    return nextId++;
}

void SetCleanupRoutine(void (*routine)()) { g_cleanup = routine; }

void EndProcess(int code) {
    if (g_cleanup) g_cleanup();
    ::ExitProcess(static_cast<UINT>(code));
}

}  // namespace runtime

namespace runtime {

HMENU BuildPopupMenu(const MenuItemDef* items, int count) {
    HMENU menu = ::CreatePopupMenu();
    for (int i = 0; i < count; ++i) {
        if (items[i].text[0] == '-' && items[i].text[1] == '\0') {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(items[i].id), items[i].text);
        }
    }
    return menu;
}

}  // namespace runtime
