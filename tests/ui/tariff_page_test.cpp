#include "app/ui/windows.h"
#include "base/cell_grid.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {
const QByteArray threeTariffs =
    QStringLiteral("Tarif par défaut;0,22000;0,00000;0,00000;0,00000;0,00000;"
                   "1,00000;0,12000;0,00000;0,00000\r\n"
                   "A;0,15000;0,10000;60,00000;20,00000;125,00000;15,00000;"
                   "0,07000;0,05000;30,00000\r\n"
                   "C;1,00000;0,00000;0,00000;0,00000;0,00000;1,00000;0,50000;"
                   "0,00000;0,00000\r\n")
        .toUtf8();

class TariffPageTest : public AppWindowsTest {
  protected:
    // Restarts the program on files prepared by the test.
    void RestartWith(const QByteArray& tariffFile, const QByteArray& settingsFile = {}) {
        StopProgram();
        WriteWholeFile(ProgramFiles::TariffFileName(), tariffFile);
        if (!settingsFile.isEmpty())
            WriteWholeFile(ProgramFiles::SettingsFileName(), settingsFile);
        StartProgram();
    }

    // The user picks a tariff in the drop-down list.
    void ChooseTariff(int index) {
        Form1->ComboTarif->setCurrentIndex(index);
        emit Form1->ComboTarif->activated(index);
    }

    QStringList TariffNames() const {
        QStringList names;
        for (int i = 0; i < Form1->ComboTarif->count(); ++i)
            names.append(Form1->ComboTarif->itemText(i));
        return names;
    }

    QByteArray TariffFileBytes() const { return ReadWholeFile(ProgramFiles::TariffFileName()); }

    QStringList DamagedCopies() const {
        return QDir(folder->path()).entryList({QStringLiteral("tallivo.csv.endommage-*")});
    }
};
} // namespace

TEST_F(TariffPageTest, WithoutAFileTheDefaultTariffIsShownAndSaved) {
    EXPECT_EQ(TariffNames(), QStringList({"Tarif par défaut"}));
    EXPECT_EQ(Form1->design->text(), "Tarif par défaut");
    EXPECT_DOUBLE_EQ(Form1->coutmin->value(), 0.22);
    EXPECT_DOUBLE_EQ(Form1->coutminc->value(), 0.12);
    EXPECT_EQ(Form1->coutdeb->value(), 0.0);
    EXPECT_EQ(Form1->durfor->value(), 0);
    EXPECT_EQ(Form1->debfor->value(), 1);
    EXPECT_EQ(Form1->coutmin->text(), "0,22000 F");
    EXPECT_EQ(Form1->Label28->text(), "Tarif par défaut");
    EXPECT_FALSE(Form1->Button4->isEnabled());

    Form1->SaveSettings();
    EXPECT_EQ(TariffFileBytes(), QStringLiteral("Tarif par défaut;0,22000;0,00000;0,00000;0,00000;"
                                                "0,00000;1,00000;0,12000;0,00000;0,00000\r\n")
                                     .toUtf8());
}

TEST_F(TariffPageTest, AStoredIndexPastTheListSelectsTheFirstTariff) {
    RestartWith(threeTariffs, "[MainW]\nComboTarif=5\n");
    EXPECT_EQ(TariffNames(), QStringList({"Tarif par défaut", "A", "C"}));
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 0);
    EXPECT_FALSE(Form1->Button4->isEnabled());

    RestartWith(threeTariffs, "[MainW]\nComboTarif=1\n");
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 1);
    EXPECT_EQ(Form1->Label28->text(), "A");
    EXPECT_EQ(Form1->Label28->textFormat(), Qt::PlainText); // a name is never markup
    EXPECT_TRUE(Form1->Button4->isEnabled());
}

TEST_F(TariffPageTest, ATariffIsShownInTheEditsAndTheConsumedTimeSplit) {
    RestartWith(threeTariffs);
    ChooseTariff(1);
    EXPECT_EQ(Form1->design->text(), "A");
    EXPECT_DOUBLE_EQ(Form1->coutmin->value(), 0.15);
    EXPECT_DOUBLE_EQ(Form1->coutdeb->value(), 0.1);
    EXPECT_EQ(Form1->durdeb->value(), 60);
    EXPECT_EQ(Form1->durfor->value(), 20);
    EXPECT_EQ(Form1->dch->value(), 2);
    EXPECT_EQ(Form1->dcm->value(), 5);
    EXPECT_EQ(Form1->debfor->value(), 15);
    EXPECT_DOUBLE_EQ(Form1->coutminc->value(), 0.07);
    EXPECT_DOUBLE_EQ(Form1->coutdebc->value(), 0.05);
    EXPECT_EQ(Form1->durdebc->value(), 30);
    EXPECT_EQ(Form1->Label28->text(), "A");
    EXPECT_EQ(Form1->Label28->textFormat(), Qt::PlainText); // a name is never markup

    Form1->dch->setValue(3);
    Form1->dcm->setValue(7);
    emit Form1->dcm->editingFinished();
    EXPECT_EQ(Form1->targrid->Cells(5, 1), "187,00000");
    Form1->coutminc->setValue(0.08);
    emit Form1->coutminc->editingFinished();
    EXPECT_EQ(Form1->targrid->Cells(7, 1), "0,08000");
    // Typed with a point, as the keypad's decimal key gives it.
    Form1->coutmin->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(Form1->coutmin, "0.15");
    EXPECT_DOUBLE_EQ(Form1->coutmin->value(), 0.15);
}

TEST_F(TariffPageTest, DeletingAsksFirstAndSelectsThePreviousTariff) {
    RestartWith(threeTariffs);
    ChooseTariff(2);
    ASSERT_TRUE(Form1->Button4->isEnabled());

    auto no = AnswerNextBox("&Non");
    Form1->Button4->click();
    EXPECT_TRUE(no->seen);
    EXPECT_EQ(no->title, "Confirmation");
    EXPECT_EQ(no->text, "Voulez-vous vraiment supprimer le tarif \"C\" ?");
    EXPECT_EQ(TariffNames().size(), 3);

    auto yes = AnswerNextBox("&Oui");
    Form1->Button4->click();
    EXPECT_TRUE(yes->seen);
    EXPECT_EQ(TariffNames(), QStringList({"Tarif par défaut", "A"}));
    EXPECT_EQ(Form1->targrid->RowCount(), 2);
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 1);
    EXPECT_EQ(Form1->design->text(), "A");
    EXPECT_EQ(Form1->Label28->text(), "A");
    EXPECT_EQ(Form1->Label28->textFormat(), Qt::PlainText); // a name is never markup
    EXPECT_EQ(Form1->ComboTarifAsso->count(), 2);
}

TEST_F(TariffPageTest, ANewTariffIsAppendedWithZerosAndSelected) {
    RestartWith(threeTariffs);
    ChooseTariff(1);
    Form1->Button3->click();
    EXPECT_EQ(TariffNames(), QStringList({"Tarif par défaut", "A", "C", "Nouveau tarif"}));
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 3);
    EXPECT_EQ(Form1->design->text(), "Nouveau tarif");
    EXPECT_EQ(Form1->Label28->text(), "Nouveau tarif");
    EXPECT_TRUE(Form1->Button4->isEnabled());
    EXPECT_EQ(Form1->targrid->RowCells(3),
              QStringList({"Nouveau tarif", "0,00000", "0,00000", "0,00000", "0,00000", "0,00000",
                           "1,00000", "0,00000", "0,00000", "0,00000"}));
    EXPECT_EQ(Form1->dch->value(), 0);
    EXPECT_EQ(Form1->coutmin->value(), 0.0);
}

TEST_F(TariffPageTest, RenamingMovesTheExactlyMatchingAssociations) {
    RestartWith(threeTariffs, "[Associations]\nFree=A\nOrange=a\nWanadoo=A\n");
    ChooseTariff(1);
    Form1->ShowInFront();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Form1->design->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitUntil([] { return Form1->design->hasFocus(); }));
    Form1->design->setText("B");
    Form1->coutmin->setFocus(Qt::TabFocusReason); // leaving the designation renames
    ASSERT_TRUE(WaitUntil([] { return !Form1->design->hasFocus(); }));

    EXPECT_EQ(TariffNames(), QStringList({"Tarif par défaut", "B", "C"}));
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 1);
    EXPECT_EQ(Form1->targrid->Cells(0, 1), "B");
    EXPECT_EQ(Form1->Label28->text(), "B");
    EXPECT_EQ(Form1->ComboTarifAsso->itemText(1), "B");
    IniFile settings(ProgramFiles::SettingsFileName());
    EXPECT_EQ(settings.ReadString("Associations", "Free", ""), "B");
    EXPECT_EQ(settings.ReadString("Associations", "Orange", ""), "a");
    EXPECT_EQ(settings.ReadString("Associations", "Wanadoo", ""), "B");

    // Entering and leaving without a change renames nothing.
    const QByteArray before = ReadWholeFile(ProgramFiles::SettingsFileName());
    Form1->designEnter();
    Form1->designExit();
    EXPECT_EQ(ReadWholeFile(ProgramFiles::SettingsFileName()), before);
}

TEST_F(TariffPageTest, APriceTypedJustBeforeTheWindowClosesIsSaved) {
    RestartWith(threeTariffs);
    ChooseTariff(1);
    Form1->ShowInFront();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Form1->coutmin->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitUntil([] { return Form1->coutmin->hasFocus(); }));
    Form1->coutmin->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(Form1->coutmin, "0,44");
    Form1->close();
    EXPECT_TRUE(TariffFileBytes().contains("A;0,44000;")) << TariffFileBytes().toStdString();
}

TEST_F(TariffPageTest, ATariffChosenBySessionWhileTheDesignationHasFocusRenamesNothing) {
    RestartWith(threeTariffs, "[Associations]\nFree=A\nOrange=C\n");
    ChooseTariff(1);
    Form1->ShowInFront();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Form1->PageControl1->setCurrentWidget(Form1->TabSheet3);
    Form1->design->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitUntil([] { return Form1->design->hasFocus(); }));
    // A session on "Orange" shows its tariff in the edits, then the user leaves the edit.
    ASSERT_TRUE(Form1->SelectAssociatedTariff("Orange"));
    EXPECT_EQ(Form1->design->text(), "C");
    Form1->coutmin->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitUntil([] { return !Form1->design->hasFocus(); }));

    EXPECT_EQ(TariffNames(), QStringList({"Tarif par défaut", "A", "C"}));
    IniFile settings(ProgramFiles::SettingsFileName());
    EXPECT_EQ(settings.ReadString("Associations", "Free", ""), "A");
    EXPECT_EQ(settings.ReadString("Associations", "Orange", ""), "C");
}

TEST_F(TariffPageTest, AssociationsAreStoredAndShownForTheSelectedEntry) {
    RestartWith(threeTariffs, "[Associations]\nOrange=c\n");
    Form1->ComboBox1->clear();
    Form1->ComboBox1->addItems({"Free", "Orange"});
    Form1->ComboBox1->setCurrentIndex(0);
    Form1->ShowAssociation();
    EXPECT_EQ(Form1->ComboTarifAsso->currentIndex(), -1);

    Form1->ComboTarifAsso->setCurrentIndex(1);
    emit Form1->ComboTarifAsso->activated(1);
    IniFile settings(ProgramFiles::SettingsFileName());
    EXPECT_EQ(settings.ReadString("Associations", "Free", ""), "A");

    Form1->ComboBox1->setCurrentIndex(1);
    Form1->ShowAssociation();
    EXPECT_EQ(Form1->ComboTarifAsso->currentText(), "C") << "compared without regard to case";

    // A session on "Orange" makes its tariff the one used for the cost.
    EXPECT_TRUE(Form1->SelectAssociatedTariff("Orange"));
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 2);
    EXPECT_EQ(Form1->Label28->text(), "C");
    EXPECT_DOUBLE_EQ(Form1->coutmin->value(), 1.0);
    EXPECT_FALSE(Form1->SelectAssociatedTariff("Unknown"));
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 2);

    // Deleting the tariff keeps the association in the file. The association selected it
    // without the list's change handler, so the user picks it to have "Supprimer" enabled.
    ChooseTariff(2);
    const auto confirmation = AnswerNextBox("&Oui");
    Form1->Button4->click();
    EXPECT_TRUE(confirmation->seen);
    EXPECT_EQ(TariffNames(), QStringList({"Tarif par défaut", "A"}));
    EXPECT_EQ(settings.ReadString("Associations", "Orange", ""), "c");
}

TEST_F(TariffPageTest, TheFileWrittenAfterEditsReadsBackTheSameTable) {
    RestartWith(threeTariffs);
    Form1->Button3->click();
    Form1->design->setText("Soir; \"promo\"");
    Form1->designExit();
    Form1->coutmin->setValue(1234.5);
    Form1->durfor->setValue(30);
    emit Form1->durfor->editingFinished();
    const QStringList names = TariffNames();
    QList<QStringList> rows;
    for (int row = 0; row < Form1->targrid->RowCount(); ++row)
        rows.append(Form1->targrid->RowCells(row));
    Form1->SaveSettings();

    TCellGrid read;
    read.SetSeparator(QLatin1Char(';'));
    read.LoadFromDelimitedFile(ProgramFiles::TariffFileName());
    ASSERT_EQ(read.RowCount(), rows.size());
    for (int row = 0; row < rows.size(); ++row)
        EXPECT_EQ(read.RowCells(row), rows[row]);

    StopProgram();
    StartProgram();
    EXPECT_EQ(TariffNames(), names);
    EXPECT_EQ(Form1->ComboTarif->currentIndex(), 3);
    EXPECT_EQ(Form1->design->text(), "Soir; \"promo\"");
    EXPECT_DOUBLE_EQ(Form1->coutmin->value(), 1234.5);
    EXPECT_EQ(Form1->durfor->value(), 30);
}

TEST_F(TariffPageTest, ADamagedFileIsReportedAndNotWrittenOverUntilTheUserChangesTheTable) {
    // A box during start-up would need answering before the fixture's own: the table is
    // read again instead, as after a tariff update.
    const QByteArray damaged = threeTariffs + "D;cher;0;0;0;0;1;0;0;0\r\n";
    WriteWholeFile(ProgramFiles::TariffFileName(), damaged);
    auto box = AnswerNextBox("OK");
    Form1->LoadTariffTable();
    EXPECT_TRUE(box->seen);
    EXPECT_EQ(box->title, "Erreur");
    EXPECT_EQ(box->text, "Cell does not contain a float value");
    EXPECT_EQ(TariffNames(), QStringList({"Tarif par défaut", "A", "C"}));
    EXPECT_EQ(DamagedCopies().size(), 1);

    Form1->SaveSettings();
    Form1->PageControl1->setCurrentWidget(Form1->TabSheet3);
    emit Form1->coutmin->editingFinished(); // leaving an edit without a change
    Form1->SaveSettings();
    EXPECT_EQ(TariffFileBytes(), damaged);

    Form1->Button3->click(); // the user's own change
    Form1->SaveSettings();
    EXPECT_EQ(TariffFileBytes(), threeTariffs + QStringLiteral("Nouveau tarif;0,00000;0,00000;0,"
                                                               "00000;0,00000;0,00000;1,00000;0,"
                                                               "00000;0,00000;0,00000\r\n")
                                                    .toUtf8());
}

TEST_F(TariffPageTest, AnUnreadableFileGivesTheDefaultTariffAndStaysUntouched) {
    QFile::remove(ProgramFiles::TariffFileName());
    QDir().mkpath(ProgramFiles::TariffFileName()); // a folder where the file should be
    auto box = AnswerNextBox("OK");
    Form1->LoadTariffTable();
    EXPECT_TRUE(box->seen);
    EXPECT_EQ(box->text, "Cannot open file " + ProgramFiles::TariffFileName());
    EXPECT_EQ(TariffNames(), QStringList({"Tarif par défaut"}));
    EXPECT_TRUE(Form1->TariffFileProtected);
    Form1->SaveSettings();
    EXPECT_TRUE(QFileInfo(ProgramFiles::TariffFileName()).isDir());
}
