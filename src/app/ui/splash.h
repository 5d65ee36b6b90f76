#pragma once

#include <QWidget>

// The splash window shown for two seconds while the program starts.
class TLogo : public QWidget {
    Q_OBJECT
  public:
    explicit TLogo(QWidget* parent = nullptr);
};
