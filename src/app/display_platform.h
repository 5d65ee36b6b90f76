#pragma once

#include <QByteArray>

// On a Wayland desktop a program cannot place its own windows nor keep one above the others,
// which the mini window needs. When XWayland is there (an X display is set) and the user has
// not chosen a Qt platform, the X11 one is used.
QByteArray PreferredQtPlatform(const QByteArray& requestedPlatform,
                               const QByteArray& waylandDisplay, const QByteArray& sessionType,
                               const QByteArray& x11Display);

// Applies the choice to this process's environment; to be called before QApplication exists.
void PreferX11OnWayland();

// Qt's X11 windows hand their pictures to the X server through shared memory and then wait for
// the server (a round trip) before painting the same place again: the counters, repainted each
// second, cost two round trips a second that way. Plain image requests need no answer, and the
// windows are small. Called before QApplication exists; a user's own choice is kept.
void SendWindowImagesWithoutSharedMemory();
