#include "app/main_window.h"

#include <commctrl.h>
#include <ole2.h>

#include <iterator>
#include <string>

#include "app/category_list.h"
#include "app/docking.h"
#include "app/item_commands.h"
#include "app/skin_setup.h"
#include "app/store.h"
#include "app/tray_menus.h"
#include "runtime/drop_target.h"
#include "runtime/files.h"
#include "runtime/form.h"
#include "runtime/shell.h"
#include "runtime/tray.h"

namespace app {

namespace {

constexpr char kMainTitle[] = "TAVEN桌面工具箱V2.0";

constexpr runtime::ControlDef kMainControls[] = {
    {runtime::ControlKind::Button, kIdCategoryFirst + 0, "常用工具", 8, 92, 64, 24},
    {runtime::ControlKind::Button, kIdCategoryFirst + 1, "编程工具", 88, 92, 64, 24},
    {runtime::ControlKind::Button, kIdCategoryFirst + 2, "文件夹", 168, 92, 64, 24},
    {runtime::ControlKind::Button, kIdCategoryFirst + 3, "常用网站", 247, 92, 64, 24},
    {runtime::ControlKind::ListView, kIdList, "列表框", 48, 56, 184, 248},
};

constexpr runtime::FormDef kMainForm = {
    "ToolboxMainWindow",
    kMainTitle,
    50,
    50,
    317,
    427,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    0,
    kMainControls,
    static_cast<int>(std::size(kMainControls))};

constexpr runtime::MenuItemDef kListMenu[] = {
    {kCmdOpen, "运行/打开"}, {kCmdLocate, "定位"},     {0, "-"}, {kCmdRefresh, "刷新"}, {kCmdDelete, "删除"},
    {kCmdRename, "重命名"},  {kCmdProperties, "属性"},
};
constexpr runtime::MenuItemDef kTrayMenu[] = {{kCmdShowWindow, "显示窗口"}, {kCmdExit, "退出"}};
constexpr runtime::MenuItemDef kSkinMenu[] = {
    {kCmdChangeSkin, "更换皮肤"}, {kCmdRestoreSkin, "还原皮肤"}, {kCmdAbout, "关于我们"}};

struct CommandBinding {
    int id;
    void (*handler)();
};
constexpr CommandBinding kCommands[] = {
    {kCmdOpen, OpenSelectedItem},     {kCmdLocate, LocateSelectedItem},
    {kCmdRefresh, FillCategoryList},  {kCmdDelete, DeleteSelectedItem},
    {kCmdRename, RenameSelectedItem}, {kCmdProperties, ShowSelectedItemProperties},
    {kCmdShowWindow, ShowMainWindow}, {kCmdExit, ExitApplication},
    {kCmdChangeSkin, OnChangeSkin},   {kCmdRestoreSkin, OnRestoreSkin},
    {kCmdAbout, ShowAbout},
};

HWND g_mainWindow = nullptr;
int g_hotkeyIds[4] = {0, 0, 0, 0};
HANDLE g_instanceMutex = nullptr;

DWORD WINAPI KeepOnTopWorker(void*) {
    for (;;) {
        runtime::SetAlwaysOnTop(g_mainWindow, true);
        ::Sleep(60000);
    }
}

void OnCategoryButton(int index) { SelectCategory(kCategories[index]); }

LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    if (lp && HIWORD(wp) == BN_CLICKED && id >= kIdCategoryFirst && id < kIdCategoryFirst + kCategoryCount) {
        OnCategoryButton(id - kIdCategoryFirst);
        return 0;
    }
    if (!lp) {
        RunCommand(id);
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT OnNotify(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->idFrom == kIdList && header->code == static_cast<UINT>(NM_DBLCLK)) OpenSelectedItem();
    if (header->idFrom == kIdList && header->code == static_cast<UINT>(NM_RCLICK)) ShowListMenu();
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT OnTrayMessage(LPARAM lp) {
    if (lp == WM_LBUTTONUP) OnTrayLeftClick();
    if (lp == WM_RBUTTONUP) OnTrayRightClick();
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: return OnCommand(hwnd, msg, wp, lp);
    case WM_NOTIFY: return OnNotify(hwnd, msg, wp, lp);
    case WM_TIMER:
        if (wp == kDockTimerId) DockToEdge();
        return 0;
    case WM_HOTKEY: OnHotkey(static_cast<int>(wp), static_cast<int>(lp)); return 0;
    case kTrayMessage: return OnTrayMessage(lp);
    case WM_CLOSE:
        if (HideToTray()) ::DestroyWindow(hwnd);
        return 0;
    }
    if (msg == runtime::TrayIcon::TaskbarCreatedMessage()) {
        ShowTrayIcon();
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

HWND MainWindow() { return g_mainWindow; }
int* HotkeyIds() { return g_hotkeyIds; }

HANDLE EnsureSingleInstance() {
    const std::string name = runtime::ExeFileName();
    if (HANDLE existing = ::OpenMutexA(READ_CONTROL, FALSE, name.c_str())) {
        ::CloseHandle(existing);
        ::ExitProcess(0);
    }
    return ::CreateMutexA(nullptr, FALSE, name.c_str());
}

void OnMainWindowCreated() {
    g_instanceMutex = EnsureSingleInstance();
    ShowTrayIcon();
    SetUpMainWindowSkin();
    CurrentCategory() = kCategories[0];
    runtime::RegisterFileDropTarget(CategoryListControl(), AddDroppedFiles);
    SetStorePath(runtime::RunDirectory() + "\\petrez.alss");
    RemoveStrayStoreTemp();
    if (::GetFileAttributesA(StorePath().c_str()) == INVALID_FILE_ATTRIBUTES) {
        runtime::MessageBox("对不起没有找到配置文件");
    }
    LoadStoredSkin();
    LoadIconCanvasWindow();
    FillCategoryList();
    for (int i = 0; i < 4; ++i) g_hotkeyIds[i] = runtime::RegisterHotkey(g_mainWindow, 0, VK_F1 + i);
    if (HANDLE worker = ::CreateThread(nullptr, 0, KeepOnTopWorker, nullptr, 0, nullptr))
        ::CloseHandle(worker);
}

HWND LoadMainWindow() {
    g_mainWindow = runtime::CreateForm(kMainForm, MainWindowProc);
    if (!g_mainWindow) return nullptr;
    SetCategoryListControl(runtime::FormControl(g_mainWindow, kIdList));
    ::SetTimer(g_mainWindow, kDockTimerId, kDockInterval, nullptr);
    OnMainWindowCreated();
    ::ShowWindow(g_mainWindow, SW_SHOW);
    ::UpdateWindow(g_mainWindow);
    return g_mainWindow;
}

void ReleaseGlobals() {
    StopSkinEngine();
    RemoveTrayIcon();
    runtime::RevokeFileDropTarget(CategoryListControl());
}

void PopUpFormMenu(FormMenu which) {
    struct MenuTable {
        const runtime::MenuItemDef* items;
        int count;
    };
    static const MenuTable kTables[] = {
        {kListMenu, static_cast<int>(std::size(kListMenu))},
        {kTrayMenu, static_cast<int>(std::size(kTrayMenu))},
        {kSkinMenu, static_cast<int>(std::size(kSkinMenu))},
    };
    const MenuTable& table = kTables[static_cast<int>(which)];
    HMENU menu = runtime::BuildPopupMenu(table.items, table.count);
    const int chosen = runtime::PopupMenu(menu, g_mainWindow);
    ::DestroyMenu(menu);
    if (chosen) RunCommand(chosen);
}

void RunCommand(int id) {
    for (const CommandBinding& c : kCommands) {
        if (c.id == id) c.handler();
    }
}

int RunToolbox() {
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    runtime::SetCleanupRoutine(ReleaseGlobals);
    StartSkinEngine();
    if (!LoadMainWindow()) return 1;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    runtime::EndProcess(0);
}

}  // namespace app
