#include "app/docking.h"

#include <windows.h>

#include "app/category_list.h"
#include "app/main_window.h"
#include "runtime/form.h"

namespace app {

// The window's geometry is whole pixels, so the tolerant real-number comparisons of the docking
// rule (1e-7) are the plain integer comparisons used here.
DockMove DockDecision(const WindowBox& w, int screenWidth, Point mouse) {
    // One pixel beyond the last column or row still counts as inside.
    const bool outside =
        mouse.x < w.left || mouse.x > w.left + w.width || mouse.y < w.top || mouse.y > w.top + w.height;
    if (outside) {
        if (w.left <= 0) return {DockMove::Axis::Left, 2 - w.width};
        if (w.left + w.width >= screenWidth) return {DockMove::Axis::Left, screenWidth - 2};
        if (w.top <= 0) return {DockMove::Axis::Top, 2 - w.height};
        return {};
    }
    if (w.left <= 0) return {DockMove::Axis::Left, 0};
    if (w.left == screenWidth - 2) return {DockMove::Axis::Left, screenWidth - w.width};
    if (w.top <= 0) return {DockMove::Axis::Top, 0};
    return {};
}

Point HotkeyPullBack(const WindowBox& w, int screenWidth) {
    Point p{w.left, w.top};
    if (p.y < 0) p.y = 1;
    if (p.x < 0) p.x = 1;
    if (p.x == screenWidth - 2) p.x = screenWidth - 319;
    return p;
}

namespace {

WindowBox BoxOf(HWND window) {
    const RECT r = runtime::WindowRectOf(window);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// One SetWindowPos for the move and the fixed size, skipped when nothing would change, and
// never activating: the program the user is typing in keeps the focus.
void PlaceWindow(HWND window, const WindowBox& now, int left, int top) {
    if (left == now.left && top == now.top && now.width == kWindowWidth && now.height == kWindowHeight)
        return;
    runtime::MoveWindowTo(window, left, top, kWindowWidth, kWindowHeight);
}

}  // namespace

void DockToEdge() {
    HWND window = MainWindow();
    if (!window) return;
    const WindowBox box = BoxOf(window);
    POINT cursor;
    ::GetCursorPos(&cursor);
    const DockMove move = DockDecision(box, ::GetSystemMetrics(SM_CXSCREEN), {cursor.x, cursor.y});
    const int left = move.axis == DockMove::Axis::Left ? move.value : box.left;
    const int top = move.axis == DockMove::Axis::Top ? move.value : box.top;
    PlaceWindow(window, box, left, top);
}

void OnHotkey(int identifier, int /*secondValue*/) {
    HWND window = MainWindow();
    if (!window || identifier == 0) return;
    for (int k = 0; k < kCategoryCount; ++k) {
        if (identifier != HotkeyIds()[k]) continue;
        const WindowBox box = BoxOf(window);
        const Point p = HotkeyPullBack(box, ::GetSystemMetrics(SM_CXSCREEN));
        PlaceWindow(window, box, p.x, p.y);
        SelectCategory(kCategories[k]);
    }
    const WindowBox box = BoxOf(window);
    PlaceWindow(window, box, box.left, box.top);
}

}  // namespace app
