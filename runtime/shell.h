// The one seam between the toolbox and everything that waits on a person or leaves the process:
// message box, input box, open-file dialog, pop-up menu, shell open, Explorer, properties.
// The real implementations are one call each; tests install answers with ShellOverride.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace runtime {

struct Shell {
    // MessageBoxA without owner; MB_TASKMODAL is added unless MB_SYSTEMMODAL is given.
    std::function<int(const std::string& text, const std::string& title, UINT flags)> message;
    // Modal input box; the entered text on OK, nothing on cancel.
    std::function<std::optional<std::string>(const std::string& prompt, const std::string& title,
                                             const std::string& initial)>
        input;
    // Open-file dialog; the chosen full path on OK, nothing on cancel.
    std::function<std::optional<std::string>(HWND owner)> openFile;
    // Pop-up menu at the cursor; the chosen command id, 0 when dismissed.
    std::function<int(HMENU menu, HWND owner)> popupMenu;
    // ShellExecuteA "open" with no owner, no parameters, directory "" and SW_SHOWNORMAL.
    std::function<void(const std::string& path)> open;
    // CreateProcessA shown normally; waits up to 1000 ms for input idle.
    std::function<void(const std::string& commandLine)> run;
    // ShellExecuteExA "properties"; returns hInstApp.
    std::function<INT_PTR(const std::string& path, HWND owner)> properties;
};

// The shell in use: the real one unless a test replaced parts of it.
Shell& TheShell();

// Installs a test's answers for the lifetime of the object and restores the previous ones.
class ShellOverride {
public:
    ShellOverride() : saved_(TheShell()) {}
    ~ShellOverride() { TheShell() = saved_; }
    ShellOverride(const ShellOverride&) = delete;
    ShellOverride& operator=(const ShellOverride&) = delete;
    Shell& shell() { return TheShell(); }

private:
    Shell saved_;
};

// The run time's message box: default title "信息：".
int MessageBox(const std::string& text, const std::string& title = "信息：", UINT flags = 0);

// The open-file dialog control: its file-name property keeps the last chosen path; a cancel
// leaves it as it was (empty until a file was once chosen).
class FileDialog {
public:
    bool Show(HWND owner);
    const std::string& fileName() const { return fileName_; }

private:
    std::string fileName_;
};

// Pops up `menu` at the cursor through the seam and returns the chosen command id (0: none).
int PopupMenu(HMENU menu, HWND owner);

}  // namespace runtime
