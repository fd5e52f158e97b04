// Hover feedback against a full frame: the main window as the toolbox sets it up (banner 120, status
// 20, close and main-menu buttons, the built-in skin picture, the banner button with the toolbox
// icon), one forced RenderFrame against one RedrawElement of the close button, with the redraw's
// steps timed one by one beside them.
#include <cstdio>
#include <vector>

#include "app/skin_setup.h"
#include "resources/resource_ids.h"
#include "runtime/embedded.h"
#include "skin/engine.h"
#include "skin/frame_render.h"
#include "skin/registration.h"
#include "skin/registry.h"
#include "skin/resources.h"
#include "tools/bench/bench_support.h"

namespace bench {

namespace {

constexpr int kCloseButton = 1;  // the first element of a registered window

HWND CreateMainLikeWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchFrameWindow";
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    ::RegisterClassA(&wc);
    HWND hwnd = ::CreateWindowExA(0, wc.lpszClassName, "TAVEN桌面工具箱V2.0",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 100, 100, 317,
                                  427, nullptr, nullptr, wc.hInstance, nullptr);
    HWND child =
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 48, 56, 184, 248, hwnd, nullptr, nullptr, nullptr);
    skin::SkinEngine& engine = skin::TheSkinEngine;
    engine.SetFaceColor(app::kMainFaceColor);
    engine.RegisterWindow(hwnd, app::MainWindowSkinSettings());
    engine.AddBannerButton(hwnd, app::kMainBannerCaption, runtime::EmbeddedBytes(IDR_TOOLBOX_ICON), child);
    engine.SelectBannerButton(hwnd, app::kMainBannerCaption);
    engine.SetStatusText(hwnd, app::kMainStatusText);
    engine.LoadSkinFromBytes(runtime::EmbeddedBytes(IDR_DEFAULT_SKIN));
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd);
    return hwnd;
}

}  // namespace

void RunFrameBench() {
    using namespace Gdiplus::DllExports;
    skin::SkinModuleStartup();
    HWND hwnd = CreateMainLikeWindow();
    HDC cache = skin::ReadHandleProp<HDC>(hwnd, skin::prop::kCacheDc);
    HDC back = skin::ReadHandleProp<HDC>(hwnd, skin::prop::kBackDc);
    skin::DuiElement* close = skin::FindWindowRecord(hwnd)->Element(kCloseButton);
    const int x = close->x, y = close->y, w = close->width, h = close->height;

    // Alternated blocks, so that a busy machine slows both sides alike; the medians are reported.
    std::vector<double> renders, elements;
    for (int block = 0; block < 9; ++block) {
        renders.push_back(MicrosPerCall(15, [&](int) { skin::RenderFrame(hwnd, true); }));
        elements.push_back(MicrosPerCall(150, [&](int i) {
            close->hovered = (i % 2) == 0;  // alternating hover look, as the mouse enters and leaves
            skin::RedrawElement(hwnd, kCloseButton);
        }));
    }
    const double render = Median(renders), element = Median(elements);
    // The steps of one redraw, for finding where its time goes.
    const double restore =
        MicrosPerCall(1000, [&](int) { ::BitBlt(cache, x, y, w, h, back, x, y, SRCCOPY); });
    const auto frameGraphics = [&] {
        skin::GpGraphicsPtr g = skin::GraphicsOnDc(cache);
        GdipSetInterpolationMode(g.get(), Gdiplus::InterpolationModeNearestNeighbor);
        GdipSetPixelOffsetMode(g.get(), Gdiplus::PixelOffsetModeHalf);
        GdipSetTextRenderingHint(g.get(), Gdiplus::TextRenderingHintAntiAlias);
        return g;
    };
    const auto drawClose = [&](skin::GpGraphics* g, int i) {
        close->hovered = (i % 2) == 0;
        skin::DrawElement(*close, cache, g);
        GdipFlush(g, Gdiplus::FlushIntentionSync);
    };
    const double fresh = MicrosPerCall(1000, [&](int i) { drawClose(frameGraphics().get(), i); });
    skin::GpGraphicsPtr kept = frameGraphics();
    const double draw = MicrosPerCall(1000, [&](int i) { drawClose(kept.get(), i); });
    kept.reset();
    const double property = MicrosPerCall(1000, [&](int) { skin::ReadIntProp(hwnd, skin::prop::kDuiIndex); });
    const double windowDc = MicrosPerCall(1000, [&](int) { ::ReleaseDC(hwnd, ::GetDC(hwnd)); });
    HDC window = ::GetDC(hwnd);
    const double show = MicrosPerCall(1000, [&](int) { ::BitBlt(window, x, y, w, h, cache, x, y, SRCCOPY); });
    ::ReleaseDC(hwnd, window);

    std::printf("hover feedback: main window 317 x 427, built-in skin picture, one run\n");
    std::printf("  RenderFrame (full, forced)           %9.1f us\n", render);
    std::printf("  RedrawElement (close button)         %9.1f us\n", element);
    std::printf("    restore from the back copy         %9.1f us\n", restore);
    std::printf("    button drawn on a new GDI+ graphics %8.1f us\n", fresh);
    std::printf("    button drawn on a kept graphics    %9.1f us\n", draw);
    std::printf("    one window property read           %9.1f us\n", property);
    std::printf("    GetDC + ReleaseDC of the window    %9.1f us\n", windowDc);
    std::printf("    blit of the button to the window   %9.1f us\n", show);
    PrintGoal({"RedrawElement / RenderFrame", 100.0 * element / render, 3.0, "%"});
    ::DestroyWindow(hwnd);
}

}  // namespace bench
