#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

// The input box of the entry commands: a caption, a prompt, one edit line, "OK" and
// "Annuler".
class TInputBox : public QDialog {
    Q_OBJECT
  public:
    TInputBox(const QString& caption, const QString& prompt, const QString& text,
              QWidget* parent = nullptr);
    QLabel* Prompt = nullptr;
    QLineEdit* Edit = nullptr;
};

// Shows the box modally; true when "OK" was pressed, with the edited text in *value.
bool InputQuery(const QString& caption, const QString& prompt, QString* value,
                QWidget* parent = nullptr);
