// The smallest Win32 program with a window: one class, one 317 x 427 window at (50, 50) that paints
// a face, a title band and a text with plain GDI, and a message loop. The bench starts it beside the
// toolbox to measure what start-up costs under the same Wine; WM_CLOSE ends it.
#include <windows.h>

namespace {

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    RECT all;
    ::GetClientRect(hwnd, &all);
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    RECT band = {0, 0, all.right, 120};
    HBRUSH blue = ::CreateSolidBrush(RGB(0x33, 0x66, 0x99));
    ::FillRect(dc, &band, blue);
    ::DeleteObject(blue);
    ::SetBkMode(dc, TRANSPARENT);
    ::TextOutA(dc, 8, 8, "bare window", 11);
    ::EndPaint(hwnd, &ps);
}

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "BareWindow";
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowExA(0, wc.lpszClassName, "bare window", WS_POPUP | WS_SYSMENU, 50, 50, 317,
                                    427, nullptr, nullptr, wc.hInstance, nullptr);
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
