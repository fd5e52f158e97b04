// Where every piece of the two built-in sheets lies: the frame-element sheet (caption glyphs,
// banner-button frames, border, gloss, status overlay, size grip) and the control sheet (push-button,
// check-box and radio cells). Pure geometry, free of windows.h.
#pragma once

#include <array>
#include <optional>

namespace skin {

// A rectangle as (x, y, width, height) in pixels.
struct SheetRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
constexpr bool operator==(const SheetRect& a, const SheetRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
constexpr bool operator!=(const SheetRect& a, const SheetRect& b) { return !(a == b); }

// --- Element sheet --------------------------------------------------------------------------------

// Fixed pieces. The gloss is drawn to (0, 0, W, 90), the status overlay to (2, H - S - 3, W - 4, S)
// and the grip to (W - 14, H - 14, 12, 12).
constexpr SheetRect kBannerGloss{0, 0, 150, 90};
constexpr SheetRect kStatusOverlay{180, 0, 20, 26};
constexpr SheetRect kSizeGrip{180, 26, 12, 12};
constexpr SheetRect kBorderFrame{0, 90, 60, 52};
constexpr SheetRect kHoverFrame{60, 90, 60, 52};
constexpr SheetRect kPressedFrame{120, 90, 60, 52};
constexpr int kBorderMargin = 5;

// Caption-button glyphs: one column per button id, one row per state.
struct GlyphCell {
    int buttonId;
    int x;
    int width;
};
constexpr GlyphCell kGlyphCells[] = {{1, 162, 40}, {2, 135, 27}, {3, 108, 27}, {4, 81, 27},
                                     {5, 54, 27},  {6, 27, 27},  {7, 0, 27}};
constexpr int kGlyphHeight = 19;
constexpr int kGlyphRowNormal = 145;
constexpr int kGlyphRowHover = 165;
constexpr int kGlyphRowPressed = 185;

// Source of a caption button's glyph; an unknown id gets the help glyph (id 7), pressed wins over
// hovered.
SheetRect CaptionButtonSource(int buttonId, bool pressed, bool hovered);

// Source of a banner button's frame, cut at the element's own size: the pressed frame when pressed
// or selected, else the hover frame when hovered, else none (only icon and caption are drawn).
std::optional<SheetRect> BannerButtonFrame(bool pressed, bool selected, bool hovered, int width, int height);

// The eight pieces of the window border, corners 1:1 and edges stretched, for a W x H window.
struct BorderPiece {
    SheetRect source;
    SheetRect destination;
};
std::array<BorderPiece, 8> BorderPieces(int windowWidth, int windowHeight);

// --- Control sheet --------------------------------------------------------------------------------

// Painter types of skinned controls (the Nimbo_WindowType property).
enum ControlType : int { ControlPushButton = 5, ControlCheckBox = 6, ControlRadioButton = 7 };
// The control's own mouse state (the Nimbo_DrawState property).
enum DrawState : int { DrawNormal = 0, DrawHover = 1, DrawPressed = 2 };

constexpr SheetRect kPushButtonCell{0, 0, 40, 23};
constexpr SheetRect kCheckBoxCell{0, 25, 15, 15};
constexpr SheetRect kRadioButtonCell{0, 40, 15, 15};
constexpr int kControlCellMargin = 5;              // nine-grid margin of the push-button cell
constexpr unsigned kControlSheetKey = 0x00FF00FF;  // magenta: transparent in check/radio cells

// The control-sheet cell for a control: a disabled control takes the disabled cell whatever its
// draw state; the checked cells exist for check boxes and radio buttons only. Any type other than
// check box or radio button is painted as a push button.
SheetRect ControlCell(int controlType, bool checked, int drawState, bool enabled);

}  // namespace skin
