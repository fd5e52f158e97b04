#include "app/skin_setup.h"

#include "app/category_list.h"
#include "app/main_window.h"
#include "app/store.h"
#include "resources/resource_ids.h"
#include "runtime/embedded.h"
#include "runtime/files.h"
#include "runtime/shell.h"
#include "skin/engine.h"
#include "skin/resources.h"

namespace app {

namespace {

runtime::FileDialog& SkinDialog() {  // "通用对话框1"
    static runtime::FileDialog dialog;
    return dialog;
}

std::string_view DefaultSkinPicture() { return runtime::EmbeddedBytes(IDR_DEFAULT_SKIN); }

}  // namespace

skin::WindowSettings MainWindowSkinSettings() {
    skin::WindowSettings settings;
    settings.bannerHeight = 120;
    settings.statusHeight = 20;
    settings.minimizeBox = 0;
    settings.maximizeBox = 0;
    settings.helpButton = 0;
    settings.mainMenuButton = 1;
    settings.sizeBox = 0;
    return settings;
}

void StartSkinEngine() { skin::SkinModuleStartup(); }

void StopSkinEngine() { skin::SkinModuleShutdown(); }

void SetUpMainWindowSkin() {
    skin::SkinEngine& engine = skin::TheSkinEngine;
    HWND window = MainWindow();
    engine.SetFaceColor(kMainFaceColor);
    engine.SkinAllControls();
    engine.RegisterWindow(window, MainWindowSkinSettings());
    engine.AddBannerButton(window, kMainBannerCaption, runtime::EmbeddedBytes(IDR_TOOLBOX_ICON),
                           CategoryListControl());
    engine.SelectBannerButton(window, kMainBannerCaption);
    engine.SetMainMenuClickHook(window, PopUpSkinMenu);
    engine.SetStatusText(window, kMainStatusText);
}

void LoadStoredSkin() {
    const std::string path = ReadSkinPath();
    if (path.empty()) {
        skin::TheSkinEngine.LoadSkinFromBytes(DefaultSkinPicture());
        return;
    }
    // A file that cannot be read loads nothing: the banner keeps the plain skin colour.
    const std::optional<std::string> bytes = runtime::ReadWholeFile(path);
    skin::TheSkinEngine.LoadSkinFromBytes(bytes ? std::string_view(*bytes) : std::string_view());
}

void ReskinAfterListMenu() { skin::TheSkinEngine.SkinAllControls(); }

void PopUpSkinMenu() { PopUpFormMenu(FormMenu::Skin); }

void OnChangeSkin() {
    runtime::FileDialog& dialog = SkinDialog();
    dialog.Show(MainWindow());
    skin::TheSkinEngine.LoadSkinFromFile(dialog.fileName());
    if (const char* problem = StoreStatusMessage(WriteSkinPath(dialog.fileName()))) {
        runtime::MessageBox(problem, "TAVEN桌面工具箱V2.0", MB_TOPMOST);
    }
}

void OnRestoreSkin() {
    skin::TheSkinEngine.LoadSkinFromBytes(DefaultSkinPicture());
    if (const char* problem = StoreStatusMessage(DeleteSkinSection())) {
        runtime::MessageBox(problem, "TAVEN桌面工具箱V2.0", MB_TOPMOST);
    }
}

}  // namespace app
