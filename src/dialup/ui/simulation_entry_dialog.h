#pragma once

// The entry dialog of the simulated modem: the number, the user name and what the modem does
// when the entry is dialled.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;

class TSimulationEntryDialog : public QDialog {
    Q_OBJECT
  public:
    // An empty entry name makes a new entry.
    TSimulationEntryDialog(const QString& phonebookFile, const QString& entryName,
                           QWidget* parent = nullptr);

    QLineEdit* EntryName = nullptr;
    QLineEdit* PhoneNumber = nullptr;
    QLineEdit* UserName = nullptr;
    QComboBox* Outcome = nullptr;
    QSpinBox* DropAfter = nullptr;

    void accept() override;

  private:
    QString File;
    bool Creating;
};
