// Message handling of skinned windows: the frame procedure that replaces the system caption and
// border (caption and banner buttons, moving, sizing, maximizing, cursors, the banner child).
#pragma once

#include <windows.h>

namespace skin {

constexpr UINT_PTR kFrameRepaintTimer = 5566;
constexpr UINT kFrameRepaintDelay = 100;  // ms
constexpr int kCornerZone = 10;           // corner sizing zones, px
constexpr int kEdgeZone = 3;              // edge sizing zones, px

// The procedure RegisterWindow installs on every registered window.
LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Mouse messages over the frame: element hover/press/click, dragging and double-click maximize.
LRESULT FrameMouseHandler(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Follows the mouse over the elements; true when (x, y) is over a caption or banner button.
bool UpdateElementStates(HWND hwnd, UINT message, int x, int y);
// WM_MOUSELEAVE: drops the hover and pressed looks.
void ClearElementStates(HWND hwnd);
// A completed click on element `index`.
void PerformElementClick(HWND hwnd, int index);
// Calls the routine held in property `name`, when there is one.
void InvokeWindowHook(HWND hwnd, const char* name);

// Shows the child window of banner button `index` below the banner and hides the others.
void ShowBannerChild(HWND hwnd, int index);
// Places Nimbo_hWndChild between banner and status line.
void LayoutBannerChild(HWND hwnd);

// WM_DESTROY: puts the previous procedure back, drops the window's record (renumbering the
// others), lets the previous procedure handle the message and then releases the window's cache
// and properties. Returns the previous procedure's result.
LRESULT UnregisterWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// (Re)starts the one-shot timer that repaints the side borders once more after activation changes.
void FrameRepaintTimer(HWND hwnd);

}  // namespace skin
