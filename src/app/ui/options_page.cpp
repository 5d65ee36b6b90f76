#include "widgets/page_builder.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

void TForm1::BuildOptionsPage() {
    TabSheet1 = Named(new QWidget, "TabSheet1");
    auto* page = new QGridLayout(TabSheet1);

    auto* entryBox = new QGroupBox;
    auto* entry = new QGridLayout(entryBox);
    entry->addWidget(CaptionLabel(QStringLiteral("Connexion :")), 0, 0);
    ComboBox1 = Named(new QComboBox, "ComboBox1");
    ComboBox1->setMinimumWidth(180);
    entry->addWidget(ComboBox1, 0, 1);
    Poubelle7 =
        Named(new QToolButton, "Poubelle7", QStringLiteral("Supprime la connexion courante"));
    Poubelle7->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    entry->addWidget(Poubelle7, 0, 2);
    entry->addWidget(CaptionLabel(QStringLiteral("Tarif :")), 1, 0);
    ComboTarifAsso = Named(new QComboBox, "ComboTarifAsso",
                           QStringLiteral("Tarification associée à cette connexion"));
    entry->addWidget(ComboTarifAsso, 1, 1, 1, 2);
    const auto addDetail = [entry](int row, const QString& caption, QLabel*& label,
                                   const char* name) {
        entry->addWidget(CaptionLabel(caption), row, 0);
        label = Named(new QLabel, name);
        // A long number or port is cut at the group's edge instead of widening the page.
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        entry->addWidget(label, row, 1, 1, 2);
    };
    addDetail(2, QStringLiteral("Téléphone :"), Label2, "Label2");
    addDetail(3, QStringLiteral("Nom modem :"), Label6, "Label6");
    addDetail(4, QStringLiteral("Type modem :"), Label8, "Label8");
    addDetail(5, QStringLiteral("Port modem :"), Label9, "Label9");
    entry->setColumnStretch(1, 1);
    page->addWidget(entryBox, 0, 0);

    auto* commands = new QVBoxLayout;
    Button13 = Named(new QPushButton(QStringLiteral("Propriétés")), "Button13");
    RenameBtn = Named(new QPushButton(QStringLiteral("Renommer")), "RenameBtn");
    CreateBtn = Named(new QPushButton(QStringLiteral("Créer")), "CreateBtn");
    UserBtn = Named(new QPushButton(QStringLiteral("Nom utilisateur")), "UserBtn");
    PWBtn = Named(new QPushButton(QStringLiteral("Mot de passe")), "PWBtn");
    for (QPushButton* button : {Button13, RenameBtn, CreateBtn, UserBtn, PWBtn})
        commands->addWidget(button);
    commands->addStretch();
    page->addLayout(commands, 0, 1);
    // The connection's details take the width the commands leave, whatever their length.
    page->setColumnStretch(0, 1);

    auto* general = new QGridLayout;
    ShowOnStart =
        Named(new QCheckBox(QStringLiteral("Montrer les options au démarrage")), "ShowOnStart");
    WinStart = Named(new QCheckBox(QStringLiteral("Démarrer avec Windows")), "WinStart");
    CheckBox2 =
        Named(new QCheckBox(QStringLiteral("Compteur toujours au premier plan")), "CheckBox2");
    general->addWidget(ShowOnStart, 0, 0);
    general->addWidget(WinStart, 1, 0);
    general->addWidget(CheckBox2, 2, 0);
    auto* currency = new QHBoxLayout;
    currency->addWidget(CaptionLabel(QStringLiteral("Unité monétaire :")));
    CurrEdit = Named(new QLineEdit(QStringLiteral("F")), "CurrEdit");
    CurrEdit->setMaxLength(1);
    CurrEdit->setFixedWidth(30);
    currency->addWidget(CurrEdit);
    currency->addStretch();
    general->addLayout(currency, 0, 1);
    AboutBtn = Named(new QPushButton(QStringLiteral("A propos")), "AboutBtn");
    general->addWidget(AboutBtn, 2, 1, Qt::AlignRight);
    page->addLayout(general, 1, 0, 1, 2);

    connect(AboutBtn, &QPushButton::clicked, this, &TForm1::AboutBtnClick);
    connect(CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
    connect(WinStart, &QCheckBox::toggled, this, &TForm1::WinStartClick);
    connect(CurrEdit, &QLineEdit::textChanged, this, &TForm1::CurrEditChange);
    connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Click);
    connect(Poubelle7, &QToolButton::clicked, this, &TForm1::Poubelle7Click);
    connect(Button13, &QPushButton::clicked, this, &TForm1::Button13Click);
    connect(CreateBtn, &QPushButton::clicked, this, &TForm1::CreateBtnClick);
    connect(RenameBtn, &QPushButton::clicked, this, &TForm1::RenameBtnClick);
    connect(UserBtn, &QPushButton::clicked, this, &TForm1::UserBtnClick);
    connect(PWBtn, &QPushButton::clicked, this, &TForm1::PWBtnClick);
}
