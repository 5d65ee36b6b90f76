#include "widgets/menu_popup.h"

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <algorithm>

void PopupRightAligned(QMenu* menu, const QPoint& at) {
    // The items are only final once the menu has announced its opening, so its width is
    // known after popup(): the menu is moved left by it right away.
    menu->popup(at);
    const QScreen* screen = QGuiApplication::screenAt(at);
    const int left = screen ? screen->availableGeometry().left() : 0;
    menu->move(std::max(left, at.x() - menu->width()), menu->y());
}
