// The three drawing tools and what each one fixes.
#pragma once

#include <array>
#include <cstdint>

#include "app/palette.h"
#include "res/resource.h"

enum class ToolMode : int32_t { Pen = 1, Pencil = 2, Brush = 3 };

struct ToolInfo {
    ToolMode mode;
    int width;
    uint8_t alpha;
    int cursorId;
    int iconId;
};

constexpr std::array<ToolInfo, 3> kTools = {{
    {ToolMode::Pen, 1, 255, IDC_PEN_CURSOR, IDI_PEN},
    {ToolMode::Pencil, 5, 255, IDC_PENCIL_CURSOR, IDI_PENCIL},
    {ToolMode::Brush, 15, 120, IDC_BRUSH_CURSOR, IDI_BRUSH},
}};

constexpr const ToolInfo& ToolFor(ToolMode mode) {
    return kTools[static_cast<int>(mode) - 1];
}

constexpr ToolMode NextTool(ToolMode mode) {
    int next = static_cast<int>(mode) + 1;
    return next > 3 ? ToolMode::Pen : static_cast<ToolMode>(next);
}

struct StrokePen {
    uint32_t argb;
    int width;
};

constexpr StrokePen StrokePenFor(ToolMode mode, int colourIndex) {
    const ToolInfo& tool = ToolFor(mode);
    return {ArgbColour(colourIndex, tool.alpha), tool.width};
}
