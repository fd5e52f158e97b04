// The docking decision of one timer tick and the hotkey pull-back, as tables of cases.
#include "app/docking.h"

#include <gtest/gtest.h>

namespace app {
namespace {

constexpr int kScreen = 1280;
using Axis = DockMove::Axis;

TEST(DockDecision, HidesAndShowsAtEachEdge) {
    const struct {
        WindowBox win;
        Point mouse;
        DockMove want;
        const char* why;
    } cases[] = {
        {{0, 100, 317, 427}, {600, 600}, {Axis::Left, -315}, "touching the left edge, mouse away: hide left"},
        {{-40, 100, 317, 427}, {600, 600}, {Axis::Left, -315}, "beyond the left edge: hide left"},
        {{-315, 100, 317, 427}, {1, 300}, {Axis::Left, 0}, "mouse on the 2-px strip: show at 0"},
        {{-315, 100, 317, 427}, {900, 300}, {Axis::Left, -315}, "hidden left, mouse away: stays"},
        {{963, 100, 317, 427}, {100, 100}, {Axis::Left, 1278}, "right edge at SW: hide right"},
        {{1000, 100, 317, 427}, {100, 100}, {Axis::Left, 1278}, "beyond the right edge: hide right"},
        {{1278, 100, 317, 427}, {1279, 300}, {Axis::Left, 963}, "mouse on the right strip: show at SW - W"},
        {{1278, 100, 317, 427}, {100, 300}, {Axis::Left, 1278}, "hidden right, mouse away: stays"},
        {{400, 0, 317, 427}, {100, 900}, {Axis::Top, -425}, "top edge: hide up"},
        {{400, -425, 317, 427}, {500, 1}, {Axis::Top, 0}, "mouse on the top strip: show at 0"},
        {{400, 100, 317, 427}, {5, 5}, {}, "touching no edge: never moves"},
        {{400, 100, 317, 427}, {500, 300}, {}, "inside, touching no edge"},
        {{0, 0, 317, 427}, {900, 900}, {Axis::Left, -315}, "left wins over top"},
        {{963, 0, 317, 427}, {100, 900}, {Axis::Left, 1278}, "right wins over top"},
        {{0, 100, 317, 427}, {317, 300}, {Axis::Left, 0}, "x = L + W still counts as inside"},
        {{0, 100, 317, 427}, {318, 300}, {Axis::Left, -315}, "x = L + W + 1 is outside"},
        {{0, 100, 317, 427}, {100, 527}, {Axis::Left, 0}, "y = T + H still counts as inside"},
        {{0, 100, 317, 427}, {100, 528}, {Axis::Left, -315}, "y = T + H + 1 is outside"},
        {{-315, 100, 317, 427}, {-316, 300}, {Axis::Left, -315}, "x < L is outside"},
        {{1277, 100, 317, 427}, {1279, 300}, {}, "inside near the right, but not at SW - 2: no show"},
    };
    for (const auto& c : cases) EXPECT_EQ(DockDecision(c.win, kScreen, c.mouse), c.want) << c.why;
}

TEST(HotkeyPullBack, BringsADockedWindowBackAndKeepsItVisible) {
    const struct {
        WindowBox win;
        Point want;
        const char* why;
    } cases[] = {
        {{-315, 100, 317, 427}, {1, 100}, "hidden left: 1 px from the edge"},
        {{400, -425, 317, 427}, {400, 1}, "hidden at the top: top 1"},
        {{1278, 100, 317, 427}, {961, 100}, "hidden right: SW - 319"},
        {{-315, -425, 317, 427}, {1, 1}, "hidden in the corner: both"},
        {{300, 200, 317, 427}, {300, 200}, "shown: stays"},
        {{0, 0, 317, 427}, {0, 0}, "at the edge but not beyond: stays"},
    };
    for (const auto& c : cases) {
        const Point p = HotkeyPullBack(c.win, kScreen);
        EXPECT_EQ(p.x, c.want.x) << c.why;
        EXPECT_EQ(p.y, c.want.y) << c.why;
        // The pulled-back window no longer touches an edge, so the next tick leaves it alone
        // while the mouse is away.
        if (c.win.left < 0 || c.win.top < 0 || c.win.left == kScreen - 2) {
            EXPECT_EQ(DockDecision({p.x, p.y, 317, 427}, kScreen, {640, 1000}), DockMove{}) << c.why;
        }
    }
}

}  // namespace
}  // namespace app
