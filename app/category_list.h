// The list "列表框": the four categories, filling the list from the store with each entry's shell
// icon, and the hidden icon canvas that renders those icons.
#pragma once

#include <windows.h>

#include <string>

namespace app {

// The categories in button order; each name is also its section in the store.
constexpr int kCategoryCount = 4;
extern const char* const kCategories[kCategoryCount];

// The category shown in the list ("常用工具" once start-up has run).
std::string& CurrentCategory();

// The list control that FillCategoryList fills; set by the main window at start-up.
void SetCategoryListControl(HWND list);
HWND CategoryListControl();

void SelectCategory(const std::string& name);
void FillCategoryList();

// The hidden 32 x 32 canvas window "画板1" lives in: layered, off the screen at (-32, -32).
HWND LoadIconCanvasWindow();
HWND IconCanvasWindow();

// The shell's large icon of `path` on white, 32 x 32; the caller owns the bitmap. A path the
// shell does not know gives the all-white picture.
HBITMAP RenderShellIcon(const std::string& path, bool small);

}  // namespace app
