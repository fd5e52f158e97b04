// A short soak of the real main window in every test run: each cycle of the long soak runs a few
// times after a warm-up, and the process must end every cycle with the GDI objects, icons, menus
// and windows it began with, and the skin engine's own count unchanged.
#include <gtest/gtest.h>

#include "tests/app_fixture.h"
#include "tests/soak_cycles.h"
#include "tests/test_support.h"

namespace {

TEST(Soak, EveryCycleEndsWithTheObjectsItBeganWith) {
    ASSERT_NE(test::MainWindowOnce().window, nullptr);
    test::ScratchDir dir;
    soak::Driver driver(dir.path());
    // Warm-up: shared objects made on first use (decoders, the system image list, ...) are no leaks.
    for (const soak::Cycle& cycle : soak::kCycles) (driver.*cycle.run)(cycle.testRuns);
    for (const soak::Cycle& cycle : soak::kCycles) {
        const soak::Figures before = soak::Measure();
        (driver.*cycle.run)(cycle.testRuns);
        const soak::Figures after = soak::Measure();
        SCOPED_TRACE(cycle.name);
        EXPECT_EQ(after.gdi, before.gdi);
        EXPECT_EQ(after.icons, before.icons);
        EXPECT_EQ(after.menus, before.menus);
        EXPECT_EQ(after.windows, before.windows);
        EXPECT_EQ(after.engineLive, before.engineLive);
        EXPECT_EQ(after.deletedWhileSelected, before.deletedWhileSelected);
    }
    EXPECT_EQ(driver.problems(), 0);
}

}  // namespace
