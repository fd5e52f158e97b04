#include "runtime/shell.h"

#include <shellapi.h>
#include <commdlg.h>

#include "runtime/input_box.h"

namespace runtime {

namespace {

int RealMessage(const std::string& text, const std::string& title, UINT flags) {
    if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
    return ::MessageBoxA(nullptr, text.c_str(), title.c_str(), flags);
}

std::optional<std::string> RealOpenFile(HWND owner) {
    char path[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!::GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(path);
}

int RealPopupMenu(HMENU menu, HWND owner) {
    POINT cursor;
    ::GetCursorPos(&cursor);
    // The owner must be foreground for the menu to close when the user clicks elsewhere.
    ::SetForegroundWindow(owner);
    const int id = static_cast<int>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                     cursor.x, cursor.y, 0, owner, nullptr));
    ::PostMessageA(owner, WM_NULL, 0, 0);
    return id;
}

void RealOpen(const std::string& path) {
    ::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, "", SW_SHOWNORMAL);
}

void RealRun(const std::string& commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    std::string buffer = commandLine;  // CreateProcessA may write into the command line
    if (::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
        ::WaitForInputIdle(process.hProcess, 1000);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

INT_PTR RealProperties(const std::string& path, HWND owner) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = "properties";
    info.lpFile = path.c_str();
    info.lpParameters = "";
    info.lpDirectory = "";
    info.nShow = 0;
    ::ShellExecuteExA(&info);
    if (info.hProcess) ::CloseHandle(info.hProcess);
    return reinterpret_cast<INT_PTR>(info.hInstApp);
}

}  // namespace

Shell& TheShell() {
    static Shell shell{RealMessage, ShowInputBox, RealOpenFile,  RealPopupMenu,
                       RealOpen,    RealRun,      RealProperties};
    return shell;
}

int MessageBox(const std::string& text, const std::string& title, UINT flags) {
    return TheShell().message(text, title, flags);
}

bool FileDialog::Show(HWND owner) {
    std::optional<std::string> chosen = TheShell().openFile(owner);
    if (!chosen) return false;
    fileName_ = *chosen;
    return true;
}

int PopupMenu(HMENU menu, HWND owner) { return TheShell().popupMenu(menu, owner); }

}  // namespace runtime
