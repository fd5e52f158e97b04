// The list fill against the bare shell work it cannot avoid: FillCategoryList of a category of 300
// real entries (files, folders, web shortcuts, missing targets) against SHGetFileInfoA and
// ImageList_Draw of the same 300 paths into a 32 x 32 DC, alternated in one run.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/category_list.h"
#include "app/store.h"
#include "tools/bench/bench_support.h"

namespace bench {

namespace {

constexpr int kEntries = 300;
constexpr int kRounds = 7;

// Every fourth entry of each kind: a text file, a folder, a web shortcut, a target that is gone.
std::vector<std::string> MakeTargets(const std::string& folder) {
    std::vector<std::string> paths;
    for (int i = 0; i < kEntries; ++i) {
        const std::string stem = folder + "\\e" + std::to_string(i);
        switch (i % 4) {
        case 0:
            WriteFileText(stem + ".txt", "text");
            paths.push_back(stem + ".txt");
            break;
        case 1:
            ::CreateDirectoryA(stem.c_str(), nullptr);
            paths.push_back(stem);
            break;
        case 2:
            WriteFileText(stem + ".url", "[InternetShortcut]\r\nURL=http://example.com/\r\n");
            paths.push_back(stem + ".url");
            break;
        default: paths.push_back(stem + ".gone"); break;
        }
    }
    return paths;
}

std::string ItemList(const std::vector<std::string>& paths) {
    std::string value;
    for (const std::string& path : paths) {
        if (!value.empty()) value += "&@&";
        value += app::MakeEntry(path);
    }
    return value;
}

// The bare work: the shell's icon of each path drawn into a 32 x 32 memory DC.
void DrawBareIcons(const std::vector<std::string>& paths, HDC dc) {
    for (const std::string& path : paths) {
        SHFILEINFOA info = {};
        const auto images = reinterpret_cast<HIMAGELIST>(
            ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SHELLICONSIZE));
        if (images) ::ImageList_Draw(images, info.iIcon, dc, 0, 0, ILD_TRANSPARENT);
    }
}

HWND CreateListWindow(HWND* list) {
    HWND parent = ::CreateWindowExA(0, "STATIC", "list bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 400,
                                    100, 184, 248, nullptr, nullptr, nullptr, nullptr);
    *list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON, 0, 0, 184, 248, parent,
                              nullptr, nullptr, nullptr);
    return parent;
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

}  // namespace

void RunListBench() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    // A short folder: the 300 entries must stay within what one profile read returns (10239 bytes).
    TempFolder folder("C:\\tbb");
    const std::vector<std::string> paths = MakeTargets(folder.path());
    app::SetStorePath(folder.path() + "\\petrez.alss");
    app::CurrentCategory() = app::kCategories[0];
    app::WriteCategory(app::CurrentCategory(), ItemList(paths));

    HWND list = nullptr;
    HWND parent = CreateListWindow(&list);
    app::SetCategoryListControl(list);
    app::LoadIconCanvasWindow();
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::ReleaseDC(nullptr, screen);

    // Alternated rounds, so that a busy machine slows both sides alike; the list's own paint after
    // the fill counts with the fill.
    std::vector<double> fills, bares;
    for (int round = 0; round < kRounds; ++round) {
        double start = Now();
        app::FillCategoryList();
        ::UpdateWindow(list);
        fills.push_back(Now() - start);
        Pump();
        start = Now();
        DrawBareIcons(paths, dc);
        bares.push_back(Now() - start);
    }
    const int items = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));

    const double fill = Median(fills) * 1e3, bare = Median(bares) * 1e3;
    std::printf("list fill: %d entries (%d in the list), median of %d rounds\n", kEntries, items, kRounds);
    std::printf("  FillCategoryList and the list's paint    %9.1f ms\n", fill);
    std::printf("  shell icon lookup and draw, bare         %9.1f ms\n", bare);
    PrintGoal({"FillCategoryList / bare icon work", fill / bare, 1.3, "x"});

    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::DestroyWindow(app::IconCanvasWindow());
    ::DestroyWindow(parent);
}

}  // namespace bench
