#include "dialup/ui/input_box.h"

#include "widgets/caption_width.h"
#include "widgets/dialog_buttons.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TInputBox::TInputBox(const QString& caption, const QString& prompt, const QString& text,
                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("InputBox"));
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    Prompt = new QLabel(prompt, this);
    Prompt->setObjectName(QStringLiteral("Prompt"));
    Edit = new QLineEdit(text, this);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->setMinimumWidth(260);
    Edit->selectAll();
    layout->addWidget(Prompt);
    layout->addWidget(Edit);
    layout->addWidget(OkCancelButtons(this));
    MakeRoomForCaption(this);
}

bool InputQuery(const QString& caption, const QString& prompt, QString* value, QWidget* parent) {
    TInputBox box(caption, prompt, *value, parent);
    if (box.exec() != QDialog::Accepted)
        return false;
    *value = box.Edit->text();
    return true;
}
