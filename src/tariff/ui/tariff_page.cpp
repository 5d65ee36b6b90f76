#include "base/cell_grid.h"
#include "tariff/tariff_table.h"
#include "widgets/page_builder.h"
#include "widgets/tform1.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <functional>

namespace {
// Runs the edit's enter and exit handlers when the keyboard focus moves into it or out of it
// within the window (not when another window or a popup menu takes it for a while).
class FocusHandlers : public QObject {
  public:
    FocusHandlers(QWidget* edit, std::function<void()> enter, std::function<void()> exit)
        : QObject(edit), onEnter(std::move(enter)), onExit(std::move(exit)) {
        edit->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                (event->type() == QEvent::FocusIn ? onEnter : onExit)();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> onEnter;
    std::function<void()> onExit;
};

// The decimal point typed as a point (the keypad's key on most layouts) is the comma:
// the French spin box would drop it and read "0.15" as 15.
class AmountSpinBox : public QDoubleSpinBox {
  public:
    QValidator::State validate(QString& text, int& position) const override {
        text.replace(QLatin1Char('.'), locale().decimalPoint());
        return QDoubleSpinBox::validate(text, position);
    }
};

QDoubleSpinBox* AmountEdit(const char* name) {
    auto* edit = Named(new AmountSpinBox, name);
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

    targrid = new TCellGrid(this);
    targrid->setObjectName(QStringLiteral("targrid"));
    TariffTable::PrepareGrid(*targrid);

    connect(ComboTarif, &QComboBox::activated, this, [this] {
        ComboTarifClick();
        ComboTarifChange();
    });
    connect(ComboTarifAsso, &QComboBox::activated, this, &TForm1::ComboTarifAssoClick);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    new FocusHandlers(
        design, [this] { designEnter(); }, [this] { designExit(); });
    // A spin box finishes its editing when it loses the focus (or on Enter).
    const auto onExit = [this](QAbstractSpinBox* edit, void (TForm1::*handler)()) {
        connect(edit, &QAbstractSpinBox::editingFinished, this, handler);
    };
    onExit(coutmin, &TForm1::coutminExit);
    onExit(coutminc, &TForm1::coutminExit);
    onExit(coutdeb, &TForm1::coutdebExit);
    onExit(coutdebc, &TForm1::coutdebExit);
    for (QAbstractSpinBox* edit :
         {static_cast<QAbstractSpinBox*>(durdeb), static_cast<QAbstractSpinBox*>(durdebc),
          static_cast<QAbstractSpinBox*>(dch), static_cast<QAbstractSpinBox*>(dcm),
          static_cast<QAbstractSpinBox*>(debfor)})
        onExit(edit, &TForm1::durdebExit);
    onExit(durfor, &TForm1::durforExit);
}
