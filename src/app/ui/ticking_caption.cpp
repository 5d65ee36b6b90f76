#include "app/ui/ticking_caption.h"

#include "app/application_title.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {
xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The event mask this program holds on the window, or false when it cannot be read.
bool ReadEventMask(xcb_connection_t* connection, xcb_window_t window, uint32_t& mask) {
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    if (!reply)
        return false;
    mask = reply->your_event_mask;
    std::free(reply);
    return true;
}

bool SetPropertyEvents(xcb_connection_t* connection, xcb_window_t window, bool wanted) {
    uint32_t mask = 0;
    if (!ReadEventMask(connection, window, mask))
        return false;
    const uint32_t changed = wanted ? mask | XCB_EVENT_MASK_PROPERTY_CHANGE
                                    : mask & ~uint32_t(XCB_EVENT_MASK_PROPERTY_CHANGE);
    if (changed != mask) {
        xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &changed);
        xcb_flush(connection);
    }
    return true;
}

class CaptionWatcher : public QObject {
  public:
    explicit CaptionWatcher(QWidget* window) : QObject(window), window(window) {}

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::WindowTitleChange:
        case QEvent::Show:
        case QEvent::WinIdChange:
            Apply();
            break;
        default:
            break;
        }
        return false;
    }

  private:
    void Apply() {
        const WId id = window->internalWinId();
        const bool ticking = window->windowTitle() != ApplicationTitle();
        // A caption that ticks asks nothing of Qt or the X server once the window is quiet.
        if (!id || ticking == (quietWindow == id))
            return;
        xcb_connection_t* connection = X11Connection();
        if (connection && SetPropertyEvents(connection, xcb_window_t(id), !ticking))
            quietWindow = ticking ? id : 0;
    }

    QWidget* window;
    WId quietWindow = 0; // the native window whose property events are not asked for
};
} // namespace

void QuietPropertyEventsWhileCaptionTicks(QWidget* window) {
    window->installEventFilter(new CaptionWatcher(window));
}
