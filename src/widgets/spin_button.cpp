#include "widgets/spin_button.h"

#include <QToolButton>
#include <QVBoxLayout>

SpinButton::SpinButton(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    UpButton = new QToolButton(this);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton = new QToolButton(this);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {UpButton, DownButton}) {
        button->setFixedSize(16, 11);
        button->setAutoRepeat(true);
        layout->addWidget(button);
    }
    connect(UpButton, &QToolButton::clicked, this, &SpinButton::UpClick);
    connect(DownButton, &QToolButton::clicked, this, &SpinButton::DownClick);
}
