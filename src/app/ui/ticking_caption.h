#pragma once

class QWidget;

// While a session is counted the main window's caption carries the clock, so it changes every
// second. Under X11 each change comes back to the program as events on its own window: its two
// title properties, then the visible name and visible icon name that the window manager writes
// in answer, each batch waking Qt's X event thread and then the main thread (eight wake-ups a
// second where the tick alone needs one). Qt reads a window's own property events only to
// follow what the window manager does to it (minimised, maximised, frame extents), which it
// does not offer for this fixed tool window. So while the caption is not the application
// title, the window does not ask the X server for its property events; it asks again as soon
// as the caption is the title again. Nothing is done on other platforms.
void QuietPropertyEventsWhileCaptionTicks(QWidget* window);
