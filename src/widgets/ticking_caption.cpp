#include "widgets/ticking_caption.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
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

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Sent to itself at low priority, behind the repaints the tick asked for.
const QEvent::Type FlushEvent = QEvent::Type(QEvent::registerEventType());

bool IsLatin1(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xff; });
}
} // namespace

TickingCaption::TickingCaption(QWidget* window) : QObject(window), window(window) {
    window->installEventFilter(this);
}

void TickingCaption::ShowTicking(const QString& caption) {
    ticking = true;
    if (WriteToXServer(caption))
        writtenCaption = caption;
    else
        SetWidgetTitle(caption);
    HearOwnProperties();
}

void TickingCaption::ShowTitle(const QString& title) {
    ticking = false;
    SetWidgetTitle(title);
    HearOwnProperties();
}

void TickingCaption::SetWidgetTitle(const QString& title) {
    const bool wasWritten = !std::exchange(writtenCaption, QString()).isEmpty();
    writtenWindow = 0;
    if (window->windowTitle() != title)
        window->setWindowTitle(title);
    else if (wasWritten && window->windowHandle())
        window->windowHandle()->setTitle(title); // Qt's title back on the X server
}

QString TickingCaption::Shown() const {
    return writtenCaption.isEmpty() ? window->windowTitle() : writtenCaption;
}

bool TickingCaption::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::WinIdChange:
        // A new native window holds Qt's title.
        if (!writtenCaption.isEmpty() && !WriteToXServer(writtenCaption))
            window->setWindowTitle(std::exchange(writtenCaption, QString()));
        HearOwnProperties();
        break;
    default:
        break;
    }
    return false;
}

bool TickingCaption::event(QEvent* event) {
    if (event->type() != FlushEvent)
        return QObject::event(event);
    // Nothing left to write when a repaint has flushed the connection already.
    flushPosted = false;
    xcb_flush(connection);
    return true;
}

xcb_connection_t* TickingCaption::Connection() {
    if (!std::exchange(connectionAsked, true))
        connection = X11Connection();
    return connection;
}

bool TickingCaption::WriteToXServer(const QString& caption) {
    const WId id = window->internalWinId();
    if (!id || !Connection() || !IsLatin1(caption))
        return false;
    if (caption == writtenCaption && id == writtenWindow)
        return true;
    if (!utf8NameAtom) {
        utf8StringAtom = InternAtom(connection, "UTF8_STRING");
        utf8NameAtom = utf8StringAtom ? InternAtom(connection, "_NET_WM_NAME") : 0;
        if (!utf8NameAtom)
            return false;
    }
    const QByteArray utf8 = caption.toUtf8();
    const QByteArray latin1 = caption.toLatin1();
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(id), utf8NameAtom,
                        utf8StringAtom, 8, uint32_t(utf8.size()), utf8.constData());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(id), XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, uint32_t(latin1.size()), latin1.constData());
    if (!std::exchange(flushPosted, true))
        QCoreApplication::postEvent(this, new QEvent(FlushEvent), Qt::LowEventPriority);
    writtenWindow = id;
    return true;
}

void TickingCaption::HearOwnProperties() {
    const WId id = window->internalWinId();
    // A caption that ticks asks nothing of the X server about events once the window is quiet.
    if (!id || ticking == (quietWindow == id))
        return;
    if (Connection() && SetPropertyEvents(connection, xcb_window_t(id), !ticking))
        quietWindow = ticking ? id : 0;
}
