#include "app/tray_menus.h"

#include "app/category_list.h"
#include "app/main_window.h"
#include "runtime/form.h"
#include "runtime/shell.h"
#include "runtime/tray.h"

namespace app {

namespace {

constexpr char kTrayTip[] = "TAVEN桌面工具箱V1.0";
constexpr char kBalloonTitle[] = "TAVEN桌面工具箱V2.0";
constexpr char kBalloonText[] = "已最小化到右下角";
constexpr int kBalloonIcon = 1;  // information
constexpr UINT kBalloonTimeout = 1000;
constexpr char kAboutTitle[] = "关于我们";
constexpr char kAboutText[] =
    "本工具箱由作者业余编写，仅供学习与工作交流使用；作者QQ号：000000（示例），有问题请到“工具箱交流论坛”留言"
    "。";

runtime::TrayIcon& Tray() {
    static runtime::TrayIcon tray;
    return tray;
}

}  // namespace

void ShowTrayIcon() {
    HICON icon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (!icon) icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    Tray().Show(MainWindow(), kTrayMessage, icon, kTrayTip);
}

void RemoveTrayIcon() { Tray().Remove(); }

bool HideToTray() {
    Tray().ShowBalloon(kBalloonTitle, kBalloonText, kBalloonIcon, kBalloonTimeout);
    ::ShowWindow(MainWindow(), SW_HIDE);
    return false;
}

void OnTrayLeftClick() {
    ::ShowWindow(MainWindow(), SW_SHOW);
    runtime::SetAlwaysOnTop(MainWindow(), true);
}

void OnTrayRightClick() { PopUpFormMenu(FormMenu::Tray); }

void ShowMainWindow() {
    runtime::CentreWindow(MainWindow());
    ::ShowWindow(MainWindow(), SW_SHOW);
    runtime::SetAlwaysOnTop(MainWindow(), true);
}

void ExitApplication() {
    if (HWND canvas = IconCanvasWindow(); canvas && ::IsWindow(canvas)) ::DestroyWindow(canvas);
    ::DestroyWindow(MainWindow());
    runtime::EndProcess(0);
}

void ShowAbout() { runtime::MessageBox(kAboutText, kAboutTitle, MB_TOPMOST); }

}  // namespace app
