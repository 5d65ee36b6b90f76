#include "app/display_platform.h"

#include <gtest/gtest.h>

TEST(DisplayPlatform, X11IsPreferredOnWaylandOnlyWhenXWaylandIsThereAndNothingWasAsked) {
    EXPECT_EQ(PreferredQtPlatform("", "wayland-0", "wayland", ":0"), "xcb");
    EXPECT_EQ(PreferredQtPlatform("", "", "wayland", ":1"), "xcb");
    EXPECT_EQ(PreferredQtPlatform("wayland", "wayland-0", "wayland", ":0"), "");
    EXPECT_EQ(PreferredQtPlatform("", "wayland-0", "wayland", ""), "");
    EXPECT_EQ(PreferredQtPlatform("", "", "x11", ":0"), "");
}
