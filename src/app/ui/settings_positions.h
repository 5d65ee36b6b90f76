#pragma once

#include <QPoint>
#include <QSize>

// Where the mini window opens: keys x and y of section Miniwin, by default at the top right
// of the screen (screen width - 58 - window width, 2).
QPoint LoadMiniWindowPosition(const QSize& windowSize);
// Where the mini window at `current` goes when the screens change under it: where it is while
// it can be seen and grabbed, else brought back whole (or to its default place).
QPoint MiniWindowKeptOnScreen(const QPoint& current, const QSize& windowSize);
