#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window saved at `stored` opens. It stays there when the strip along its top (the
// title bar, the mini window's first line) lies on a screen's area left free by the panels
// far enough to be grabbed. A window only partly on a screen (a screen made smaller, a panel
// added) is brought back whole onto that screen's free area; one that no screen shows at all
// (a screen since removed) opens at `fallback`.
struct ScreenAreas {
    QRect Whole;
    QRect Available; // without the panels
};
QPoint OnScreenPosition(const QPoint& stored, const QSize& size, const QPoint& fallback,
                        const QList<ScreenAreas>& screens);
