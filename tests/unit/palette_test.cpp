#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/palette.h"
#include "app/tools.h"

namespace {

int ChannelSteps(const PaletteEntry& a, const PaletteEntry& b, int* moved) {
    int changed = 0;
    int deltas[] = {b.red - a.red, b.green - a.green, b.blue - a.blue};
    for (int d : deltas) {
        if (d != 0) {
            ++changed;
            *moved = d < 0 ? -d : d;
        }
    }
    return changed;
}

TEST(Palette, WalksTheWheelOneChannelBy51PerStepAndBackToRed) {
    ASSERT_EQ(ColourPalette.size(), 30u);
    for (int i = 0; i < kPaletteSize; ++i) {
        const PaletteEntry& here = ColourPalette[i];
        const PaletteEntry& next = ColourPalette[(i + 1) % kPaletteSize];
        int moved = 0;
        EXPECT_EQ(ChannelSteps(here, next, &moved), 1) << "step from " << i;
        EXPECT_EQ(moved, 51) << "step from " << i;
        EXPECT_EQ(here.zero, 0) << i;
        // Fully saturated: one channel full, one empty.
        int channels[] = {here.red, here.green, here.blue};
        EXPECT_EQ(*std::max_element(channels, channels + 3), 255) << i;
        EXPECT_EQ(*std::min_element(channels, channels + 3), 0) << i;
    }
    EXPECT_EQ(ColourPalette[29].red, 255);
    EXPECT_EQ(ColourPalette[29].green, 51);
    EXPECT_EQ(ColourPalette[29].blue, 0);
}

TEST(Palette, ConvertsToGdiAndArgbColours) {
    struct Case {
        int index;
        uint8_t alpha;
        uint32_t gdi;
        uint32_t argb;
    } cases[] = {
        {0, 255, 0x000000FF, 0xFFFF0000},  {0, 120, 0x000000FF, 0x78FF0000},
        {10, 255, 0x00FF0000, 0xFF0000FF}, {10, 120, 0x00FF0000, 0x780000FF},
        {29, 255, 0x000033FF, 0xFFFF3300},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GdiColour(c.index), c.gdi) << c.index;
        EXPECT_EQ(ArgbColour(c.index, c.alpha), c.argb) << c.index;
    }
}

TEST(Palette, EntryBytesReadAsColorref) {
    uint32_t word = 0;
    std::memcpy(&word, &ColourPalette[10], sizeof word);
    EXPECT_EQ(word, 0x00FF0000u);
}

TEST(Palette, ColourIndexWrapsAfterLastAndVisitsEveryEntryOnce) {
    EXPECT_EQ(NextColourIndex(29), 0);
    bool seen[kPaletteSize] = {};
    int index = 0;
    for (int i = 0; i < kPaletteSize; ++i) {
        EXPECT_FALSE(seen[index]) << index;
        seen[index] = true;
        index = NextColourIndex(index);
    }
    EXPECT_EQ(index, 0);
}

TEST(Tools, CycleThroughPenPencilBrush) {
    EXPECT_EQ(NextTool(ToolMode::Pen), ToolMode::Pencil);
    EXPECT_EQ(NextTool(ToolMode::Pencil), ToolMode::Brush);
    EXPECT_EQ(NextTool(ToolMode::Brush), ToolMode::Pen);
}

TEST(Tools, StrokePenTakesToolWidthAlphaAndPaletteColour) {
    struct Case {
        ToolMode mode;
        int colour;
        uint32_t argb;
        int width;
    } cases[] = {
        {ToolMode::Pen, 0, 0xFFFF0000, 1},     {ToolMode::Pencil, 0, 0xFFFF0000, 5},
        {ToolMode::Brush, 0, 0x78FF0000, 15},  {ToolMode::Pen, 10, 0xFF0000FF, 1},
        {ToolMode::Brush, 10, 0x780000FF, 15}, {ToolMode::Pencil, 20, 0xFF00FF00, 5},
    };
    for (const Case& c : cases) {
        StrokePen pen = StrokePenFor(c.mode, c.colour);
        EXPECT_EQ(pen.argb, c.argb) << static_cast<int>(c.mode) << "/" << c.colour;
        EXPECT_EQ(pen.width, c.width) << static_cast<int>(c.mode);
    }
}

TEST(Tools, CursorsAndIconsFollowTheTool) {
    EXPECT_EQ(ToolFor(ToolMode::Pen).cursorId, 107);
    EXPECT_EQ(ToolFor(ToolMode::Pencil).cursorId, 108);
    EXPECT_EQ(ToolFor(ToolMode::Brush).cursorId, 109);
    EXPECT_EQ(ToolFor(ToolMode::Pen).iconId, 113);
    EXPECT_EQ(ToolFor(ToolMode::Pencil).iconId, 111);
    EXPECT_EQ(ToolFor(ToolMode::Brush).iconId, 112);
}

}  // namespace
