// The toolbox's use of the skin engine: the main window's skin set-up, the stored skin picture,
// and the skin menu's commands.
#pragma once

#include "skin/registration.h"

namespace app {

// What the main window wears: white face, banner 120 and status line 20 with the close and
// main-menu buttons, and one banner button holding the list.
constexpr unsigned long kMainFaceColor = 0x00FFFFFF;
constexpr char kMainBannerCaption[] = "我的工具箱";
constexpr char kMainStatusText[] = "有问题或建议，欢迎到支持网站的交流区留言";
skin::WindowSettings MainWindowSkinSettings();

void StartSkinEngine();  // module start-up of the engine, before any window exists
void StopSkinEngine();   // process end
void SetUpMainWindowSkin();
void LoadStoredSkin();
void ReskinAfterListMenu();
void PopUpSkinMenu();
void OnChangeSkin();
void OnRestoreSkin();

}  // namespace app
