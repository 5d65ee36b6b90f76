#pragma once

#include <initializer_list>

class QWidget;

// A counter given a new text each second has Qt repaint, under it, every widget it lies on (the
// group box, the page, the tab widget, the window), none of which changed. A counter kept
// opaque paints instead a picture of what lies under it, taken once, then its text on it.
// Whatever the picture depends on changing (its place, the style, the palette, the window's
// activation), the counter is transparent again, Qt paints what lies under it, and the next
// call takes a new picture. Counters not shown, or partly covered by a sibling, are left
// transparent.
void PaintOverKeptBackdrop(std::initializer_list<QWidget*> counters);
