// The toolbox's use of the skin engine: the main window's skin set-up, the stored skin picture,
// and the skin menu's commands.
#pragma once

namespace app {

void StartSkinEngine();  // module start-up of the engine, before any window exists
void StopSkinEngine();   // process end
void SetUpMainWindowSkin();
void LoadStoredSkin();
void ReskinAfterListMenu();
void PopUpSkinMenu();
void OnChangeSkin();
void OnRestoreSkin();

}  // namespace app
