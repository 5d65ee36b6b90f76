#include "app/application_title.h"
#include "app/ui/windows.h"
#include "base/program_files.h"
#include "base/text_functions.h"
#include "journal/session_checkpoint.h"
#include "journal/ui/journal_window.h"
#include "support/app_fixture.h"
#include "support/program_process.h"
#include "widgets/tform1.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <csignal>
#include <cstdio>

using ChronometerJournalTest = AppWindowsTest;

TEST_F(ChronometerJournalTest, ANinetySecondRunIsOneRowThatSurvivesARestart) {
    Form1->Session.SetTariff(QStringLiteral("Tarif local"));
    Form1->StatsAvailable = false; // the byte columns stay empty
    Form1->coutmin->setValue(0.22);
    Form1->coutdeb->setValue(0);
    Form1->durdeb->setValue(0);
    Form1->durfor->setValue(0);
    Form1->SpeedButton1->click();
    Form1->SpeedButton2->click();
    for (int second = 0; second < 90; ++second) {
        clock->clock.advanceSeconds(1);
        Form1->Timer1Timer();
    }
    EXPECT_EQ(Form1->Label29->text(), "0,33 F");
    Form1->SpeedButton4->click();

    const QStringList row{"Manuel", "Tarif local", "08/12/2026", "10:00:00", "00:01:30", "",
                          "",       "0,33"};
    ASSERT_EQ(Journal->RowCount(), 2);
    EXPECT_EQ(Journal->jgrid->RowCells(1), row);

    StopProgram();
    const QByteArray file = ReadWholeFile(ProgramFiles::JournalFileName());
    EXPECT_TRUE(file.contains("0,1,Manuel\r\n1,1,Tarif local\r\n2,1,08/12/2026\r\n"
                              "3,1,10:00:00\r\n4,1,00:01:30\r\n7,1,0,33\r\n"));
    StartProgram();
    ASSERT_EQ(Journal->RowCount(), 2);
    EXPECT_EQ(Journal->jgrid->RowCells(1), row);
}

// Run in a child process by the test below: counts a chronometer run on the real clock
// until it is killed.
TEST(ChronometerCrashHelper, CountsUntilKilled) {
    const QString folder = qEnvironmentVariable("TALLIVO_CRASH_HELPER_FOLDER");
    if (folder.isEmpty())
        GTEST_SKIP() << "run by ChronometerCrash only";
    CreateWindowsOfProgramIn(folder);
    Form1->Session.SetTariff(QStringLiteral("Tarif crash"));
    Form1->SpeedButton1->click();
    Form1->SpeedButton2->click();
    ASSERT_TRUE(WaitUntil([] { return QFile::exists(ProgramFiles::CheckpointFileName()); }));
    std::printf("CHECKPOINTED\n");
    std::fflush(stdout);
    WaitUntil([] { return false; }, 60000);
}

TEST(ChronometerCrash, ARunKilledWithItsProgramIsOneRowAtTheNextStart) {
    ProgramCopy program;
    // A dial-up entry exists (simulated modem), so start-up asks nothing before the journal.
    WriteWholeFile(program.file("tallivo.ini"), "[Dialup]\r\nProvider=simulation\r\n");

    QProcess helper;
    QProcessEnvironment environment = program.environment();
    environment.insert("TALLIVO_CRASH_HELPER_FOLDER", program.folder());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    helper.setProcessEnvironment(environment);
    helper.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=ChronometerCrashHelper.*"});
    ASSERT_TRUE(WaitUntil(
        [&] {
            return helper.readAllStandardOutput().contains("CHECKPOINTED") ||
                   helper.state() == QProcess::NotRunning;
        },
        30000));
    ASSERT_EQ(helper.state(), QProcess::Running) << helper.readAllStandardError().toStdString();
    ::kill(pid_t(helper.processId()), SIGKILL);
    helper.waitForFinished(5000);

    const QString checkpoint = program.file("tallivo.session");
    const auto interrupted = ReadSessionCheckpoint(checkpoint);
    ASSERT_TRUE(interrupted.has_value());
    EXPECT_FALSE(QFile::exists(program.file("tallivo.jnl"))) << "the run never ended";
    const QByteArray checkpointBytes = ReadWholeFile(checkpoint);

    QProcess* first = program.start();
    ASSERT_TRUE(WaitUntil([&] { return !QFile::exists(checkpoint); }, 30000))
        << first->readAll().toStdString();
    const QByteArray journal = ReadWholeFile(program.file("tallivo.jnl"));
    EXPECT_TRUE(journal.startsWith("8,2\r\n")) << journal.toStdString();
    EXPECT_TRUE(journal.contains("0,1,Manuel\r\n1,1,Tarif crash\r\n"));
    EXPECT_TRUE(
        journal.contains("4,1," + DurationText(interrupted->durationSeconds).toUtf8() + "\r\n"));
    ::kill(pid_t(first->processId()), SIGKILL);
    first->waitForFinished(5000);

    // Had the program stopped between saving the row and removing the checkpoint, the next
    // start finds the row already there.
    WriteWholeFile(checkpoint, checkpointBytes);
    QProcess* second = program.start();
    ASSERT_TRUE(WaitUntil([&] { return !QFile::exists(checkpoint); }, 30000))
        << second->readAll().toStdString();
    EXPECT_TRUE(ReadWholeFile(program.file("tallivo.jnl")).startsWith("8,2\r\n"));
}
