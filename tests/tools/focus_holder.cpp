// A program the user is typing in: shows a window with an edit field, takes the foreground and
// the keyboard focus, and runs until it is ended. Tests check that the toolbox never takes them.
#include <windows.h>

int main() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "FocusHolder";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowExA(0, "FocusHolder", "focus holder", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700,
                                    500, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    HWND edit = ::CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, window,
                                  nullptr, wc.hInstance, nullptr);
    ::SetForegroundWindow(window);
    ::SetFocus(edit);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
