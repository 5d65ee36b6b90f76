#pragma once

// Where the mini window's counters go. As designed the window is 104 pixels wide: the time
// from x 7 in a box 50 wide and the cost right-aligned in a box 39 wide ending at x 94 on the
// first line, the average speed from x 7 on the second, "Reste :" from x 7 and the time left
// right-aligned ending at x 97 on the third. Texts wider than the design leaves them (in the
// program's font, a cost of 10 F and more beside the time) widen their box and then the window
// to the right, so that no counter is cut or drawn over its neighbour.

// The widths of the texts shown, in pixels; 0 for a text that is not shown.
struct MiniWindowTexts {
    double time = 0;
    double cost = 0;
    double speed = 0;
    double remainingLabel = 0; // "Reste :"
    double remaining = 0;
};

struct MiniWindowLayout {
    int windowWidth = 104;
    int timeWidth = 50;
    int costLeft = 55;
    int costWidth = 39;
    int speedWidth = 90;
    int remainingLeft = 44;
    int remainingWidth = 53;

    bool operator==(const MiniWindowLayout&) const = default;
};

inline constexpr int miniCounterLeft = 7;

MiniWindowLayout FitMiniWindowWidth(const MiniWindowTexts& texts);
