#include "app/ui/close_box_only.h"

#include <QWidget>
#include <QWindow>

namespace {
// Read by Qt's X11 platform when the native window is created; other platforms ignore it.
constexpr char windowTypeProperty[] = "_q_xcb_wm_window_type";
constexpr int toolbarWindowType = 0x8; // _NET_WM_WINDOW_TYPE_TOOLBAR, before the others
} // namespace

void AskForCloseBoxOnly(QWidget* window) {
    // The window's flags (close box hint only) reach X11 window managers as Motif hints,
    // which some of them (openbox) never let take a button away; the toolbar type is the one
    // they draw with a title bar and no minimise or maximise button.
    // A top-level widget is native anyway: the attribute only makes its QWindow exist now,
    // before the native window that reads the property.
    window->setAttribute(Qt::WA_NativeWindow);
    if (QWindow* handle = window->windowHandle())
        handle->setProperty(windowTypeProperty, toolbarWindowType);
}
