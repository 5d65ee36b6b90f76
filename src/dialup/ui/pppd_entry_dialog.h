#pragma once

// The entry dialog of the pppd provider: phone number, serial port, speed and user name of
// an entry, written as pppconfig writes them (peers file and chat script).

#include "dialup/pppd_phonebook.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

class TPppdEntryDialog : public QDialog {
    Q_OBJECT
  public:
    // An empty entry name makes a new entry.
    TPppdEntryDialog(const QString& phonebookFolder, const QString& entryName,
                     QWidget* parent = nullptr);

    QLineEdit* EntryName = nullptr;
    QLineEdit* PhoneNumber = nullptr;
    QComboBox* SerialPort = nullptr;
    QComboBox* Speed = nullptr;
    QLineEdit* UserName = nullptr;

    void accept() override;

  private:
    PppdPhonebook Book;
    PppdEntry Entry;
    bool Creating;
};
