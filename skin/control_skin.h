// Skinning of the controls inside skinned windows: push buttons, check boxes and radio buttons
// become owner-drawn and are painted from the control sheet; every other descendant erases its
// background with the face colour.
#pragma once

#include <windows.h>

// <windowsx.h> defines a macro of this name; the engine's routine replaces it here.
#ifdef SubclassWindow
#undef SubclassWindow
#endif

namespace skin {

// The painter type of a "Button" control from its style word: 5 push button (also a push-like
// check box or radio button), 6 check box, 7 radio button, 0 for any other button style.
int ClassifyButtonStyle(DWORD style);

// Skins every descendant of `hwnd`, depth first, then gives `hwnd` the container procedure
// (which does nothing to a window the engine subclassed before).
void SkinChildControls(HWND hwnd);

// Replaces the window's procedure by `procedure` unless the engine subclassed it before; the first
// procedure given wins and the previous one is kept in Velvix_WndProc.
void SubclassWindow(HWND hwnd, WNDPROC procedure);

LRESULT CALLBACK ControlButtonProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// WM_DRAWITEM of a window holding skinned buttons: paints them, passes anything else on.
LRESULT HandleDrawItem(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Paints a skinned control into `dc`, composed off-screen and shown with one blit.
void PaintSkinnedControl(HWND control, HDC dc);

// Nine copies from the control sheet: corners 1:1, edges stretched along, middle stretched both
// ways. Rectangles are {left, top, right, bottom}; `inner` lies inside `source`.
void StretchNineGrid(HDC dc, const RECT& destination, const RECT& source, const RECT& inner);

// Stores the control's draw state and repaints it (without erasing) when it changed.
void SetDrawState(HWND control, int state);

// Fills the whole window area of `hwnd` in `dc` with the face colour.
void EraseWithFaceBrush(HWND hwnd, HDC dc);

}  // namespace skin
