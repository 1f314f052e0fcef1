#include "view/dialog_placement.h"

#include <gtest/gtest.h>

#include "analysis/branch_flow.h"
#include "view_test_support.h"

namespace mivaro {
namespace {

constexpr PixelBox kScreen{0, 0, 1920, 1040};

TEST(DialogPlacement, BesideTheRunInsideTheScreen) {
    struct Case {
        const char* name;
        PixelBox run;
        PixelBox mainWindow;
        PixelBox expected;
    };
    const Case cases[] = {
        // Room beside the main window: the side away from the run.
        {"run right, window centred", {1100, 300, 1300, 700}, {460, 170, 1460, 870}, {2, 290, 452, 710}},
        {"run left, window centred", {600, 300, 700, 700}, {460, 170, 1460, 870}, {1468, 290, 1918, 710}},
        // A maximised window: right of the run, else left of it, else below it.
        {"maximised, run in the middle", {900, 300, 1000, 700}, kScreen, {1008, 290, 1458, 710}},
        {"maximised, run at the right", {1500, 300, 1900, 700}, kScreen, {1042, 290, 1492, 710}},
        {"maximised, run as wide as the screen", {10, 100, 1910, 400}, kScreen, {735, 408, 1185, 828}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PixelBox placed = placeDialogBeside(c.run, 450, 420, kScreen, c.mainWindow);
        EXPECT_EQ(placed, c.expected);
        EXPECT_TRUE(kScreen.contains(placed));
        EXPECT_FALSE(placed.intersects(c.run));
    }
    // No place is free: inside the screen, covering as little of the run as can be.
    const PixelBox everywhere{0, 0, 1920, 1000};
    const PixelBox placed = placeDialogBeside(everywhere, 450, 420, kScreen, kScreen);
    EXPECT_TRUE(kScreen.contains(placed));
    EXPECT_EQ(placed.bottom, kScreen.bottom);  // below the run, where it overlaps least
}

TEST(DialogPlacement, WindowsAreKeptInsideTheArea) {
    const std::pair<PixelBox, PixelBox> cases[] = {
        {{-3000, 5000, -2425, 5583}, {0, 1040 - 583, 575, 1040}},
        {{100, 100, 675, 683}, {100, 100, 675, 683}},
        {{1800, -20, 2375, 563}, {1920 - 575, 0, 1920, 583}},
        {{50, 50, 2050, 1150}, {0, 0, 2000, 1100}},  // larger than the screen: its top left corner
    };
    for (const auto& [window, kept] : cases) {
        EXPECT_EQ(keptInside(window, kScreen), kept);
    }
}

// The highlighted points of the clicked curve and the clicked point, with
// the markers' reach; black points and other curves do not count.
TEST(DialogPlacement, HighlightedPointsOfTheClickedCurve) {
    CurveSet set;
    test::addCurve(set, {{100, 1}, {200, 2}, {300, 3}, {400, 4}}, 2, 3);
    test::addCurve(set, {{900, 9}}, 0, 1);
    set.colour[1] = kBranchColour;
    set.colour[2] = kForceRangeColour;
    set.colour[4] = kBranchColour;  // another curve's
    ViewSettings settings;
    settings.x.min = 0;
    settings.x.max = 1000;
    settings.y.min = 0;
    settings.y.max = 10;
    PlotLayout layout;
    layout.plotLeft = 100;
    layout.plotRight = 1100;
    layout.plotTop = 0;
    layout.plotBottom = 1000;
    const PlotMapping map(settings, layout);
    const PixelBox client{0, 0, 1200, 1000};

    // Points 1 and 2 at (300, 800) and (400, 700), markers of size 3 reaching 4 pixels.
    EXPECT_EQ(highlightedPointsBox(set, map, client, 2), (PixelBox{296, 696, 405, 805}));
    // The clicked point is always part of it: point 0 at (200, 900).
    EXPECT_EQ(highlightedPointsBox(set, map, client, 0), (PixelBox{196, 696, 405, 905}));
    // Cut to the client area; nothing when it lies outside.
    EXPECT_EQ(highlightedPointsBox(set, map, PixelBox{0, 0, 350, 750}, 2), (PixelBox{296, 696, 350, 750}));
    EXPECT_EQ(highlightedPointsBox(set, map, PixelBox{0, 0, 100, 100}, 2), std::nullopt);
    EXPECT_EQ(highlightedPointsBox(set, map, client, 99), std::nullopt);
}

}  // namespace
}  // namespace mivaro
