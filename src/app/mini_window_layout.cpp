#include "app/mini_window_layout.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int costRightMargin = 10;     // from the cost's right edge to the window's
constexpr int remainingRightMargin = 7; // from the time left's right edge to the window's
constexpr double gapBetweenTexts = 2;   // the glyphs' side bearings add to it
constexpr int inkAllowance = 2;         // glyphs reaching past their advances

int Pixels(double width) {
    return width > 0 ? static_cast<int>(std::ceil(width)) : 0;
}
} // namespace

MiniWindowLayout FitMiniWindowWidth(const MiniWindowTexts& texts) {
    const MiniWindowLayout designed;
    MiniWindowLayout layout;
    const int time = Pixels(texts.time);
    const int cost = Pixels(texts.cost);
    const int remaining = Pixels(texts.remaining);

    const int costRight =
        std::max(designed.costLeft + designed.costWidth,
                 Pixels(miniCounterLeft + texts.time + gapBetweenTexts + texts.cost));
    const int remainingRight =
        Pixels(miniCounterLeft + texts.remainingLabel + gapBetweenTexts + texts.remaining);
    layout.windowWidth =
        std::max({designed.windowWidth, costRight + costRightMargin,
                  miniCounterLeft + Pixels(texts.speed) + inkAllowance + remainingRightMargin,
                  remainingRight + remainingRightMargin});

    layout.timeWidth = std::max(designed.timeWidth, time + inkAllowance);
    layout.costWidth = std::max(designed.costWidth, cost + inkAllowance);
    layout.costLeft = layout.windowWidth - costRightMargin - layout.costWidth;
    layout.speedWidth = layout.windowWidth - 2 * miniCounterLeft;
    layout.remainingWidth = std::max(designed.remainingWidth, remaining + inkAllowance);
    layout.remainingLeft = layout.windowWidth - remainingRightMargin - layout.remainingWidth;
    return layout;
}
