// The skin engine's public face: one object whose operations load skin pictures, set colours,
// register windows, add and select banner buttons, set the status text and store the click hooks.
// It has no state of its own; every operation works on the engine's module-wide state.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "skin/gdiplus.h"
#include "skin/registration.h"
#include "skin/registry.h"

namespace skin {

class SkinEngine {
public:
    // Passing this to SetFaceColor means the system's button-face colour.
    static constexpr COLORREF kSystemFaceColor = 0xFFFFFFFF;

    SkinEngine() = default;
    ~SkinEngine() = default;  // destroying the object undoes nothing
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // The operations, in the order of the engine's operation table.
    int LoadSkinFromBytes(std::string_view bytes);
    int LoadSkinFromFile(const std::string& path);
    void ApplySkinImage();
    COLORREF SampleImageColor(GpImage* image);
    int SetSkinColor(COLORREF color);
    int RegisterWindow(HWND hwnd, const WindowSettings& settings = {});
    void SkinAllControls();
    void RedrawAll();
    void SetStatusText(HWND hwnd, const std::string& text);
    // `icon`: an .ico file's bytes (its first image), exactly 4 bytes holding an icon handle, or
    // nothing for the document icon. An icon made from bytes belongs to the button and is
    // destroyed with it; a handle passed in stays the caller's.
    int AddBannerButton(HWND hwnd, const std::string& caption, std::string_view icon,
                        std::optional<HWND> child = std::nullopt,
                        std::optional<ElementHook> click = std::nullopt);
    int SelectBannerButton(HWND hwnd, const std::string& caption);
    int RemoveBannerButton(HWND hwnd, const std::string& caption);
    int AddElement(WindowRecord& record, int kind, int buttonId, int x, int y, int width, int height,
                   const std::string& text, std::optional<HICON> icon = std::nullopt);
    void SetHelpClickHook(HWND hwnd, ElementHook routine);
    void SetMainMenuClickHook(HWND hwnd, ElementHook routine);
    int EnableSizeBox(HWND hwnd, std::optional<int> minWidth = std::nullopt,
                      std::optional<int> minHeight = std::nullopt);
    void SetFaceColor(COLORREF color);
    COLORREF GetFaceColor() const;
};

extern SkinEngine TheSkinEngine;

}  // namespace skin
