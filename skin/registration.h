// Putting a top-level window under the skin engine: its settings, caption buttons, status line,
// record in the registry, frame procedure and first render.
#pragma once

#include <windows.h>

#include <optional>

namespace skin {

// The optional settings of a registration; an empty one takes its default.
struct WindowSettings {
    std::optional<int> bannerHeight{};    // 80; below 26 becomes 26
    std::optional<int> statusHeight{};    // 26; 0 or less: no status line
    std::optional<int> minimizeBox{};     // from WS_MINIMIZEBOX
    std::optional<int> maximizeBox{};     // from WS_MAXIMIZEBOX and an enabled SC_MAXIMIZE menu item
    std::optional<int> helpButton{};      // off
    std::optional<int> mainMenuButton{};  // off
    std::optional<int> sizeBox{};         // off
    std::optional<int> minWidth{};        // 150
    std::optional<int> minHeight{};       // 100
};

constexpr int kDefaultBannerHeight = 80;
constexpr int kMinimumBannerHeight = 26;
constexpr int kDefaultStatusHeight = 26;
constexpr int kDefaultMinWidth = 150;
constexpr int kDefaultMinHeight = 100;

// Takes the window over, or on a second call updates its banner and status heights and renders
// again. Returns 1, or 0 (changing nothing) when `hwnd` is not a window.
int RegisterWindow(HWND hwnd, const WindowSettings& settings = {});

}  // namespace skin
