// The tariff page: the tariff table kept in `targrid`, shown one tariff at a time in the
// page's edits, and the association of dial-up entries with tariffs.
#include "app/settings_keys.h"
#include "base/cell_grid.h"
#include "base/clock.h"
#include "base/damaged_files.h"
#include "base/errors.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "tariff/tariff_table.h"
#include "widgets/message_box.h"
#include "widgets/tform1.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {
const QString associations = QStringLiteral("Associations");

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

} // namespace

void TForm1::LoadTariffTable() {
    ComboTarif->clear();
    const QString fileName = ProgramFiles::TariffFileName();
    TariffTable::FileLoad load;
    if (QFileInfo::exists(fileName)) {
        load = TariffTable::LoadFile(*targrid, fileName);
        if (load.rows > 0) {
            for (int row = 0; row < load.rows; ++row)
                ComboTarif->addItem(targrid->Cells(0, row));
            const int stored = SettingKeys::Read(ProgramFiles::SettingsFile(),
                                                 SettingKeys::Find(QStringLiteral("MainW"),
                                                                   QStringLiteral("ComboTarif")))
                                   .toInt();
            ComboTarif->setCurrentIndex(TariffTable::SelectedIndex(stored, ComboTarif->count()));
            ShowSelectedTariff();
        }
    }
    if (ComboTarif->count() == 0) {
        // No usable tariff: the default one, written by the next save.
        const TariffRow tariff = TariffTable::DefaultTariff();
        ComboTarif->addItem(tariff.designation);
        ComboTarif->setCurrentIndex(0);
        design->setText(tariff.designation);
        coutmin->setValue(tariff.peakMinuteCost);
        coutdeb->setValue(tariff.peakStartCost);
        durdeb->setValue(tariff.peakStartSeconds);
        durfor->setValue(tariff.allowanceHours);
        dch->setValue(0);
        dcm->setValue(0);
        debfor->setValue(tariff.periodStartDay);
        coutminc->setValue(tariff.offPeakMinuteCost);
        coutdebc->setValue(tariff.offPeakStartCost);
        durdebc->setValue(tariff.offPeakStartSeconds);
        targrid->Clear();
        TariffTable::PrepareGrid(*targrid);
        StoreSelectedTariff();
    }
    TariffFileProtected = !load.result;
    ComboTarifChange();
    if (!load.result) {
        PutDamagedFileAside(fileName);
        ShowErrorBox(load.result.Message(), this);
    }
}

void TForm1::ShowSelectedTariff() {
    const int index = ComboTarif->currentIndex();
    design->setText(ComboTarif->itemText(index));
    // Another tariff shown while the edit keeps the focus (a session selecting its tariff)
    // is no renaming: leaving the edit must not move the associations of the one before.
    OldDesignation = design->text();
    TariffRow tariff;
    if (index >= 0) {
        try {
            tariff = TariffTable::ReadRow(*targrid, index);
        } catch (const AppError& error) {
            ShowErrorBox(error.message(), this);
            return;
        }
    }
    coutmin->setValue(tariff.peakMinuteCost);
    coutdeb->setValue(tariff.peakStartCost);
    durdeb->setValue(tariff.peakStartSeconds);
    durfor->setValue(tariff.allowanceHours);
    dch->setValue(TariffTable::ConsumedHours(tariff.consumedMinutes));
    dcm->setValue(TariffTable::ConsumedRemainder(tariff.consumedMinutes));
    debfor->setValue(tariff.periodStartDay);
    coutminc->setValue(tariff.offPeakMinuteCost);
    coutdebc->setValue(tariff.offPeakStartCost);
    durdebc->setValue(tariff.offPeakStartSeconds);
}

void TForm1::StoreSelectedTariff() {
    const int index = ComboTarif->currentIndex();
    if (index < 0 || index >= targrid->RowCount())
        return;
    TariffRow tariff;
    tariff.designation = design->text();
    tariff.peakMinuteCost = coutmin->value();
    tariff.peakStartCost = coutdeb->value();
    tariff.peakStartSeconds = durdeb->value();
    tariff.allowanceHours = durfor->value();
    tariff.consumedMinutes = TariffTable::ConsumedMinutes(dch->value(), dcm->value());
    tariff.periodStartDay = debfor->value();
    tariff.offPeakMinuteCost = coutminc->value();
    tariff.offPeakStartCost = coutdebc->value();
    tariff.offPeakStartSeconds = durdebc->value();
    const QStringList before = targrid->RowCells(index);
    TariffTable::WriteRow(*targrid, index, tariff);
    if (targrid->RowCells(index) != before)
        TariffFileProtected = false; // the table now holds the user's own changes
}

void TForm1::SaveTariffFile() {
    if (!TariffFileProtected)
        targrid->SaveToDelimitedFile(ProgramFiles::TariffFileName());
}

void TForm1::ShowAssociation() {
    const QString entry = ComboBox1->currentText();
    if (ComboBox1->currentIndex() < 0 || entry.isEmpty())
        return;
    const QString tariff = ProgramFiles::SettingsFile().ReadString(associations, entry, QString());
    if (tariff.isEmpty()) {
        ComboTarifAsso->setCurrentIndex(-1);
        return;
    }
    ComboTarifAsso->setCurrentIndex(TariffTable::FindDesignation(Items(ComboTarifAsso), tariff));
}

void TForm1::StoreAssociation() {
    const QString entry = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : QString();
    const QString tariff =
        ComboTarifAsso->currentIndex() >= 0 ? ComboTarifAsso->currentText() : QString();
    if (entry.isEmpty() || tariff.isEmpty())
        return;
    try {
        ProgramFiles::SettingsFile().WriteString(associations, entry, tariff);
    } catch (const AppError& error) {
        ShowErrorBox(error.message(), this);
    }
}

bool TForm1::SelectAssociatedTariff(const QString& entryName) {
    if (entryName.isEmpty())
        return false;
    const QString tariff =
        ProgramFiles::SettingsFile().ReadString(associations, entryName, QString());
    if (tariff.isEmpty())
        return false;
    const int index = TariffTable::FindDesignation(Items(ComboTarif), tariff);
    if (index < 0)
        return false;
    ComboTarif->setCurrentIndex(index);
    ComboTarifClick();
    return true;
}

void TForm1::ComboTarifClick() {
    ShowSelectedTariff();
    Session.SetTariff(ComboTarif->currentText());
    Label28->setText(Session.tariff);
}

void TForm1::ComboTarifChange() {
    Button4->setEnabled(ComboTarif->currentIndex() > 0);
    Session.SetTariff(ComboTarif->currentText());
    Label28->setText(Session.tariff);
    ComboTarifAsso->clear();
    ComboTarifAsso->addItems(Items(ComboTarif));
    ComboTarifAsso->setCurrentIndex(-1); // a filled list starts without selection
    ShowAssociation();
}

void TForm1::Button3Click() {
    const TariffRow tariff = TariffTable::NewTariff(TariffTable::NewDesignation());
    ComboTarif->addItem(tariff.designation);
    design->setText(tariff.designation);
    for (QDoubleSpinBox* amount : {coutmin, coutdeb, coutminc, coutdebc})
        amount->setValue(0);
    for (QSpinBox* whole : {durdeb, durdebc, durfor, dch, dcm})
        whole->setValue(0);
    debfor->setValue(tariff.periodStartDay);
    targrid->SetRowCount(ComboTarif->count());
    ComboTarif->setCurrentIndex(ComboTarif->count() - 1);
    StoreSelectedTariff();
    ComboTarifChange();
}

void TForm1::Button4Click() {
    const int index = ComboTarif->currentIndex();
    if (index <= 0) // the first tariff cannot be deleted
        return;
    if (!AskYesNo(QStringLiteral("Voulez-vous vraiment supprimer le tarif \"") + design->text() +
                      QStringLiteral("\" ?"),
                  this))
        return;
    targrid->RemoveRow(index);
    ComboTarif->removeItem(index);
    ComboTarif->setCurrentIndex(index - 1);
    TariffFileProtected = false;
    ShowSelectedTariff();
    ComboTarifChange();
}

void TForm1::Button5Click() {
    try {
        SaveTariffFile();
    } catch (const AppError& error) {
        ShowErrorBox(error.message(), this);
    }
}

void TForm1::designEnter() {
    OldDesignation = design->text();
}

void TForm1::designExit() {
    if (const QString typed = design->text(); TariffTable::SingleLineDesignation(typed) != typed)
        design->setText(TariffTable::SingleLineDesignation(typed));
    const QString designation = design->text();
    if (designation == OldDesignation)
        return;
    const int index = ComboTarif->currentIndex();
    if (index >= 0)
        ComboTarif->setItemText(index, designation);
    StoreSelectedTariff();
    try {
        IniFile settings = ProgramFiles::SettingsFile();
        TariffTable::RenameAssociations(settings, OldDesignation, designation);
    } catch (const AppError& error) {
        ShowErrorBox(error.message(), this);
    }
    // Leaving the edit again without a change does not rename a second time.
    OldDesignation = designation;
    ComboTarifChange();
}

void TForm1::coutminExit() {
    StoreSelectedTariff();
}
void TForm1::coutdebExit() {
    StoreSelectedTariff();
}
void TForm1::durdebExit() {
    StoreSelectedTariff();
}
void TForm1::durforExit() {
    StoreSelectedTariff();
}

void TForm1::ComboTarifAssoClick() {
    StoreAssociation();
}
