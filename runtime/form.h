// Forms as tables: a window and its controls at pixel positions, created in one call, plus the
// window operations the handlers use (move, size, visibility, always on top, centring) and the
// registered hotkeys. Events reach the form's own window procedure, which binds them to handlers.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace runtime {

enum class ControlKind { Button, ListView, Label };

struct ControlDef {
    ControlKind kind;
    int id;
    const char* name;  // the control's name in the form; also the button caption
    int x, y, width, height;
};

struct FormDef {
    const char* className;
    const char* title;
    int x, y, width, height;  // outer window rectangle in screen pixels
    DWORD style;
    DWORD exStyle;
    const ControlDef* controls;
    int controlCount;
};

// Registers the form's window class (once) and creates the window with its controls, all hidden
// until ShowForm. `createParam` reaches WM_CREATE as lpCreateParams. Returns 0 on failure.
HWND CreateForm(const FormDef& form, WNDPROC proc, void* createParam = nullptr);

// The control of a form by its id.
HWND FormControl(HWND form, int id);

// Moves and sizes a window; an omitted value stays. Never activates the window or changes its
// z-order, so the program the user is typing in keeps the focus.
void MoveWindowTo(HWND window, std::optional<int> left, std::optional<int> top,
                  std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt);
RECT WindowRectOf(HWND window);

// Always on top, without activating the window. Safe from any thread.
void SetAlwaysOnTop(HWND window, bool onTop);

// Position property 1 (centred): a visible window is restored and moved to the screen's centre.
void CentreWindow(HWND window);

// Registers a system-wide hotkey on `window`; identifiers count up from 33001, 0 on failure.
int RegisterHotkey(HWND window, UINT modifiers, UINT keyCode);

// The run time's process end: ends with `code` after the clean-up routine has run.
[[noreturn]] void EndProcess(int code);
void SetCleanupRoutine(void (*routine)());

}  // namespace runtime

namespace runtime {

// One item of a pop-up menu; the text "-" makes a separator.
struct MenuItemDef {
    int id;
    const char* text;
};

// Builds a pop-up menu from a table; the caller destroys it (DestroyMenu).
HMENU BuildPopupMenu(const MenuItemDef* items, int count);

}  // namespace runtime
