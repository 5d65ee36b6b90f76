#include "widgets/page_builder.h"
#include "widgets/spin_button.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const QStringList timeServers = {
    QStringLiteral("time-a-b.nist.gov"),   QStringLiteral("time-a-g.nist.gov"),
    QStringLiteral("time-a-wwv.nist.gov"), QStringLiteral("time-b-b.nist.gov"),
    QStringLiteral("time-b-g.nist.gov"),   QStringLiteral("time-b-wwv.nist.gov"),
    QStringLiteral("time-c-b.nist.gov"),   QStringLiteral("time-c-g.nist.gov"),
    QStringLiteral("time-c-wwv.nist.gov"), QStringLiteral("time-d-g.nist.gov"),
    QStringLiteral("time.nist.gov"),       QStringLiteral("utcnist.colorado.edu")};

QLineEdit* TimeField(const char* name) {
    auto* edit = Named(new QLineEdit(QStringLiteral("12:00")), name);
    edit->setInputMask(QStringLiteral("99:99;_"));
    edit->setMaxLength(5);
    edit->setFixedWidth(50);
    return edit;
}

SpinButton* TimeSpin(const char* name, const QString& hint) {
    return Named(new SpinButton, name, hint);
}
} // namespace

void TForm1::BuildClockPage() {
    TabSheet5 = Named(new QWidget, "TabSheet5");
    auto* page = new QVBoxLayout(TabSheet5);

    CheckBox3 =
        Named(new QCheckBox(QStringLiteral("Utiliser la mise à l'heure automatique")), "CheckBox3");
    page->addWidget(CheckBox3);
    auto* server = new QHBoxLayout;
    Label40 = Named(new QLabel(QStringLiteral("Serveur d'horloge")), "Label40");
    cbHost = Named(new QComboBox, "cbHost");
    cbHost->setEditable(true);
    cbHost->addItems(timeServers);
    cbHost->lineEdit()->setMaxLength(34);
    cbHost->setMinimumWidth(200);
    Button8 = Named(new QPushButton(QStringLiteral("Mettre à l'heure maintenant")), "Button8");
    server->addWidget(Label40);
    server->addWidget(cbHost);
    server->addWidget(Button8);
    server->addStretch();
    page->addLayout(server);

    GroupBox2 = Named(new QGroupBox(QStringLiteral("Quand ?")), "GroupBox2");
    auto* grid = new QGridLayout(GroupBox2);
    RadioButton1 = Named(new QRadioButton(QStringLiteral("Toutes les")), "RadioButton1");
    SpinEdit1 = Named(new QSpinBox, "SpinEdit1");
    SpinEdit1->setRange(1, 9999);
    SpinEdit1->setValue(30);
    Label41 = Named(new QLabel(QStringLiteral(" minutes")), "Label41");
    grid->addWidget(RadioButton1, 0, 0);
    auto* every = new QHBoxLayout;
    every->addWidget(SpinEdit1);
    every->addWidget(Label41);
    every->addStretch();
    grid->addLayout(every, 0, 1);

    RadioButton2 = Named(new QRadioButton(QStringLiteral("Tous les jours à")), "RadioButton2");
    HSpin = TimeSpin("HSpin", QStringLiteral("Heure"));
    Edit = TimeField("Edit");
    MSpin = TimeSpin("MSpin", QStringLiteral("Minute"));
    grid->addWidget(RadioButton2, 1, 0);
    auto* daily = new QHBoxLayout;
    daily->addWidget(HSpin);
    daily->addWidget(Edit);
    daily->addWidget(MSpin);
    daily->addStretch();
    grid->addLayout(daily, 1, 1);

    RadioButton3 = Named(new QRadioButton(QStringLiteral("Tous les")), "RadioButton3");
    ComboBox2 = Named(new QComboBox, "ComboBox2");
    ComboBox2->addItems({QStringLiteral("Lundi"), QStringLiteral("Mardi"),
                         QStringLiteral("Mercredi"), QStringLiteral("Jeudi"),
                         QStringLiteral("Vendredi"), QStringLiteral("Samedi"),
                         QStringLiteral("Dimanche")});
    Label43 = Named(new QLabel(QStringLiteral("à")), "Label43");
    HSpinH = TimeSpin("HSpinH", QStringLiteral("Heure"));
    EditH = TimeField("EditH");
    MSpinH = TimeSpin("MSpinH", QStringLiteral("Minute"));
    grid->addWidget(RadioButton3, 2, 0);
    auto* weekly = new QHBoxLayout;
    weekly->addWidget(ComboBox2);
    weekly->addWidget(Label43);
    weekly->addWidget(HSpinH);
    weekly->addWidget(EditH);
    weekly->addWidget(MSpinH);
    weekly->addStretch();
    grid->addLayout(weekly, 2, 1);

    RadioButton4 =
        Named(new QRadioButton(QStringLiteral("A chaque fois que je me connecte")), "RadioButton4");
    RadioButton4->setChecked(true);
    grid->addWidget(RadioButton4, 3, 0, 1, 2);
    page->addWidget(GroupBox2);

    Label42 = Named(new QLabel, "Label42");
    QPalette blue = Label42->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    Label42->setPalette(blue);
    page->addWidget(Label42);
    page->addStretch();
}
