#include "app/ui/page_builder.h"
#include "app/ui/tform1.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QDoubleSpinBox* AmountEdit(const char* name) {
    auto* edit = Named(new QDoubleSpinBox, name);
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    edit->setLocale(QLocale(QLocale::French, QLocale::France));
    edit->setDecimals(5);
    edit->setRange(0, 999999.99999);
    edit->setGroupSeparatorShown(true);
    edit->setSuffix(QStringLiteral(" F"));
    edit->setMinimumWidth(110);
    return edit;
}

QSpinBox* WholeEdit(const char* name, int minimum, int maximum, const QString& hint = {}) {
    auto* edit = Named(new QSpinBox, name, hint);
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    edit->setRange(minimum, maximum);
    edit->setMaximumWidth(60);
    return edit;
}
} // namespace

void TForm1::BuildTariffPage() {
    TabSheet3 = Named(new QWidget, "TabSheet3");
    auto* page = new QVBoxLayout(TabSheet3);

    ComboTarif = Named(new QComboBox, "ComboTarif");
    page->addWidget(ComboTarif);

    auto* grid = new QGridLayout;
    design = Named(new QLineEdit, "design",
                   QStringLiteral("Vous pouvez modifier ici le nom du forfait"));
    grid->addWidget(CaptionLabel(QStringLiteral("Désignation :")), 0, 0);
    grid->addWidget(design, 0, 1, 1, 3);

    coutmin = AmountEdit("coutmin");
    coutdeb = AmountEdit("coutdeb");
    durdeb = WholeEdit("durdeb", 0, 9999, QStringLiteral("En secondes"));
    durfor = WholeEdit("durfor", 0, 9999, QStringLiteral("En heures"));
    debfor = WholeEdit("debfor", 1, 28, QStringLiteral("Premier jour du forfait (entre1 et 28)"));
    const QString consumedHint = QStringLiteral("Ne peut être modifié le premier jour du forfait");
    dch = WholeEdit("dch", 0, 9999, consumedHint);
    dcm = WholeEdit("dcm", 0, 59, consumedHint);
    coutminc = AmountEdit("coutminc");
    coutdebc = AmountEdit("coutdebc");
    durdebc = WholeEdit("durdebc", 0, 9999, QStringLiteral("En secondes"));

    const auto withUnit = [](QWidget* edit, const QString& unit) {
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        row->addWidget(CaptionLabel(unit));
        row->addStretch();
        return row;
    };
    grid->addWidget(CaptionLabel(QStringLiteral("Coût de la minute heures pleines :")), 1, 0);
    grid->addWidget(coutmin, 1, 1);
    grid->addWidget(CaptionLabel(QStringLiteral("Coût début appel heures pleines :")), 2, 0);
    grid->addWidget(coutdeb, 2, 1);
    grid->addWidget(CaptionLabel(QStringLiteral("Durée début appel heures pleines :")), 3, 0);
    grid->addLayout(withUnit(durdeb, QStringLiteral("sec")), 3, 1);
    grid->addWidget(CaptionLabel(QStringLiteral("Durée forfait :")), 4, 0);
    grid->addLayout(withUnit(durfor, QStringLiteral("h")), 4, 1);
    auto* period = new QHBoxLayout;
    period->addWidget(CaptionLabel(QStringLiteral("Le forfait commence le")));
    period->addWidget(debfor);
    period->addWidget(CaptionLabel(QStringLiteral("du mois")));
    period->addStretch();
    grid->addLayout(period, 5, 0, 1, 2);
    auto* consumed = new QHBoxLayout;
    consumed->addWidget(CaptionLabel(QStringLiteral("Déjà consommé :")));
    consumed->addWidget(dch);
    consumed->addWidget(CaptionLabel(QStringLiteral("h")));
    consumed->addWidget(dcm);
    consumed->addWidget(CaptionLabel(QStringLiteral("min")));
    consumed->addStretch();
    grid->addLayout(consumed, 6, 0, 1, 2);
    grid->addWidget(CaptionLabel(QStringLiteral("Coût de la minute heures creuses :")), 1, 2);
    grid->addWidget(coutminc, 1, 3);
    grid->addWidget(CaptionLabel(QStringLiteral("Coût début appel heures creuses :")), 2, 2);
    grid->addWidget(coutdebc, 2, 3);
    grid->addWidget(CaptionLabel(QStringLiteral("Durée début appel heures creuses :")), 3, 2);
    grid->addLayout(withUnit(durdebc, QStringLiteral("sec")), 3, 3);
    page->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    Button3 = Named(new QPushButton(QStringLiteral("Nouveau tarif")), "Button3");
    Button4 = Named(new QPushButton(QStringLiteral("Supprimer tarif")), "Button4");
    Button7 = Named(new QPushButton(QStringLiteral("Mise à jour par Internet")), "Button7");
    Button5 = Named(new QPushButton(QStringLiteral("Save")), "Button5");
    Button5->hide();
    for (QPushButton* button : {Button3, Button4, Button7, Button5})
        buttons->addWidget(button);
    buttons->addStretch();
    page->addLayout(buttons);
}
