#include "app/ui/tray_icon.h"

#include "widgets/menu_popup.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

TTrayIcon::TTrayIcon(QObject* parent) : QObject(parent), trayIcon(new QSystemTrayIcon(this)) {
    connect(trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                case QSystemTrayIcon::Trigger:
                    emit OnClick();
                    break;
                case QSystemTrayIcon::DoubleClick:
                    emit OnDblClick();
                    break;
                case QSystemTrayIcon::Context:
                    if (popupMenu)
                        PopupRightAligned(popupMenu, QCursor::pos());
                    emit OnRightClick();
                    break;
                default:
                    break;
                }
            });
}

void TTrayIcon::SetActive(bool value) {
    active = value;
    trayIcon->setVisible(value);
    if (value)
        trayIcon->setToolTip(toolTip);
}

void TTrayIcon::SetToolTip(const QString& text) {
    const QString shown = text.left(MaxToolTipLength);
    if (shown == toolTip)
        return; // each change reaches the notification area's host
    toolTip = shown;
    if (active)
        trayIcon->setToolTip(toolTip);
}

void TTrayIcon::SetIcon(const QIcon& icon) {
    trayIcon->setIcon(icon);
}

void TTrayIcon::SetPopupMenu(QMenu* menu) {
    // Opened here rather than by the system icon, which would put its left edge at the mouse.
    popupMenu = menu;
}

void TTrayIcon::ShowNotice(const QString& title, const QString& text) {
    if (active)
        trayIcon->showMessage(title, text, QSystemTrayIcon::Warning, 10000);
}
