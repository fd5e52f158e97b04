// Slice maps of the element sheet and the control sheet.
#include "skin/image_layout.h"

#include <gtest/gtest.h>

#include <ostream>

namespace skin {
// Readable failures: rectangles print as (x, y, w, h).
std::ostream& operator<<(std::ostream& out, const SheetRect& r) {
    return out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}
}  // namespace skin

namespace {

using skin::SheetRect;

TEST(CaptionButtonSource, EveryGlyphInEveryState) {
    const struct {
        int id;
        int x;
        int width;
    } glyphs[] = {
        {1, 162, 40}, {2, 135, 27}, {3, 108, 27}, {4, 81, 27},
        {5, 54, 27},  {6, 27, 27},                              // menu glyph although no button has this id
        {7, 0, 27},   {0, 0, 27},   {8, 0, 27},   {-1, 0, 27},  // unknown ids draw the help glyph
    };
    const struct {
        bool pressed;
        bool hovered;
        int y;
    } states[] = {
        {false, false, 145}, {false, true, 165}, {true, false, 185}, {true, true, 185},  // pressed wins
    };
    for (const auto& g : glyphs) {
        for (const auto& s : states) {
            EXPECT_EQ(skin::CaptionButtonSource(g.id, s.pressed, s.hovered),
                      (SheetRect{g.x, s.y, g.width, 19}))
                << "id " << g.id << " pressed " << s.pressed << " hovered " << s.hovered;
        }
    }
}

TEST(BannerButtonFrame, PressedOrSelectedBeatsHoverAndNoFlagDrawsNoFrame) {
    const struct {
        bool pressed, selected, hovered;
        int x;
    } cases[] = {
        {false, false, false, -1},  // icon and caption only
        {false, false, true, 60},   // hover frame
        {false, true, false, 120},  // selected shows pressed even with the mouse away
        {true, false, false, 120}, {true, false, true, 120}, {false, true, true, 120},
    };
    for (const auto& c : cases) {
        const auto frame = skin::BannerButtonFrame(c.pressed, c.selected, c.hovered, 60, 52);
        if (c.x < 0) {
            EXPECT_FALSE(frame.has_value());
        } else {
            ASSERT_TRUE(frame.has_value());
            EXPECT_EQ(*frame, (SheetRect{c.x, 90, 60, 52}));
        }
    }
    // The source is cut at the element's own size, not the frame's.
    EXPECT_EQ(*skin::BannerButtonFrame(false, false, true, 40, 30), (SheetRect{60, 90, 40, 30}));
}

TEST(ControlCell, StateColumnsCheckedOffsetAndDisabledWins) {
    using namespace skin;
    const struct {
        int type;
        bool checked;
        int state;
        bool enabled;
        SheetRect want;
    } cases[] = {
        {ControlPushButton, false, DrawNormal, true, {0, 0, 40, 23}},
        {ControlPushButton, false, DrawHover, true, {40, 0, 40, 23}},
        {ControlPushButton, false, DrawPressed, true, {80, 0, 40, 23}},
        {ControlPushButton, false, DrawPressed, false, {120, 0, 40, 23}},
        {ControlPushButton, true, DrawHover, true, {40, 0, 40, 23}},  // no checked push cells
        {ControlCheckBox, false, DrawNormal, true, {0, 25, 15, 15}},
        {ControlCheckBox, false, DrawHover, true, {15, 25, 15, 15}},
        {ControlCheckBox, false, DrawPressed, true, {30, 25, 15, 15}},
        {ControlCheckBox, false, DrawHover, false, {45, 25, 15, 15}},
        {ControlCheckBox, true, DrawNormal, true, {60, 25, 15, 15}},
        {ControlCheckBox, true, DrawHover, true, {75, 25, 15, 15}},
        {ControlCheckBox, true, DrawPressed, true, {90, 25, 15, 15}},
        {ControlCheckBox, true, DrawPressed, false, {105, 25, 15, 15}},  // checked and disabled
        {ControlRadioButton, false, DrawNormal, true, {0, 40, 15, 15}},
        {ControlRadioButton, true, DrawHover, true, {75, 40, 15, 15}},
        {ControlRadioButton, true, DrawNormal, false, {105, 40, 15, 15}},
        {ControlCheckBox, false, 7, true, {0, 25, 15, 15}},  // unknown state: normal
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ControlCell(c.type, c.checked, c.state, c.enabled), c.want)
            << "type " << c.type << " checked " << c.checked << " state " << c.state << " enabled "
            << c.enabled;
    }
}

TEST(BorderPieces, CornersOneToOneEdgesStretched) {
    const int w = 317, h = 427;
    const skin::BorderPiece want[] = {
        {{0, 90, 5, 5}, {0, 0, 5, 5}},           {{5, 90, 5, 5}, {5, 0, w - 10, 5}},
        {{55, 90, 5, 5}, {w - 5, 0, 5, 5}},      {{0, 95, 5, 5}, {0, 5, 5, h - 10}},
        {{55, 95, 5, 5}, {w - 5, 5, 5, h - 10}}, {{0, 137, 5, 5}, {0, h - 5, 5, 5}},
        {{5, 137, 5, 5}, {5, h - 5, w - 10, 5}}, {{55, 137, 5, 5}, {w - 5, h - 5, 5, 5}},
    };
    const auto pieces = skin::BorderPieces(w, h);
    for (size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i].source, want[i].source) << "piece " << i;
        EXPECT_EQ(pieces[i].destination, want[i].destination) << "piece " << i;
    }
}

}  // namespace
