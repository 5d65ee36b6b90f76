#include "app/window_placement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, ASavedWindowOpensWhereItsTopCanBeGrabbed) {
    // 1024x768 with a 32-pixel panel at the bottom, and a second screen to its right.
    const QList<ScreenAreas> screens = {{{0, 0, 1024, 768}, {0, 0, 1024, 736}},
                                        {{1024, 0, 800, 600}, {1024, 0, 800, 600}}};
    const QSize main(700, 345), mini(104, 39);
    const QPoint fallback(162, 211);
    EXPECT_EQ(OnScreenPosition({100, 100}, main, fallback, screens), QPoint(100, 100));
    EXPECT_EQ(OnScreenPosition({1500, 100}, main, fallback, screens), QPoint(1500, 100));
    // Its title bar under the panel, or its top above the screen: brought back whole.
    EXPECT_EQ(OnScreenPosition({1010, 760}, main, fallback, screens), QPoint(324, 391));
    EXPECT_EQ(OnScreenPosition({300, -30}, mini, fallback, screens), QPoint(300, 0));
    // Shown by no screen at all.
    EXPECT_EQ(OnScreenPosition({3000, 100}, main, fallback, screens), fallback);
    // Larger than the screen: its top left corner in view.
    EXPECT_EQ(OnScreenPosition({-50, -50}, QSize(1200, 900), fallback, {screens[0]}), QPoint(0, 0));
}
