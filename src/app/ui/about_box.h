#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class TUrlLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Comments = nullptr;
    QLabel* Copyright = nullptr;
    TUrlLabel* UrlLabel1 = nullptr;
    QPushButton* OKButton = nullptr;
};
