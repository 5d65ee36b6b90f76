#include "support/program_process.h"
#include "support/test_support.h"

#include <QDir>
#include <csignal>
#include <gtest/gtest.h>

TEST(Termination, SigtermDuringTheSplashEndsCleanlyWithTheSettingsIntact) {
    ProgramCopy program;
    const QString settings = program.file(QStringLiteral("tallivo.ini"));
    const QByteArray saved = "[MainW]\nComboBox1=0\nAutomail=0\n[Last]\nHost=time.example\n";
    WriteWholeFile(settings, saved);
    QProcess* process = program.start();
    ASSERT_EQ(process->state(), QProcess::Running);
    process->waitForFinished(700); // well inside the two seconds of the splash
    ASSERT_EQ(process->state(), QProcess::Running) << process->readAll().toStdString();
    ::kill(pid_t(process->processId()), SIGTERM);

    ASSERT_TRUE(process->waitForFinished(20000));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit) << process->readAll().toStdString();
    EXPECT_EQ(process->exitCode(), 0);
    EXPECT_EQ(ReadWholeFile(settings), saved);
    EXPECT_EQ(QDir(program.folder()).entryList({"tallivo.ini*"}, QDir::Files),
              QStringList{"tallivo.ini"})
        << "nothing half written";
}
