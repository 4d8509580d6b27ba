// Where the toolbar rests and when it slides out of the way.
#pragma once

struct ScreenPoint {
    int x;
    int y;
};

struct ScreenRect {
    int left;
    int top;
    int right;
    int bottom;
};

// Distances of the toolbar's left edge from the right screen edge.
constexpr int kSlideInDistance = 225;
constexpr int kSlideOutDistance = 3;

// x counts from the full screen width, so a taskbar at the right does not
// shift it; y sits 60 pixels above the work area's bottom whatever the
// toolbar's own height.
constexpr ScreenPoint ToolbarPlace(int screenWidth, const ScreenRect& workArea, int distance) {
    return {screenWidth - distance, workArea.bottom - 60};
}

// The pointer holds the toolbar in while it is within 10 pixels of its
// window; left and top edges belong to the area, right and bottom do not.
constexpr bool PointerHoldsToolbar(const ScreenRect& window, const ScreenPoint& pointer) {
    ScreenRect grown{window.left - 10, window.top - 10, window.right + 10, window.bottom + 10};
    return pointer.x >= grown.left && pointer.x < grown.right && pointer.y >= grown.top &&
           pointer.y < grown.bottom;
}
