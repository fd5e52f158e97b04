#include "app/item_commands.h"

#include <commctrl.h>

#include "app/category_list.h"
#include "app/main_window.h"
#include "app/skin_setup.h"
#include "app/store.h"
#include "runtime/shell.h"

namespace app {

namespace {

constexpr char kRenamePrompt[] = "请输入要修改的文件名";
constexpr char kDuplicateName[] = "对不起有重复名称！";
constexpr char kNoticeTitle[] = "TAVEN桌面工具箱V2.0";
constexpr char kUnsavableName[] = "对不起，该文件的路径含有本程序无法保存的字符，未能添加。";

void Notify(const char* text) { runtime::MessageBox(text, kNoticeTitle, MB_TOPMOST); }

void NotifyStatus(StoreStatus status) {
    if (const char* text = StoreStatusMessage(status)) Notify(text);
}

// The selected entry of the current category, or nothing when the category is empty or no
// entry is selected.
struct Selection {
    int index;
    std::string path;
};
bool SelectedEntry(Selection* out) {
    const std::string value = ReadCategory(CurrentCategory());
    if (value.empty()) return false;
    const int index = SelectedIndex();
    const std::vector<std::string> entries = SplitItems(value);
    if (index < 0 || index >= static_cast<int>(entries.size())) return false;
    const std::vector<std::string> pieces = SplitEntry(entries[static_cast<size_t>(index)]);
    *out = {index, pieces.empty() ? std::string() : pieces[0]};
    return true;
}

// UTF-16 to the ANSI code page, only when every character survives the round trip.
bool ToAnsiExactly(const std::wstring& wide, std::string* out) {
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr,
                                        &usedDefault);
    if (n <= 0 || usedDefault) return false;
    std::string ansi(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, ansi.data(), n, nullptr,
                          &usedDefault);
    ansi.resize(static_cast<size_t>(n - 1));
    const int back = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.c_str(), -1, nullptr, 0);
    std::wstring roundTrip(static_cast<size_t>(back > 0 ? back : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.c_str(), -1, roundTrip.data(), back);
    roundTrip.resize(static_cast<size_t>(back > 0 ? back - 1 : 0));
    if (usedDefault || roundTrip != wide) return false;
    *out = ansi;
    return true;
}

// A dropped path as the store keeps it: the ANSI path, or its short 8.3 form when the long one
// has characters outside the code page. A path with "?" in place of a character would point
// nowhere, so there is no third way.
bool StorablePath(const std::wstring& wide, std::string* out) {
    if (ToAnsiExactly(wide, out)) return true;
    const DWORD n = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (n == 0) return false;
    std::wstring shortPath(n, L'\0');
    shortPath.resize(::GetShortPathNameW(wide.c_str(), shortPath.data(), n));
    return !shortPath.empty() && shortPath != wide && ToAnsiExactly(shortPath, out);
}

}  // namespace

int SelectedIndex() {
    HWND list = CategoryListControl();
    if (!list) return -1;
    return static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void OpenSelectedItem() {
    Selection s;
    if (SelectedEntry(&s)) runtime::TheShell().open(s.path);
}

void LocateSelectedItem() {
    Selection s;
    if (SelectedEntry(&s)) LocateInExplorer(s.path);
}

void ShowSelectedItemProperties() {
    Selection s;
    if (SelectedEntry(&s)) ShowFileProperties(s.path, MainWindow());
}

void LocateInExplorer(const std::string& path) {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    std::string command = windows;
    if (command.empty() || command.back() != '\\') command += '\\';
    runtime::TheShell().run(command + "explorer.exe /select," + path);
}

INT_PTR ShowFileProperties(const std::string& path, HWND owner) {
    return runtime::TheShell().properties(path, owner);
}

void RenameSelectedItem() {
    Selection s;
    if (!SelectedEntry(&s)) return;
    const std::optional<std::string> name =
        runtime::TheShell().input(kRenamePrompt, kRenamePrompt, kRenamePrompt);
    if (!name) return;
    const StoreStatus status = RenameEntry(CurrentCategory(), s.index, *name);
    if (status == StoreStatus::Duplicate) {
        runtime::MessageBox(kDuplicateName, kDuplicateName, MB_TOPMOST);
        return;
    }
    if (status != StoreStatus::Done) {
        NotifyStatus(status);
        return;
    }
    FillCategoryList();
}

void DeleteSelectedItem() {
    Selection s;
    if (!SelectedEntry(&s)) return;
    const int count = static_cast<int>(::SendMessageA(CategoryListControl(), LVM_GETITEMCOUNT, 0, 0));
    const StoreStatus status = DeleteEntry(CurrentCategory(), s.index, count);
    if (status != StoreStatus::Done) NotifyStatus(status);
    FillCategoryList();
}

void ShowListMenu() {
    const std::string value = ReadCategory(CurrentCategory());
    if (!value.empty()) {
        const int n = static_cast<int>(SplitItems(value).size());
        const int index = SelectedIndex();
        if (index >= 0 && index < n) PopUpFormMenu(FormMenu::List);
    }
    ReskinAfterListMenu();
}

void AddDroppedFile(const std::string& path) {
    const StoreStatus status = AddEntry(CurrentCategory(), path);
    if (status != StoreStatus::Done && status != StoreStatus::AlreadyThere) NotifyStatus(status);
    FillCategoryList();
}

void AddDroppedFiles(const std::vector<std::wstring>& paths) {
    for (const std::wstring& wide : paths) {
        std::string path;
        if (!StorablePath(wide, &path)) {
            Notify(kUnsavableName);
            continue;
        }
        const StoreStatus status = AddEntry(CurrentCategory(), path);
        if (status != StoreStatus::Done && status != StoreStatus::AlreadyThere) NotifyStatus(status);
    }
    FillCategoryList();
}

}  // namespace app
