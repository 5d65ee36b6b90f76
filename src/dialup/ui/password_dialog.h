#pragma once

#include <QDialog>

class QLineEdit;

// Password prompt of the entry commands; its caption is the entry name.
class TPassword : public QDialog {
    Q_OBJECT
  public:
    explicit TPassword(QWidget* parent = nullptr);
    QLineEdit* Edit1 = nullptr;
};
