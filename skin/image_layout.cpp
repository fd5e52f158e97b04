// Slice maps of the element sheet and the control sheet.
#include "skin/image_layout.h"

namespace skin {

SheetRect CaptionButtonSource(int buttonId, bool pressed, bool hovered) {
    GlyphCell cell = kGlyphCells[6];  // help: also the glyph of any unknown id
    for (const GlyphCell& c : kGlyphCells) {
        if (c.buttonId == buttonId) cell = c;
    }
    const int row = pressed ? kGlyphRowPressed : hovered ? kGlyphRowHover : kGlyphRowNormal;
    return {cell.x, row, cell.width, kGlyphHeight};
}

std::optional<SheetRect> BannerButtonFrame(bool pressed, bool selected, bool hovered, int width, int height) {
    if (pressed || selected) return SheetRect{kPressedFrame.x, kPressedFrame.y, width, height};
    if (hovered) return SheetRect{kHoverFrame.x, kHoverFrame.y, width, height};
    return std::nullopt;
}

std::array<BorderPiece, 8> BorderPieces(int w, int h) {
    constexpr int m = kBorderMargin;
    constexpr int left = kBorderFrame.x, top = kBorderFrame.y;
    constexpr int right = kBorderFrame.x + kBorderFrame.width - m;    // 55
    constexpr int bottom = kBorderFrame.y + kBorderFrame.height - m;  // 137
    return {{
        {{left, top, m, m}, {0, 0, m, m}},                     // top-left corner
        {{left + m, top, m, m}, {m, 0, w - 2 * m, m}},         // top edge
        {{right, top, m, m}, {w - m, 0, m, m}},                // top-right corner
        {{left, top + m, m, m}, {0, m, m, h - 2 * m}},         // left edge
        {{right, top + m, m, m}, {w - m, m, m, h - 2 * m}},    // right edge
        {{left, bottom, m, m}, {0, h - m, m, m}},              // bottom-left corner
        {{left + m, bottom, m, m}, {m, h - m, w - 2 * m, m}},  // bottom edge
        {{right, bottom, m, m}, {w - m, h - m, m, m}},         // bottom-right corner
    }};
}

SheetRect ControlCell(int controlType, bool checked, int drawState, bool enabled) {
    const bool box = controlType == ControlCheckBox || controlType == ControlRadioButton;
    SheetRect cell = controlType == ControlCheckBox      ? kCheckBoxCell
                     : controlType == ControlRadioButton ? kRadioButtonCell
                                                         : kPushButtonCell;
    // Columns: normal, hover, pressed, disabled, then the same four checked (boxes only).
    int column = !enabled ? 3 : drawState == DrawPressed ? 2 : drawState == DrawHover ? 1 : 0;
    if (checked && box) column += 4;
    cell.x = column * cell.width;
    return cell;
}

}  // namespace skin
