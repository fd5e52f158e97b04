// The soak of the toolbox's main window: the live GUI figures of this process (GDI objects, icons,
// menus, windows, private memory and the skin engine's own GDI count) and the cycles that drive the
// real window with real messages, every call that waits on a person answered through the shell
// seam. Shared by the long soak program (tools/soak) and its short run in every test run.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/category_list.h"
#include "app/item_commands.h"
#include "app/main_window.h"
#include "app/store.h"
#include "resources/resource_ids.h"
#include "runtime/embedded.h"
#include "runtime/form.h"
#include "runtime/shell.h"
#include "runtime/tray.h"
#include "skin/engine.h"
#include "skin/registry.h"
#include "skin/resources.h"

namespace soak {

// --- Figures ------------------------------------------------------------------------------------

// What the process holds at one moment. GDI and USER counts are exact; memory is the private bytes
// the system reports.
struct Figures {
    long gdi = 0;                   // live GDI objects (an icon holds two or three bitmaps besides)
    long icons = -1;                // live icons and cursors; -1 where they cannot be counted
    long menus = -1;                // live menus; -1 where they cannot be counted
    long windows = 0;               // windows of this process, children included
    long user = 0;                  // USER objects: icons + menus + windows, or the system's own count
    long engineLive = 0;            // GDI objects the skin engine made and has not released
    long deletedWhileSelected = 0;  // engine deletes of an object still selected into a DC
    long long privateBytes = 0;
};

namespace detail {

// Wine hands out GDI handles whose low word indexes its handle table and accepts a handle with a
// zero high word for any live entry, so probing every index finds every object of the process
// (under 1 ms). Windows needs the full handle; there GetGuiResources answers instead.
inline long ProbeGdiObjects() {
    long count = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++count;
    }
    return count;
}

// Wine's USER handles (windows, menus, icons) are 0x20 + 2 * index in the low word and, like GDI
// handles, are accepted with a zero high word. GetCursorFrameInfo (exported, undocumented) answers
// for an icon or cursor without making any object, unlike GetIconInfo.
using CursorFrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

template <class Test>
long ProbeUserHandles(Test test) {
    long count = 0;
    for (UINT_PTR handle = 0x20; handle <= 0xFFFE; handle += 2) {
        if (test(handle)) ++count;
    }
    return count;
}

inline long ProbeIcons() {
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    const auto frameInfo = reinterpret_cast<CursorFrameInfo>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetCursorFrameInfo")));
    if (!frameInfo) return -1;
    return ProbeUserHandles([frameInfo](UINT_PTR h) {
        DWORD rate = 0, steps = 0;
        return frameInfo(reinterpret_cast<HCURSOR>(h), 0, 0, &rate, &steps) != nullptr;
    });
}

inline long ProbeMenus() {
    return ProbeUserHandles([](UINT_PTR h) { return ::IsMenu(reinterpret_cast<HMENU>(h)) != FALSE; });
}

inline BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

inline BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<long*>(count);
    ::EnumChildWindows(window, CountChild, count);
    return TRUE;
}

// Committed private memory of the process, region by region. Wine leaves PrivateUsage at 0.
inline long long CommittedPrivateBytes() {
    long long total = 0;
    SYSTEM_INFO system;
    ::GetSystemInfo(&system);
    auto* at = static_cast<char*>(system.lpMinimumApplicationAddress);
    MEMORY_BASIC_INFORMATION region;
    while (at < system.lpMaximumApplicationAddress && ::VirtualQuery(at, &region, sizeof(region))) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<long long>(region.RegionSize);
        at = static_cast<char*>(region.BaseAddress) + region.RegionSize;
    }
    return total;
}

inline long CountWindows() {
    long count = 0;
    ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    // Message-only windows (OLE's, for one) are not top-level windows of the desktop.
    for (HWND w = ::FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = ::FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr)) {
        CountOwnWindow(w, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

}  // namespace detail

inline Figures Measure() {
    Figures f;
    HANDLE self = ::GetCurrentProcess();
    const DWORD systemGdi = ::GetGuiResources(self, GR_GDIOBJECTS);
    const DWORD systemUser = ::GetGuiResources(self, GR_USEROBJECTS);
    f.gdi = systemGdi ? static_cast<long>(systemGdi) : detail::ProbeGdiObjects();
    f.windows = detail::CountWindows();
    if (!systemGdi) {  // Wine: the handle tables can be probed
        f.icons = detail::ProbeIcons();
        f.menus = detail::ProbeMenus();
    }
    f.user = systemUser ? static_cast<long>(systemUser)
                        : std::max(f.icons, 0L) + std::max(f.menus, 0L) + f.windows;
    f.engineLive = skin::gdiCounts.live();
    f.deletedWhileSelected = skin::gdiCounts.deletedWhileSelected;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
        f.privateBytes = static_cast<long long>(memory.PrivateUsage);
    }
    if (!f.privateBytes) f.privateBytes = detail::CommittedPrivateBytes();
    return f;
}

constexpr long long kMemoryTolerance = 1024 * 1024;

// Whether every figure of `after` ends where `before` began (memory within the tolerance, when
// it is judged at all).
inline bool Unchanged(const Figures& before, const Figures& after, bool judgeMemory = true) {
    return after.gdi == before.gdi && after.icons == before.icons && after.menus == before.menus &&
           after.windows == before.windows && after.user == before.user &&
           after.engineLive == before.engineLive &&
           after.deletedWhileSelected == before.deletedWhileSelected &&
           (!judgeMemory || after.privateBytes - before.privateBytes <= kMemoryTolerance);
}

// Dispatches what is queued for this thread (posted leaves, timers, paints).
inline void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// --- Files the cycles use -----------------------------------------------------------------------

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

inline void PutLe32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A one-colour 24-bit BMP file. With `declared` the header claims that size while the file
// holds the pixels of `width` x `height` (a picture over the decoder's size cap stays small).
inline std::string Bmp(int width, int height, COLORREF colour, std::optional<SIZE> declared = std::nullopt) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string bmp(54 + static_cast<size_t>(stride) * height, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLe32(bmp, 10, 54);
    PutLe32(bmp, 14, 40);
    PutLe32(bmp, 18, static_cast<uint32_t>(declared ? declared->cx : width));
    PutLe32(bmp, 22, static_cast<uint32_t>(declared ? declared->cy : height));
    bmp[26] = 1;
    bmp[28] = 24;
    for (size_t at = 54; at + 2 < bmp.size(); at += 3) {
        bmp[at] = static_cast<char>(GetBValue(colour));
        bmp[at + 1] = static_cast<char>(GetGValue(colour));
        bmp[at + 2] = static_cast<char>(GetRValue(colour));
    }
    return bmp;
}

inline std::wstring Wide(const std::string& ansi) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), n);
    wide.resize(wide.size() - 1);
    return wide;
}

// --- The cycles ---------------------------------------------------------------------------------

// Drives the loaded main window (and a second skinned window with the size box) in the ways a
// long-running toolbox is used. The store and every file live in `folder`; the shell seam answers
// message boxes, menus, the input box and the file dialog while the driver lives.
class Driver {
public:
    explicit Driver(const std::string& folder) : folder_(folder) {
        runtime::Shell& shell = override_.shell();
        shell.message = [this](const std::string& text, const std::string&, UINT) {
            lastMessage_ = text;
            ++messages_;
            return IDOK;
        };
        shell.popupMenu = [this](HMENU menu, HWND) {
            ++menus_;
            if (!::IsMenu(menu)) ++problems_;
            const int answer = menuAnswer_;
            menuAnswer_ = 0;
            return answer;
        };
        shell.openFile = [this](HWND) { return fileAnswer_; };
        shell.input = [this](const std::string&, const std::string&, const std::string&) {
            return inputAnswer_;
        };
        shell.open = [](const std::string&) {};
        shell.run = [](const std::string&) {};
        shell.properties = [](const std::string&, HWND) { return INT_PTR(33); };
        MakeFiles();
    }
    ~Driver() {
        if (sizeBoxWindow_) ::DestroyWindow(sizeBoxWindow_);
    }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Things that went wrong that are not leaks (a list that did not refill, a refused menu...).
    int problems() const { return problems_; }
    int messages() const { return messages_; }
    const std::string& lastMessage() const { return lastMessage_; }

    // Hover moves over the caption buttons, the banner button, an empty spot of the banner and the
    // skinned category buttons; every move is painted at once and every fifth ends with a leave.
    void Hover(int transitions) {
        HWND window = app::MainWindow();
        const std::vector<POINT> spots = HoverSpots(window);
        for (int i = 0; i < transitions; ++i) {
            if (i % 4 == 3) {
                HoverPushButton(::GetDlgItem(window, app::kIdCategoryFirst + (i / 4) % app::kCategoryCount));
            } else {
                const POINT p = spots[static_cast<size_t>(i) % spots.size()];
                ::SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
                ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                if (i % 5 == 0) ::SendMessageA(window, WM_MOUSELEAVE, 0, 0);
            }
            if (i % 64 == 0) Pump();
        }
        ::SendMessageA(window, WM_MOUSELEAVE, 0, 0);
        Pump();
    }

    // Clicks the category buttons in turn; every category holds real files, so every switch
    // rebuilds the list with its shell icons.
    void SwitchCategories(int switches) {
        HWND window = app::MainWindow();
        for (int i = 0; i < switches; ++i) {
            const int k = i % app::kCategoryCount;
            ::SendMessageA(::GetDlgItem(window, app::kIdCategoryFirst + k), BM_CLICK, 0, 0);
            if (ListCount() != expectedCount_[k]) ++problems_;
            if (i % 16 == 0) Pump();
        }
        Pump();
    }

    // Skin changes through the skin menu: good pictures, a missing file, a text file, a picture
    // over the size cap, and "还原皮肤", which also ends the cycle so that the built-in picture is
    // shown again as before it.
    void ChangeSkins(int changes) {
        for (int i = 0; i < changes; ++i) {
            const size_t k = static_cast<size_t>(i) % (skinFiles_.size() + 1);
            if (k == skinFiles_.size()) {
                ChooseFromSkinMenu(app::kCmdRestoreSkin);
            } else {
                fileAnswer_ = skinFiles_[k];
                ChooseFromSkinMenu(app::kCmdChangeSkin);
            }
            if (i % 8 == 0) Pump();
        }
        ChooseFromSkinMenu(app::kCmdRestoreSkin);
        Pump();
    }

    // The list menu (by the list's right-click notification), the skin menu (by a click on its
    // caption button) and the tray menu (by the tray icon's message), in turn; now and then the list
    // menu's "刷新" is chosen.
    void OpenMenus(int opens) {
        HWND window = app::MainWindow();
        ShowCategoryWithItems();
        for (int i = 0; i < opens; ++i) {
            const int before = menus_;
            switch (i % 3) {
            case 0:
                SelectItem(0);
                if (i % 30 == 0) menuAnswer_ = app::kCmdRefresh;
                RightClickList();
                break;
            case 1: ChooseFromSkinMenu(0); break;
            default: ::SendMessageA(window, app::kTrayMessage, 0, WM_RBUTTONUP); break;
            }
            if (menus_ != before + 1) ++problems_;
            if (i % 32 == 0) Pump();
        }
        Pump();
    }

    // Resizes of a second skinned window with the size box, by SetWindowPos (the system sends
    // WM_SIZE) and by WM_SIZE sent directly (restored, minimized and maximized without a change of
    // size). Every 50 resizes a banner button with its own icon comes and goes; every 100 the
    // window is destroyed and made anew; at the end it is destroyed.
    void Resize(int resizes) {
        for (int i = 0; i < resizes; ++i) {
            if (i % 100 == 0) MakeSizeBoxWindow();
            HWND w = sizeBoxWindow_;
            if (i % 2 == 0) {
                const int width = 250 + (i * 37) % 200, height = 200 + (i * 53) % 150;
                ::SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            } else {
                RECT r{};
                ::GetWindowRect(w, &r);
                const LPARAM size = MAKELPARAM(r.right - r.left, r.bottom - r.top);
                const WPARAM kinds[] = {SIZE_RESTORED, SIZE_MINIMIZED, SIZE_MAXIMIZED};
                ::SendMessageA(w, WM_SIZE, kinds[(i / 2) % 3], size);
            }
            if (i % 50 == 25) {
                skin::TheSkinEngine.AddBannerButton(w, "临时", runtime::EmbeddedBytes(IDR_TOOLBOX_ICON));
                skin::TheSkinEngine.RemoveBannerButton(w, "临时");
            }
            if (i % 16 == 0) Pump();
        }
        if (sizeBoxWindow_) ::DestroyWindow(sizeBoxWindow_);
        sizeBoxWindow_ = nullptr;
        Pump();
    }

    // "TaskbarCreated" as the shell sends it when its taskbar comes back: the tray icon is added
    // again.
    void TaskbarCreated(int broadcasts) {
        HWND window = app::MainWindow();
        for (int i = 0; i < broadcasts; ++i) {
            ::SendMessageA(window, runtime::TrayIcon::TaskbarCreatedMessage(), 0, 0);
            if (i % 16 == 0) Pump();
        }
        Pump();
    }

    // A file dropped on the list, renamed through the list menu and the input box, then deleted
    // through the list menu.
    void RenameAndDelete(int cycles) {
        ShowCategoryWithItems();
        const int base = ListCount();
        for (int i = 0; i < cycles; ++i) {
            app::AddDroppedFiles({Wide(droppedFile_)});
            if (ListCount() != base + 1) ++problems_;
            SelectItem(base);
            inputAnswer_ = "改名" + std::to_string(i);
            menuAnswer_ = app::kCmdRename;
            RightClickList();
            SelectItem(base);
            menuAnswer_ = app::kCmdDelete;
            RightClickList();
            if (ListCount() != base) ++problems_;
            if (i % 8 == 0) Pump();
        }
        Pump();
    }

private:
    void MakeFiles() {
        app::SetStorePath(folder_ + "\\petrez.alss");
        char exe[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
        const std::string sub = folder_ + "\\子文件夹";
        ::CreateDirectoryA(sub.c_str(), nullptr);
        const std::string text = folder_ + "\\说明.txt", url = folder_ + "\\网站.url",
                          bat = folder_ + "\\运行.bat";
        WriteBytes(text, "soak");
        WriteBytes(url, "[InternetShortcut]\r\nURL=http://localhost/\r\n");
        WriteBytes(bat, "@echo off\r\n");
        const std::vector<std::string> entries[app::kCategoryCount] = {
            {exe, text, bat}, {bat, exe}, {folder_, sub}, {url, text}};
        for (int k = 0; k < app::kCategoryCount; ++k) {
            for (const std::string& path : entries[k]) app::AddEntry(app::kCategories[k], path);
            expectedCount_[k] = static_cast<int>(entries[k].size());
        }
        droppedFile_ = folder_ + "\\拖放.txt";
        WriteBytes(droppedFile_, "dropped");

        const std::string good = folder_ + "\\皮肤.bmp", jpeg = folder_ + "\\默认.jpg",
                          notPicture = folder_ + "\\不是图片.png", huge = folder_ + "\\超大.bmp";
        WriteBytes(good, Bmp(200, 150, RGB(30, 90, 150)));
        WriteBytes(jpeg, std::string(runtime::EmbeddedBytes(IDR_DEFAULT_SKIN)));
        WriteBytes(notPicture, "this is no picture");
        WriteBytes(huge, Bmp(8, 8, RGB(200, 10, 10), SIZE{5000, 5000}));
        skinFiles_ = {good, folder_ + "\\不存在.jpg", jpeg, notPicture, huge};
    }

    std::vector<POINT> HoverSpots(HWND window) const {
        std::vector<POINT> spots;
        if (const skin::WindowRecord* record = skin::FindWindowRecord(window)) {
            for (const auto& e : record->elements) {
                if (e->kind == skin::ElementStatus || !e->visible) continue;
                spots.push_back({e->x + e->width / 2, e->y + e->height / 2});
            }
        }
        spots.push_back({150, 50});  // the banner beside its button: no element
        return spots;
    }

    void HoverPushButton(HWND button) {
        ::SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        ::SendMessageA(button, WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
        ::UpdateWindow(button);
        ::SendMessageA(button, WM_MOUSELEAVE, 0, 0);
        ::UpdateWindow(button);
    }

    // Clicks the main-menu caption button with mouse messages and answers the menu with `command`.
    void ChooseFromSkinMenu(int command) {
        HWND window = app::MainWindow();
        const skin::WindowRecord* record = skin::FindWindowRecord(window);
        if (!record) {
            ++problems_;
            return;
        }
        for (const auto& e : record->elements) {
            if (e->kind != skin::ElementCaptionButton || e->buttonId != skin::ButtonMainMenu) continue;
            const LPARAM at = MAKELPARAM(e->x + e->width / 2, e->y + e->height / 2);
            menuAnswer_ = command;
            ::SendMessageA(window, WM_MOUSEMOVE, 0, at);
            ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::SendMessageA(window, WM_LBUTTONUP, 0, at);
            ::SendMessageA(window, WM_MOUSELEAVE, 0, 0);
            return;
        }
        ++problems_;
    }

    void ShowCategoryWithItems() {
        ::SendMessageA(::GetDlgItem(app::MainWindow(), app::kIdCategoryFirst), BM_CLICK, 0, 0);
    }

    static int ListCount() {
        return static_cast<int>(::SendMessageA(app::CategoryListControl(), LVM_GETITEMCOUNT, 0, 0));
    }

    static void SelectItem(int index) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(app::CategoryListControl(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item));
    }

    // The list view's right-click notification, as the list sends it to the main window.
    static void RightClickList() {
        NMITEMACTIVATE note = {};
        note.hdr.hwndFrom = app::CategoryListControl();
        note.hdr.idFrom = app::kIdList;
        note.hdr.code = static_cast<UINT>(NM_RCLICK);
        note.iItem = app::SelectedIndex();
        ::SendMessageA(app::MainWindow(), WM_NOTIFY, app::kIdList, reinterpret_cast<LPARAM>(&note));
    }

    void MakeSizeBoxWindow() {
        if (sizeBoxWindow_) ::DestroyWindow(sizeBoxWindow_);
        static const runtime::ControlDef kControls[] = {
            {runtime::ControlKind::Button, 1, "确定", 20, 100, 64, 24},
        };
        static const runtime::FormDef kForm = {
            "ToolboxSoakSizeBox",
            "尺寸框",
            420,
            120,
            300,
            260,
            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
            0,
            kControls,
            1};
        sizeBoxWindow_ = runtime::CreateForm(kForm, ::DefWindowProcA);
        if (!sizeBoxWindow_) {
            ++problems_;
            return;
        }
        skin::WindowSettings settings;
        settings.sizeBox = 1;
        skin::TheSkinEngine.RegisterWindow(sizeBoxWindow_, settings);
        skin::TheSkinEngine.AddBannerButton(sizeBoxWindow_, "工具", runtime::EmbeddedBytes(IDR_TOOLBOX_ICON));
        skin::TheSkinEngine.SetStatusText(sizeBoxWindow_, "尺寸框");
        ::ShowWindow(sizeBoxWindow_, SW_SHOWNOACTIVATE);
        ::UpdateWindow(sizeBoxWindow_);
    }

    std::string folder_;
    runtime::ShellOverride override_;
    std::vector<std::string> skinFiles_;
    std::string droppedFile_;
    int expectedCount_[app::kCategoryCount] = {};
    HWND sizeBoxWindow_ = nullptr;
    int menuAnswer_ = 0;
    std::optional<std::string> fileAnswer_;
    std::optional<std::string> inputAnswer_;
    int menus_ = 0;
    int messages_ = 0;
    int problems_ = 0;
    std::string lastMessage_;
};

// One kind of cycle: its name, how many runs the long soak makes, how many the short run in the
// tests makes (enough to pass every branch of the cycle once), and the work.
struct Cycle {
    const char* name;
    int runs;
    int testRuns;
    void (Driver::*run)(int);
};

inline constexpr Cycle kCycles[] = {
    {"hover", 10000, 200, &Driver::Hover},
    {"category switch", 500, 12, &Driver::SwitchCategories},
    {"skin change", 200, 12, &Driver::ChangeSkins},
    {"menu open", 1000, 31, &Driver::OpenMenus},
    {"size-box resize", 1000, 60, &Driver::Resize},
    {"TaskbarCreated", 100, 5, &Driver::TaskbarCreated},
    {"rename + delete", 100, 4, &Driver::RenameAndDelete},
};

}  // namespace soak
