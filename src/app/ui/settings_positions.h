#pragma once

#include <QPoint>
#include <QSize>

// Where the mini window opens: keys x and y of section Miniwin, by default at the top right
// of the screen (screen width - 58 - window width, 2).
QPoint LoadMiniWindowPosition(const QSize& windowSize);
