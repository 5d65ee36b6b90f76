#include "app/window_placement.h"

#include <algorithm>

namespace {
// The strip of a window's top that must be in view, and how much of its width.
constexpr int TopStripHeight = 16;
constexpr int GrabbableWidth = 40;

int Bounded(int value, int lowest, int highest) {
    return std::max(lowest, std::min(value, highest));
}
} // namespace

QPoint OnScreenPosition(const QPoint& stored, const QSize& size, const QPoint& fallback,
                        const QList<ScreenAreas>& screens) {
    const QRect topStrip(stored, QSize(size.width(), std::min(TopStripHeight, size.height())));
    for (const ScreenAreas& screen : screens) {
        const QRect shown = screen.Available.intersected(topStrip);
        if (shown.height() == topStrip.height() &&
            shown.width() >= std::min(GrabbableWidth, size.width()))
            return stored;
    }
    const QRect window(stored, size);
    for (const ScreenAreas& screen : screens) {
        if (!screen.Whole.intersects(window))
            continue;
        const QRect& area = screen.Available;
        // A window larger than the area keeps its top left corner in view.
        return QPoint(Bounded(stored.x(), area.left(), area.right() + 1 - size.width()),
                      Bounded(stored.y(), area.top(), area.bottom() + 1 - size.height()));
    }
    return fallback;
}
