#include "dialup/ui/password_dialog.h"

#include "widgets/dialog_buttons.h"

#include <QFormLayout>
#include <QLineEdit>

TPassword::TPassword(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Password"));
    auto* layout = new QFormLayout(this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    layout->addRow(QStringLiteral("Mot de passe :"), Edit1);
    layout->addRow(OkCancelButtons(this));
}
