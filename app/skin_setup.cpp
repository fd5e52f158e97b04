#include "app/skin_setup.h"

#include "app/main_window.h"

namespace app {

// The skin engine is switched on here once it is part of the program; until then the main
// window keeps the system frame.
void StartSkinEngine() {}
void StopSkinEngine() {}
void SetUpMainWindowSkin() {}
void LoadStoredSkin() {}
void ReskinAfterListMenu() {}
void PopUpSkinMenu() { PopUpFormMenu(FormMenu::Skin); }
void OnChangeSkin() {}
void OnRestoreSkin() {}

}  // namespace app
