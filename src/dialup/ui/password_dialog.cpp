#include "dialup/ui/password_dialog.h"

#include "widgets/dialog_buttons.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QProxyStyle>

namespace {
// Each character of a password is shown as "*", whatever the desktop's style draws.
class StarPasswordStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

TPassword::TPassword(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Password"));
    auto* layout = new QFormLayout(this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    auto* style = new StarPasswordStyle;
    style->setParent(this);
    Edit1->setStyle(style);
    Edit1->setEchoMode(QLineEdit::Password);
    layout->addRow(QStringLiteral("Mot de passe :"), Edit1);
    layout->addRow(OkCancelButtons(this));
}
