#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

// The notification-area icon. Its tooltip keeps at most 62 characters.
class TTrayIcon : public QObject {
    Q_OBJECT
  public:
    static constexpr int MaxToolTipLength = 62;

    explicit TTrayIcon(QObject* parent = nullptr);

    bool Active() const { return active; }
    void SetActive(bool value);
    QString ToolTip() const { return toolTip; }
    void SetToolTip(const QString& text);
    void SetIcon(const QIcon& icon);
    void SetPopupMenu(QMenu* menu);
    // A notice beside the icon, for what the user must learn while the windows are hidden.
    void ShowNotice(const QString& title, const QString& text);
    QSystemTrayIcon* SystemIcon() const { return trayIcon; }

  signals:
    void OnClick();
    void OnDblClick();
    void OnRightClick();

  private:
    QSystemTrayIcon* trayIcon = nullptr;
    QMenu* popupMenu = nullptr;
    bool active = false;
    QString toolTip;
};
