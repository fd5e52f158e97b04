// Tray icon "托盘图标1", its menu, hiding on close, and the About box.
#pragma once

#include <windows.h>

namespace app {

bool HideToTray();  // the can-be-closed handler: always false (the window only hides)
void OnTrayLeftClick();
void OnTrayRightClick();
void ShowMainWindow();
[[noreturn]] void ExitApplication();
void ShowAbout();

// Shows the tray icon (start-up, and again after "TaskbarCreated").
void ShowTrayIcon();
void RemoveTrayIcon();

}  // namespace app
