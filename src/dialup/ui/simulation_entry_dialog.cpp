#include "dialup/ui/simulation_entry_dialog.h"

#include "base/errors.h"
#include "base/ini_file.h"
#include "dialup/entry_names.h"
#include "widgets/dialog_buttons.h"
#include "widgets/message_box.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace {
// What the modem does, as the file says it and as the user reads it.
const QList<QPair<QString, QString>> Outcomes = {
    {QStringLiteral("connect"), QStringLiteral("Se connecte")},
    {QStringLiteral("busy"), QStringLiteral("Ligne occupée")},
    {QStringLiteral("noanswer"), QStringLiteral("Pas de réponse")},
    {QStringLiteral("badpassword"), QStringLiteral("Mot de passe refusé")},
    {QStringLiteral("drop"), QStringLiteral("Coupure après la durée indiquée")}};
} // namespace

TSimulationEntryDialog::TSimulationEntryDialog(const QString& phonebookFile,
                                               const QString& entryName, QWidget* parent)
    : QDialog(parent), File(phonebookFile), Creating(entryName.isEmpty()) {
    setObjectName(QStringLiteral("SimulationEntryDialog"));
    setWindowTitle(Creating ? QStringLiteral("Nouvelle connexion simulée")
                            : QStringLiteral("Propriétés de ") + entryName);
    const IniFile book(File);
    auto* layout = new QFormLayout(this);
    EntryName = new QLineEdit(entryName);
    EntryName->setObjectName(QStringLiteral("EntryName"));
    EntryName->setReadOnly(!Creating);
    PhoneNumber = new QLineEdit(book.ReadString(entryName, QStringLiteral("PhoneNumber"), {}));
    PhoneNumber->setObjectName(QStringLiteral("PhoneNumber"));
    UserName = new QLineEdit(book.ReadString(entryName, QStringLiteral("UserName"), {}));
    UserName->setObjectName(QStringLiteral("UserName"));
    Outcome = new QComboBox;
    Outcome->setObjectName(QStringLiteral("Outcome"));
    for (const auto& [key, text] : Outcomes)
        Outcome->addItem(text, key);
    const int current = Outcome->findData(
        book.ReadString(entryName, QStringLiteral("Outcome"), QStringLiteral("connect")).toLower());
    Outcome->setCurrentIndex(qMax(current, 0));
    DropAfter = new QSpinBox;
    DropAfter->setObjectName(QStringLiteral("DropAfter"));
    DropAfter->setRange(1, 86400);
    DropAfter->setValue(book.ReadInteger(entryName, QStringLiteral("DropAfter"), 60));
    DropAfter->setSuffix(QStringLiteral(" s"));
    layout->addRow(QStringLiteral("Nom de la connexion :"), EntryName);
    layout->addRow(QStringLiteral("Téléphone :"), PhoneNumber);
    layout->addRow(QStringLiteral("Nom utilisateur :"), UserName);
    layout->addRow(QStringLiteral("Le modem :"), Outcome);
    layout->addRow(QStringLiteral("Coupure après :"), DropAfter);
    layout->addRow(OkCancelButtons(this));
}

void TSimulationEntryDialog::accept() {
    const QString name = EntryName->text().trimmed();
    IniFile book(File);
    if (!IsValidSectionEntryName(name.toUtf8())) {
        ShowMessageBox(BoxKind::Error, QStringLiteral("Nom de connexion incorrect."),
                       {BoxButton::Ok}, this);
        return;
    }
    if (Creating && book.SectionExists(name)) {
        ShowMessageBox(BoxKind::Error, QStringLiteral("Une connexion porte déjà ce nom."),
                       {BoxButton::Ok}, this);
        return;
    }
    try {
        book.WriteString(name, QStringLiteral("PhoneNumber"), PhoneNumber->text().trimmed());
        book.WriteString(name, QStringLiteral("UserName"), UserName->text().trimmed());
        book.WriteString(name, QStringLiteral("Outcome"), Outcome->currentData().toString());
        book.WriteInteger(name, QStringLiteral("DropAfter"), DropAfter->value());
    } catch (const AppError& error) {
        ShowMessageBox(BoxKind::Error, error.message(), {BoxButton::Ok}, this);
        return;
    }
    QDialog::accept();
}
