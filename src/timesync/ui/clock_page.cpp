#include "timesync/time_query.h"
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
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
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

// One mode of the group: its radio button, then its controls on one line.
void AddModeRow(QGridLayout* grid, int row, QRadioButton* button,
                std::initializer_list<QWidget*> controls) {
    grid->addWidget(button, row, 0);
    auto* line = new QHBoxLayout;
    for (QWidget* control : controls)
        line->addWidget(control);
    line->addStretch();
    grid->addLayout(line, row, 1);
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
    SpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue); // a typed 0 is 1
    SpinEdit1->setValue(30);
    Label41 = Named(new QLabel(QStringLiteral(" minutes")), "Label41");
    AddModeRow(grid, 0, RadioButton1, {SpinEdit1, Label41});

    RadioButton2 = Named(new QRadioButton(QStringLiteral("Tous les jours à")), "RadioButton2");
    HSpin = TimeSpin("HSpin", QStringLiteral("Heure"));
    Edit = TimeField("Edit");
    MSpin = TimeSpin("MSpin", QStringLiteral("Minute"));
    AddModeRow(grid, 1, RadioButton2, {HSpin, Edit, MSpin});

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
    AddModeRow(grid, 2, RadioButton3, {ComboBox2, Label43, HSpinH, EditH, MSpinH});

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

    TimeQuery1 = new TTimeQuery(this);
    TimeQuery1->setObjectName(QStringLiteral("TimeQuery1"));
    TimeQuery1->Port = 37;
    TimeQuery1->TimeOut = 5000;
    TimeQuery1->ReportLevel = 0;
    ConnectClockPage();
}

void TForm1::ConnectClockPage() {
    connect(TimeQuery1, &TTimeQuery::OnConnectionFailed, this, &TForm1::TimeQuery1ConnectionFailed);
    connect(Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
    connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(CheckBox3, &QCheckBox::toggled, this, &TForm1::CheckBox3Click);
    // The settings load runs it once whatever the stored value, so the timer and label follow.
    connect(this, &TForm1::ClockCheckBoxLoaded, this, &TForm1::CheckBox3Click);
    const QList<QPair<QRadioButton*, void (TForm1::*)()>> modes = {
        {RadioButton1, &TForm1::RadioButton1Click},
        {RadioButton2, &TForm1::RadioButton2Click},
        {RadioButton3, &TForm1::RadioButton3Click},
        {RadioButton4, &TForm1::RadioButton4Click}};
    for (const auto& [button, handler] : modes)
        connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                (this->*handler)();
        });
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TForm1::SpinEdit1Change);
    connect(Edit, &QLineEdit::textChanged, this, &TForm1::EditChange);
    connect(EditH, &QLineEdit::textChanged, this, &TForm1::EditHChange);
    connect(HSpin, &SpinButton::UpClick, this, &TForm1::HSpinUpClick);
    connect(HSpin, &SpinButton::DownClick, this, &TForm1::HSpinDownClick);
    connect(MSpin, &SpinButton::UpClick, this, &TForm1::MSpinUpClick);
    connect(MSpin, &SpinButton::DownClick, this, &TForm1::MSpinDownClick);
    connect(HSpinH, &SpinButton::UpClick, this, &TForm1::HSpinHUpClick);
    connect(HSpinH, &SpinButton::DownClick, this, &TForm1::HSpinHDownClick);
    connect(MSpinH, &SpinButton::UpClick, this, &TForm1::MSpinHUpClick);
    connect(MSpinH, &SpinButton::DownClick, this, &TForm1::MSpinHDownClick);
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, &TForm1::ComboBox2Change);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PageControl1->widget(index) == TabSheet5)
            TabSheet5Show();
    });
    EnableClockModeControls();
}
