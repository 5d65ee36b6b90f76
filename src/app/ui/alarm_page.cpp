#include "widgets/page_builder.h"
#include "widgets/tform1.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {
QSpinBox* PeriodSpinEdit(const char* name) {
    auto* spin = Named(new QSpinBox, name);
    spin->setRange(1, 9999);
    // A typed 0 becomes 1 when the field is left, not the value it had before.
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    spin->setValue(5);
    return spin;
}
} // namespace

void TForm1::BuildAlarmPage() {
    TabSheet4 = Named(new QWidget, "TabSheet4");
    auto* page = new QHBoxLayout(TabSheet4);

    auto* sound = new QGroupBox(QStringLiteral("Alarme sonore"));
    auto* soundGrid = new QGridLayout(sound);
    CheckBox1 = Named(new QCheckBox(QStringLiteral("Utiliser l'alarme sonore")), "CheckBox1");
    RadioButton5 = Named(new QRadioButton(QStringLiteral("Toutes les :")), "RadioButton5");
    SpinEdit2 = PeriodSpinEdit("SpinEdit2");
    Label11 = Named(new QLabel(QStringLiteral("minutes")), "Label11");
    RadioButton6 = Named(new QRadioButton(QStringLiteral("Tous les :")), "RadioButton6");
    SpinEdit3 = PeriodSpinEdit("SpinEdit3");
    Label10 = Named(new QLabel(QStringLiteral("F")), "Label10");
    Button9 = Named(new QPushButton(QStringLiteral("Son associé à l'alarme...")), "Button9");
    soundGrid->addWidget(CheckBox1, 0, 0, 1, 3);
    soundGrid->addWidget(RadioButton5, 1, 0);
    soundGrid->addWidget(SpinEdit2, 1, 1);
    soundGrid->addWidget(Label11, 1, 2);
    soundGrid->addWidget(RadioButton6, 2, 0);
    soundGrid->addWidget(SpinEdit3, 2, 1);
    soundGrid->addWidget(Label10, 2, 2);
    soundGrid->addWidget(Button9, 3, 0, 1, 3);
    auto* soundGroup = new QButtonGroup(sound);
    soundGroup->addButton(RadioButton5);
    soundGroup->addButton(RadioButton6);

    auto* visual = new QGroupBox(QStringLiteral("Alarme visuelle"));
    auto* visualGrid = new QGridLayout(visual);
    CheckBox4 = Named(new QCheckBox(QStringLiteral("Utiliser l'alarme visuelle")), "CheckBox4");
    RadioButton7 = Named(new QRadioButton(QStringLiteral("Toutes les :")), "RadioButton7");
    SpinEdit4 = PeriodSpinEdit("SpinEdit4");
    Label45 = Named(new QLabel(QStringLiteral("minutes")), "Label45");
    RadioButton8 = Named(new QRadioButton(QStringLiteral("Tous les :")), "RadioButton8");
    SpinEdit5 = PeriodSpinEdit("SpinEdit5");
    Label46 = Named(new QLabel(QStringLiteral("F")), "Label46");
    visualGrid->addWidget(CheckBox4, 0, 0, 1, 3);
    visualGrid->addWidget(RadioButton7, 1, 0);
    visualGrid->addWidget(SpinEdit4, 1, 1);
    visualGrid->addWidget(Label45, 1, 2);
    visualGrid->addWidget(RadioButton8, 2, 0);
    visualGrid->addWidget(SpinEdit5, 2, 1);
    visualGrid->addWidget(Label46, 2, 2);
    visualGrid->setRowStretch(3, 1);
    auto* visualGroup = new QButtonGroup(visual);
    visualGroup->addButton(RadioButton7);
    visualGroup->addButton(RadioButton8);

    page->addWidget(sound);
    page->addWidget(visual);

    connect(Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connect(SpinEdit2, &QSpinBox::valueChanged, this, &TForm1::SpinEdit2Change);
    connect(SpinEdit3, &QSpinBox::valueChanged, this, &TForm1::SpinEdit3Change);
    connect(SpinEdit4, &QSpinBox::valueChanged, this, &TForm1::SpinEdit4Change);
    connect(SpinEdit5, &QSpinBox::valueChanged, this, &TForm1::SpinEdit5Change);
    // The periods start as the spin edits show them, whatever the settings assign later.
    SpinEdit2Change();
    SpinEdit3Change();
    SpinEdit4Change();
    SpinEdit5Change();
}
