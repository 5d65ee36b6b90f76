#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The visual alarm: a small always-on-top window with the value reached, a message and a
// detail. It is not modal: counting goes on while it is open.
class TVisualAlert : public QDialog {
    Q_OBJECT
  public:
    explicit TVisualAlert(QWidget* parent = nullptr);
    QLabel* Image3 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr; // value reached
    QLabel* Label1 = nullptr; // message
    QLabel* Label3 = nullptr; // detail
    QPushButton* Button1 = nullptr;

    // Puts the three texts in place, shows the window if it is hidden and brings it to the
    // foreground; an alert already open is refreshed and raised.
    void ShowAlert(const QString& value, const QString& message, const QString& detail);

  public slots:
    void Button1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // While it is open: a dialog opened meanwhile blocks its button, so it gives way to it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    // Stays on top unless a dialog is being answered, which then stays above it.
    void KeepDialogsInReach();
};
