// The 30 drawing colours and the rule by which the colour button walks them.
#pragma once

#include <array>
#include <cstdint>

// In memory red, green, blue, 0: read as one little-endian word that is a
// GDI COLORREF, so the swatch can use an entry unchanged.
struct PaletteEntry {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t zero;
};

constexpr int kPaletteSize = 30;

// Fully saturated hues 12 degrees apart: each step moves one channel by 51.
constexpr std::array<PaletteEntry, kPaletteSize> ColourPalette = {{
    {255, 0, 0, 0},   {255, 0, 51, 0},  {255, 0, 102, 0}, {255, 0, 153, 0}, {255, 0, 204, 0},
    {255, 0, 255, 0}, {204, 0, 255, 0}, {153, 0, 255, 0}, {102, 0, 255, 0}, {51, 0, 255, 0},
    {0, 0, 255, 0},   {0, 51, 255, 0},  {0, 102, 255, 0}, {0, 153, 255, 0}, {0, 204, 255, 0},
    {0, 255, 255, 0}, {0, 255, 204, 0}, {0, 255, 153, 0}, {0, 255, 102, 0}, {0, 255, 51, 0},
    {0, 255, 0, 0},   {51, 255, 0, 0},  {102, 255, 0, 0}, {153, 255, 0, 0}, {204, 255, 0, 0},
    {255, 255, 0, 0}, {255, 204, 0, 0}, {255, 153, 0, 0}, {255, 102, 0, 0}, {255, 51, 0, 0},
}};

// 0x00BBGGRR, as GDI wants it.
constexpr uint32_t GdiColour(int index) {
    const PaletteEntry& e = ColourPalette[index];
    return uint32_t{e.red} | uint32_t{e.green} << 8 | uint32_t{e.blue} << 16;
}

// 0xAARRGGBB, as GDI+ wants it.
constexpr uint32_t ArgbColour(int index, uint8_t alpha) {
    const PaletteEntry& e = ColourPalette[index];
    return uint32_t{alpha} << 24 | uint32_t{e.red} << 16 | uint32_t{e.green} << 8 |
           uint32_t{e.blue};
}

constexpr int32_t NextColourIndex(int32_t index) {
    return index >= kPaletteSize - 1 ? 0 : index + 1;
}
