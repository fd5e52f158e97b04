// A notification-area icon owned by a window: add, delete, balloon, and re-adding after the
// taskbar was re-created ("TaskbarCreated").
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace runtime {

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon; mouse events arrive at `owner` as `callbackMessage` with the mouse message
    // in lParam. Calling it again (after "TaskbarCreated") adds the icon anew.
    bool Show(HWND owner, UINT callbackMessage, HICON icon, const std::string& tip);
    void Remove();
    bool visible() const { return visible_; }

    // Balloon: version 3, then NIF_INFO with title, text, icon kind (outside 0..3 becomes 1) and
    // time-out; afterwards the flags go back to tip, icon and message.
    bool ShowBalloon(const std::string& title, const std::string& text, int iconKind, UINT timeoutMs);

    // The registered "TaskbarCreated" message.
    static UINT TaskbarCreatedMessage();

private:
    NOTIFYICONDATAA BaseData() const;

    HWND owner_ = nullptr;
    UINT callback_ = 0;
    HICON icon_ = nullptr;
    std::string tip_;
    bool visible_ = false;
};

}  // namespace runtime
