#pragma once

#include <QDialog>

class QListWidget;

// Asks which dial-up entry to dial when there are several.
class TChoixConn : public QDialog {
    Q_OBJECT
  public:
    explicit TChoixConn(QWidget* parent = nullptr);
    QListWidget* ListBox1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};
