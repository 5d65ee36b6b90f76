#pragma once

#include <QWidget>

class QToolButton;

// A pair of small up and down arrow buttons that step a value held elsewhere.
class SpinButton : public QWidget {
    Q_OBJECT
  public:
    explicit SpinButton(QWidget* parent = nullptr);
    QToolButton* UpButton = nullptr;
    QToolButton* DownButton = nullptr;

  signals:
    void UpClick();
    void DownClick();
};
