#include <gtest/gtest.h>

#include "settings/credit_area.h"
#include "toolbar/placement.h"

namespace {

TEST(ToolbarPlace, CountsXFromTheFullScreenAndYFromTheWorkArea) {
    struct Case {
        int screenWidth;
        ScreenRect workArea;
        int distance;
        ScreenPoint place;
    } cases[] = {
        {1024, {0, 0, 1024, 768}, kSlideInDistance, {799, 708}},
        {1024, {0, 0, 1024, 748}, kSlideInDistance, {799, 688}},
        {1024, {0, 0, 1024, 748}, kSlideOutDistance, {1021, 688}},
        // A taskbar at the right shrinks the work area but not x.
        {1920, {0, 0, 1860, 1080}, kSlideInDistance, {1695, 1020}},
        // An unreadable work area stays the zero rectangle.
        {1024, {0, 0, 0, 0}, kSlideInDistance, {799, -60}},
    };
    for (const Case& c : cases) {
        ScreenPoint p = ToolbarPlace(c.screenWidth, c.workArea, c.distance);
        EXPECT_EQ(p.x, c.place.x);
        EXPECT_EQ(p.y, c.place.y);
    }
}

TEST(PointerHoldsToolbar, KeepsItWithinTenPixelsOfTheWindow) {
    const ScreenRect window{799, 704, 1023, 768};
    struct Case {
        ScreenPoint pointer;
        bool holds;
    } cases[] = {
        {{900, 730}, true},   {{789, 730}, true},   // 10 left of the left edge
        {{788, 730}, false},                        // 11 left
        {{900, 694}, true},                         // 10 above
        {{900, 693}, false},  {{1032, 730}, true},  // right edge is 1023 exclusive: last inside
                                                    // 1032
        {{1033, 730}, false}, {{900, 777}, true},  {{900, 778}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PointerHoldsToolbar(window, c.pointer), c.holds)
            << c.pointer.x << "," << c.pointer.y;
    }
}

TEST(CreditArea, CoversTheCreditPictureWithItsOpenBounds) {
    struct Case {
        int x;
        int y;
        bool inside;
    } cases[] = {
        {11, 136, true},   {104, 174, true}, {50, 150, true},  {10, 150, false},
        {105, 150, false}, {50, 135, false}, {50, 175, false}, {-50, -150, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InCreditArea(c.x, c.y), c.inside) << c.x << "," << c.y;
    }
}

}  // namespace
