// Side-by-side timings of the skinned frame in one run: a full frame render of a 317 x 427 window,
// the redraw of one caption button (what hover and press cost), and one full-window blit (what
// WM_PAINT and WM_ERASEBKGND cost), printed with their ratios.
#include <windows.h>

#include <cstdio>

#include "skin/frame_render.h"
#include "skin/registration.h"
#include "skin/registry.h"
#include "skin/resources.h"

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Microseconds per call of `work`, over `rounds` calls after a few warm-up calls.
template <class Work>
double MicrosPerCall(int rounds, Work work) {
    for (int i = 0; i < 5; ++i) work(i);
    const double start = Now();
    for (int i = 0; i < rounds; ++i) work(i);
    return (Now() - start) * 1e6 / rounds;
}

}  // namespace

int main() {
    skin::SkinModuleStartup();
    HWND hwnd = ::CreateWindowExA(0, "STATIC", "TAVEN桌面工具箱V2.0", WS_POPUP | WS_VISIBLE, 100, 100, 317, 427,
                                  nullptr, nullptr, nullptr, nullptr);
    skin::RegisterWindow(hwnd, {120, 20, 0, 0, 0, 1});
    HDC cache = skin::ReadHandleProp<HDC>(hwnd, skin::prop::kCacheDc);
    skin::WindowRecord* record = skin::FindWindowRecord(hwnd);

    const double render = MicrosPerCall(200, [&](int) { skin::RenderFrame(hwnd, true); });
    const double element = MicrosPerCall(2000, [&](int i) {
        record->Element(1)->hovered = (i % 2) == 0;  // the close button, alternating hover look
        skin::RedrawElement(hwnd, 1);
    });
    HDC window = ::GetDC(hwnd);
    const double blit = MicrosPerCall(2000, [&](int) { ::BitBlt(window, 0, 0, 317, 427, cache, 0, 0, SRCCOPY); });
    ::ReleaseDC(hwnd, window);
    const double unchanged = MicrosPerCall(20000, [&](int) { skin::RenderFrame(hwnd, false); });

    std::printf("frame of 317 x 427, one run\n");
    std::printf("  RenderFrame (full, forced)      %9.1f us\n", render);
    std::printf("  RedrawElement (caption button)  %9.1f us\n", element);
    std::printf("  BitBlt of the whole window      %9.1f us\n", blit);
    std::printf("  RenderFrame (unchanged size)    %9.2f us\n", unchanged);
    std::printf("ratios\n");
    std::printf("  render / element redraw  %7.1f\n", render / element);
    std::printf("  render / window blit     %7.1f\n", render / blit);
    std::printf("  element redraw / blit    %7.2f\n", element / blit);
    ::DestroyWindow(hwnd);
    return 0;
}
