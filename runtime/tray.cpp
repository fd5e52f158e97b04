#include "runtime/tray.h"

#include <shellapi.h>

#include <cstring>

namespace runtime {

namespace {

constexpr UINT kTrayId = 1;

void CopyText(char* dest, size_t size, const std::string& text) {
    std::strncpy(dest, text.c_str(), size - 1);
    dest[size - 1] = '\0';
}

}  // namespace

NOTIFYICONDATAA TrayIcon::BaseData() const {
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = owner_;
    data.uID = kTrayId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callback_;
    data.hIcon = icon_;
    CopyText(data.szTip, sizeof(data.szTip), tip_);
    return data;
}

bool TrayIcon::Show(HWND owner, UINT callbackMessage, HICON icon, const std::string& tip) {
    owner_ = owner;
    callback_ = callbackMessage;
    icon_ = icon;
    tip_ = tip;
    NOTIFYICONDATAA data = BaseData();
    visible_ = ::Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
    if (!visible_) visible_ = ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;  // still there
    return visible_;
}

void TrayIcon::Remove() {
    if (!visible_) return;
    NOTIFYICONDATAA data = BaseData();
    ::Shell_NotifyIconA(NIM_DELETE, &data);
    visible_ = false;
}

bool TrayIcon::ShowBalloon(const std::string& title, const std::string& text, int iconKind, UINT timeoutMs) {
    NOTIFYICONDATAA data = BaseData();
    data.uVersion = 3;
    ::Shell_NotifyIconA(NIM_SETVERSION, &data);
    data = BaseData();
    data.uFlags = NIF_INFO;
    CopyText(data.szInfoTitle, sizeof(data.szInfoTitle), title);
    CopyText(data.szInfo, sizeof(data.szInfo), text);
    data.dwInfoFlags = (iconKind < 0 || iconKind > 3) ? 1 : static_cast<DWORD>(iconKind);
    data.uTimeout = timeoutMs;
    const bool shown = ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    data = BaseData();
    ::Shell_NotifyIconA(NIM_MODIFY, &data);
    return shown;
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

}  // namespace runtime
