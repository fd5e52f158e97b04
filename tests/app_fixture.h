// The toolbox's main window loaded once in a test process, with the start-up's messages answered
// and recorded, and helpers to read the list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/category_list.h"
#include "app/main_window.h"
#include "app/skin_setup.h"
#include "runtime/shell.h"

namespace test {

struct LoadedToolbox {
    std::vector<std::string> messages;  // texts of the message boxes start-up showed
    HWND window = nullptr;
};

inline LoadedToolbox& MainWindowOnce() {
    static LoadedToolbox loaded = [] {
        LoadedToolbox l;
        static std::vector<std::string>* sink = &l.messages;
        runtime::Shell saved = runtime::TheShell();
        runtime::TheShell().message = [](const std::string& text, const std::string&, UINT) {
            sink->push_back(text);
            return IDOK;
        };
        app::StartSkinEngine();
        l.window = app::LoadMainWindow();
        runtime::TheShell() = saved;
        return l;
    }();
    return loaded;
}

inline std::vector<std::string> ListCaptions() {
    HWND list = app::CategoryListControl();
    std::vector<std::string> captions;
    const int n = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char text[260] = "";
        LVITEMA item = {};
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        captions.push_back(text);
    }
    return captions;
}

inline void SelectListItem(int index) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(app::CategoryListControl(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item));
}

}  // namespace test
