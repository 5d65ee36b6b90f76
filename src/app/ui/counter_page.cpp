#include "widgets/cached_group_box.h"
#include "widgets/counter_glyphs.h"
#include "widgets/counter_text.h"
#include "widgets/page_builder.h"
#include "widgets/tform1.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

void TForm1::BuildCounterPage() {
    TabSheet2 = Named(new QWidget, "TabSheet2");
    auto* page = new QVBoxLayout(TabSheet2);

    GroupBox1 = Named(new CachedGroupBox(QStringLiteral("Non connecté")), "GroupBox1");
    auto* grid = new QGridLayout(GroupBox1);
    grid->addWidget(CaptionLabel(QStringLiteral("Tarification :")), 0, 0);
    Label28 = Named(new QLabel, "Label28");
    grid->addWidget(Label28, 0, 1, 1, 3);

    Label13 = Named(new QLabel(QStringLiteral("00:00:00")), "Label13");
    QFont large = Label13->font();
    large.setPointSize(22);
    large.setBold(true);
    Label13->setFont(large);
    Label29 = Named(new QLabel, "Label29");
    Label29->setFont(large);
    Label29->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label29->setMinimumWidth(150);
    QPalette red = Label29->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label29->setPalette(red);
    grid->addWidget(Label13, 1, 0, 1, 2);
    grid->addWidget(Label29, 1, 2, 1, 2);

    SpeedButton1 = Named(new QToolButton, "SpeedButton1", QStringLiteral("Chronomètre manuel"));
    SpeedButton1->setCheckable(true);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    SpeedButton2 = Named(new QToolButton, "SpeedButton2");
    SpeedButton2->setText(QStringLiteral("Démarrer"));
    SpeedButton2->setEnabled(false);
    SpeedButton4 = Named(new QToolButton, "SpeedButton4");
    SpeedButton4->setText(QStringLiteral("Arrêter"));
    SpeedButton4->setEnabled(false);
    auto* chronometer = new QHBoxLayout;
    chronometer->addWidget(SpeedButton1);
    chronometer->addWidget(SpeedButton2);
    chronometer->addWidget(SpeedButton4);
    chronometer->addStretch();
    grid->addLayout(chronometer, 2, 0, 1, 4);

    const auto addValue = [grid](int row, int column, const QString& caption, QLabel*& label,
                                 const char* name) {
        grid->addWidget(CaptionLabel(caption), row, column);
        label = Named(new QLabel, name);
        label->setMinimumWidth(110);
        grid->addWidget(label, row, column + 1);
    };
    addValue(3, 0, QStringLiteral("Transmis :"), StatXmit, "StatXmit");
    addValue(3, 2, QStringLiteral("Reçu :"), StatRecv, "StatRecv");
    addValue(4, 0, QStringLiteral("Vitesse instantanée :"), ConnSpeed, "ConnSpeed");
    addValue(4, 2, QStringLiteral("Vitesse moyenne :"), mspeed, "mspeed");
    addValue(5, 0, QStringLiteral("Adresse IP serveur :"), ips, "ips");
    addValue(5, 2, QStringLiteral("Adresse IP client :"), ipc, "ipc");
    Label31 = Named(new QLabel(QStringLiteral("Reste dans le forfait :")), "Label31");
    restefor = Named(new QLabel, "restefor");
    grid->addWidget(Label31, 6, 0);
    grid->addWidget(restefor, 6, 1);
    Label31->hide();
    restefor->hide();
    LayOutWithoutShaping({Label13, Label29, StatXmit, StatRecv, ips, ipc, restefor});
    DrawFromGlyphs({Label13, Label29, StatXmit, StatRecv, ConnSpeed, mspeed, ips, ipc, restefor});
    page->addWidget(GroupBox1);

    Image1 = Named(new QLabel(TabSheet2), "Image1");
    Image2 = Named(new QLabel(TabSheet2), "Image2");
    Image3 = Named(new QLabel(TabSheet2), "Image3");

    Button11 = Named(new QPushButton, "Button11");
    Button12 = Named(new QPushButton(QStringLiteral("Cacher la fenêtre")), "Button12");
    Button1 = Named(new QPushButton(QStringLiteral("Connecter")), "Button1");
    Button2 = Named(new QPushButton(QStringLiteral("Déconnecter")), "Button2");
    Button2->setEnabled(false);
    Button6 = Named(new QPushButton(QStringLiteral("Journal...")), "Button6");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Button1, Button2, Button6, Button12, Button11})
        buttons->addWidget(button);
    page->addLayout(buttons);

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
    connect(Button11, &QPushButton::clicked, this, &TForm1::Button11Click);
    connect(Button12, &QPushButton::clicked, this, &TForm1::Button12Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Journal1Click);
}
