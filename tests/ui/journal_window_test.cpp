#include "app/ui/mini_window.h"
#include "app/ui/windows.h"
#include "base/program_files.h"
#include "journal/session_checkpoint.h"
#include "journal/ui/journal_window.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

namespace {
class JournalWindowTest : public AppWindowsTest {
  protected:
    QString JournalFile() const { return ProgramFiles::JournalFileName(); }
    QString CheckpointFile() const { return ProgramFiles::CheckpointFileName(); }

    void StartRun() {
        Form1->Session.SetTariff(QStringLiteral("Tarif local"));
        Form1->SpeedButton1->click();
        Form1->SpeedButton2->click();
    }
    void Tick(int seconds) {
        for (int second = 0; second < seconds; ++second) {
            clock->clock.advanceSeconds(1);
            Form1->Timer1Timer();
        }
    }
    void Restart() {
        StopProgram();
        StartProgram();
    }
};

SessionRecord Interrupted() {
    SessionRecord record;
    record.connection = QStringLiteral("Wanadoo");
    record.tariff = QStringLiteral("Tarif local");
    record.date = QDate(2026, 12, 7);
    record.startTime = QTime(22, 15, 0);
    record.durationSeconds = 42 * 60;
    record.statsAvailable = true;
    record.received = 4096;
    record.sent = 512;
    record.cost = 9.24;
    return record;
}

const QStringList interruptedRow{"Wanadoo",  "Tarif local", "07/12/2026", "22:15:00",
                                 "00:42:00", "4096",        "512",        "9,24"};
} // namespace

TEST_F(JournalWindowTest, TheJournalIsLoadedBeforeTheMonitorStarts) {
    StopProgram();
    WriteWholeFile(JournalFile(), "8,2\r\n0,0,Connexion\r\n0,1,Manuel\r\n4,1,00:10:00\r\n");
    StartProgram();
    ASSERT_EQ(Journal->RowCount(), 2);
    EXPECT_EQ(Journal->jgrid->Cells(4, 1), "00:10:00");
    EXPECT_EQ(Journal->jgrid->ColCount(), 8);
    EXPECT_TRUE(Form1->Timer2->isActive());
}

TEST_F(JournalWindowTest, ADamagedJournalIsReportedAndKeptAside) {
    StopProgram();
    const QByteArray damaged = "0,2\r\n0,1,Wanadoo\r\n";
    WriteWholeFile(JournalFile(), damaged);
    auto errorBox = AnswerNextBox("OK", 3000);
    StartProgram();
    errorBox->Cancel();
    const QString expected = "File contains no data or corrupt file " + JournalFile();
    EXPECT_TRUE((errorBox->title == "Erreur" && errorBox->text == expected) ||
                (startWarning->title == "Erreur" && startWarning->text == expected));
    EXPECT_TRUE(Form1->Timer2->isActive());
    const QStringList copies = QDir(folder->path()).entryList({"tallivo.jnl.endommage-*"});
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(ReadWholeFile(folder->file(copies.first())), damaged);

    StartRun();
    Tick(10);
    Form1->SpeedButton4->click();
    EXPECT_TRUE(ReadWholeFile(JournalFile()).startsWith("8,2\r\n"));
    EXPECT_EQ(ReadWholeFile(folder->file(copies.first())), damaged);
}

TEST_F(JournalWindowTest, ARunIsCheckpointedWhileCountedAndTheCheckpointGoesAtItsEnd) {
    StartRun();
    EXPECT_FALSE(QFile::exists(CheckpointFile()));
    Tick(1);
    auto saved = ReadSessionCheckpoint(CheckpointFile());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->durationSeconds, 1);
    EXPECT_EQ(saved->tariff, "Tarif local");
    Tick(29);
    EXPECT_EQ(ReadSessionCheckpoint(CheckpointFile())->durationSeconds, 1);
    Tick(1);
    EXPECT_EQ(ReadSessionCheckpoint(CheckpointFile())->durationSeconds, 31);
    Tick(29);
    Form1->SpeedButton4->click();
    EXPECT_FALSE(QFile::exists(CheckpointFile()));
    ASSERT_EQ(Journal->RowCount(), 2);
    EXPECT_EQ(Journal->jgrid->Cells(4, 1), "00:01:00");
}

TEST_F(JournalWindowTest, ALeftoverCheckpointBecomesOneRowAtTheNextStart) {
    StopProgram();
    ASSERT_TRUE(WriteSessionCheckpoint(CheckpointFile(), Interrupted()));
    StartProgram();
    ASSERT_EQ(Journal->RowCount(), 2);
    EXPECT_EQ(Journal->jgrid->RowCells(1), interruptedRow);
    EXPECT_FALSE(QFile::exists(CheckpointFile()));
    EXPECT_TRUE(ReadWholeFile(JournalFile()).contains("4,1,00:42:00\r\n"));

    Restart();
    EXPECT_EQ(Journal->RowCount(), 2);
}

TEST_F(JournalWindowTest, ADamagedCheckpointIsToldAndKeptAside) {
    StopProgram();
    WriteWholeFile(CheckpointFile(), "[Tallivo session]\r\nDuree=00:0");
    auto box = AnswerNextBox("OK", 3000);
    StartProgram();
    box->Cancel();
    const QString start = "Une session interrompue n'a pas pu être relue";
    EXPECT_TRUE(box->text.startsWith(start) || startWarning->text.startsWith(start));
    EXPECT_EQ(QDir(folder->path()).entryList({"tallivo.session.endommage-*"}).size(), 1);
}

TEST_F(JournalWindowTest, ACheckpointWhoseRowWasSavedAddsNothing) {
    StopProgram();
    ASSERT_TRUE(WriteSessionCheckpoint(CheckpointFile(), Interrupted()));
    StartProgram();
    // The program stopped after writing the row, before removing the checkpoint.
    StopProgram();
    ASSERT_TRUE(WriteSessionCheckpoint(CheckpointFile(), Interrupted()));
    StartProgram();
    EXPECT_EQ(Journal->RowCount(), 2);
    EXPECT_FALSE(QFile::exists(CheckpointFile()));
}

TEST_F(JournalWindowTest, ARunStillCountedAtTheEndIsAppended) {
    StartRun();
    Tick(30);
    StopProgram();
    EXPECT_FALSE(QFile::exists(CheckpointFile()));
    StartProgram();
    ASSERT_EQ(Journal->RowCount(), 2);
    EXPECT_EQ(Journal->jgrid->Cells(0, 1), "Manuel");
    EXPECT_EQ(Journal->jgrid->Cells(4, 1), "00:00:30");
}

TEST_F(JournalWindowTest, ClearingAsksFirstThenDeletesTheFile) {
    StartRun();
    Tick(5);
    Form1->SpeedButton4->click();
    ASSERT_TRUE(QFile::exists(JournalFile()));
    Journal->show();

    auto no = AnswerNextBox("&Non");
    Journal->ClearJournal();
    EXPECT_TRUE(no->seen);
    EXPECT_EQ(no->title, "Confirmation");
    EXPECT_EQ(no->text, "Voulez-vous vraiment effacer tout le journal ?");
    EXPECT_EQ(no->defaultButton, "&Non") << "Return does not erase the journal";
    EXPECT_EQ(Journal->RowCount(), 2);
    EXPECT_TRUE(QFile::exists(JournalFile()));

    auto yes = AnswerNextBox("&Oui");
    Journal->ClearJournal();
    EXPECT_TRUE(yes->seen);
    EXPECT_EQ(Journal->RowCount(), 1);
    EXPECT_FALSE(QFile::exists(JournalFile()));
    EXPECT_FALSE(Journal->isVisible());
    Journal->SaveJournal();
    EXPECT_FALSE(QFile::exists(JournalFile())) << "a header-only journal is not written";
}

TEST_F(JournalWindowTest, OnThePeriodsFirstDayTheHoursUsedBeforeAreResetAndLocked) {
    Form1->dch->setValue(12);
    Form1->dcm->setValue(30);
    Form1->debfor->setValue(8); // today is 8 December
    Form1->ComputeCost(0);      // the cost locks them on that day before reading them
    EXPECT_EQ(Form1->dch->value(), 0);
    EXPECT_EQ(Form1->dcm->value(), 0);
    EXPECT_FALSE(Form1->dch->isEnabled());
    EXPECT_EQ(Form1->dcm->toolTip(), "Ne peut être modifié le premier jour du forfait");
    // Stored in the tariff table, so that showing the tariff again does not bring them back.
    EXPECT_EQ(Form1->targrid->FloatCell(5, Form1->ComboTarif->currentIndex()), 0.0);
    EXPECT_TRUE(ReadWholeFile(ProgramFiles::TariffFileName()).contains(";0,00000;8,00000;"));

    Form1->debfor->setValue(9);
    Form1->ComputeCost(0);
    EXPECT_TRUE(Form1->dch->isEnabled());
    EXPECT_TRUE(Form1->dcm->isEnabled());
    EXPECT_EQ(Form1->dcm->toolTip(), "");
}
