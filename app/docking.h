// Edge docking ("吸附", every 100 ms) and the F1-F4 hotkeys.
#pragma once

namespace app {

constexpr int kWindowWidth = 317;
constexpr int kWindowHeight = 427;

struct WindowBox {
    int left, top, width, height;
};
struct Point {
    int x, y;
};

// What one docking tick does with the window: move its left, its top, or nothing.
struct DockMove {
    enum class Axis { None, Left, Top } axis = Axis::None;
    int value = 0;
    bool operator==(const DockMove& o) const {
        return axis == o.axis && (axis == Axis::None || value == o.value);
    }
};

// The decision of one tick from the window rectangle, the screen width and the cursor.
DockMove DockDecision(const WindowBox& window, int screenWidth, Point mouse);

// Where a hotkey puts a window: pulled back 1 px from the left or top edge, or 2 px from the
// right edge. Returns the new left and top.
Point HotkeyPullBack(const WindowBox& window, int screenWidth);

void DockToEdge();
void OnHotkey(int identifier, int secondValue);

}  // namespace app
