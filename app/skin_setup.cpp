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

constexpr COLORREF kFaceColor = 0x00FFFFFF;
constexpr int kBannerHeight = 120;
constexpr int kStatusHeight = 20;
constexpr char kBannerCaption[] = "我的工具箱";
constexpr char kStatusText[] = "有问题或建议，欢迎到支持网站的交流区留言";

runtime::FileDialog& SkinDialog() {  // "通用对话框1"
    static runtime::FileDialog dialog;
    return dialog;
}

std::string_view DefaultSkinPicture() { return runtime::EmbeddedBytes(IDR_DEFAULT_SKIN); }

}  // namespace

void StartSkinEngine() { skin::SkinModuleStartup(); }

void StopSkinEngine() { skin::SkinModuleShutdown(); }

void SetUpMainWindowSkin() {
    skin::SkinEngine& engine = skin::TheSkinEngine;
    HWND window = MainWindow();
    engine.SetFaceColor(kFaceColor);
    engine.SkinAllControls();
    skin::WindowSettings settings;
    settings.bannerHeight = kBannerHeight;
    settings.statusHeight = kStatusHeight;
    settings.minimizeBox = 0;
    settings.maximizeBox = 0;
    settings.helpButton = 0;
    settings.mainMenuButton = 1;
    settings.sizeBox = 0;
    engine.RegisterWindow(window, settings);
    engine.AddBannerButton(window, kBannerCaption, runtime::EmbeddedBytes(IDR_TOOLBOX_ICON),
                           CategoryListControl());
    engine.SelectBannerButton(window, kBannerCaption);
    engine.SetMainMenuClickHook(window, PopUpSkinMenu);
    engine.SetStatusText(window, kStatusText);
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
