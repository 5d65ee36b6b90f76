#pragma once

#include <QObject>
#include <QString>

class QWidget;
struct xcb_connection_t;

// The main window's caption. While a session is counted it carries the clock, so it changes
// every second.
//
// Under X11 each change comes back to the program as events on its own window: its two title
// properties, then the visible name and visible icon name that the window manager writes in
// answer, each batch waking Qt's X event thread and then the main thread (eight wake-ups a
// second where the tick alone needs one). Qt reads a window's own property events only to
// follow what the window manager does to it (minimised, maximised, frame extents), which it
// does not offer for this fixed tool window. So while the caption ticks, the window does not
// ask the X server for its property events; it asks again as soon as it shows its title.
//
// Such a caption is also written to the X server directly, as the two title properties Qt
// writes (the UTF-8 name window managers show, and the legacy Latin-1 one) in one batch: Qt
// converts each caption for the legacy one through Xlib's locale machinery, a tenth of the
// program's second in a session. They go to the server with the images of the tick's repaint,
// in the same write, instead of waking it on their own. Meanwhile the widget's own title stays
// what it was, so that accessibility tools are not told of a new name every second. A caption
// outside Latin-1, a window not created yet and other platforms have the widget's title set as
// usual.
class TickingCaption : public QObject {
  public:
    explicit TickingCaption(QWidget* window);

    // A caption that carries the clock.
    void ShowTicking(const QString& caption);
    // The window's plain title, once the clock stops.
    void ShowTitle(const QString& title);
    // The caption as the window shows it.
    QString Shown() const;

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    xcb_connection_t* Connection();
    bool WriteToXServer(const QString& caption);
    void SetWidgetTitle(const QString& title);
    void HearOwnProperties();

    QWidget* window;
    bool ticking = false;
    QString writtenCaption; // the caption written past Qt, empty when Qt's is shown
    quintptr writtenWindow = 0;
    quintptr quietWindow = 0; // the native window whose property events are not asked for
    quint32 utf8NameAtom = 0;
    quint32 utf8StringAtom = 0;
    xcb_connection_t* connection = nullptr;
    bool connectionAsked = false;
    bool flushPosted = false;
};
