#include "app/application_title.h"
#include "app/single_instance.h"
#include "support/program_process.h"
#include "support/test_support.h"
#include "support/ui_support.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {
bool MarkerAnswers(const ProgramCopy& program) {
    QLocalSocket socket;
    socket.connectToServer(program.file("runtime/") + TOnlyOne::MarkerName("Tallivo"));
    return socket.waitForConnected(200);
}
} // namespace

TEST(SingleInstance, TheMarkerNameUsesTheFirstTwentyCharactersOfTheTitle) {
    EXPECT_EQ(TOnlyOne::MarkerName("Tallivo"), "OnlyOneTallivo");
    EXPECT_EQ(TOnlyOne::MarkerName("123456789012345678901234"), "OnlyOne12345678901234567890");
}

TEST(SingleInstance, ASecondCopyHandsOverToTheFirstAndEnds) {
    ProgramCopy program;
    QProcess* first = program.start();
    ASSERT_TRUE(WaitUntil([&] { return MarkerAnswers(program); }, 20000))
        << first->readAll().toStdString();

    QProcess* second = program.start();
    ASSERT_TRUE(second->waitForFinished(20000)) << "the second copy must end by itself";
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);

    // The first copy keeps running and keeps its marker.
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_TRUE(MarkerAnswers(program));
}

TEST(SingleInstance, ACopyThatHandsOverWritesNoFile) {
    ProgramCopy program;
    QProcess* first = program.start();
    ASSERT_TRUE(WaitUntil([&] { return MarkerAnswers(program); }, 20000))
        << first->readAll().toStdString();
    const QString entry = program.file("config/autostart/Tallivo.desktop");
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(entry); }, 20000));
    const QByteArray written = ReadWholeFile(entry);

    // A copy of the program kept in another folder, started by the same user.
    ASSERT_TRUE(QDir(program.folder()).mkdir("other"));
    const QString otherExecutable = program.file("other/tallivo");
    ASSERT_TRUE(QFile::copy(program.executable(), otherExecutable));
    QProcess second;
    QProcessEnvironment environment = program.environment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(program.file("other"));
    second.start(otherExecutable, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_EQ(ReadWholeFile(entry), written) << "the entry must still start the first copy";
    EXPECT_EQ(QDir(program.file("config/autostart")).entryList(QDir::Files),
              QStringList{"Tallivo.desktop"});
    EXPECT_EQ(QDir(program.file("other")).entryList(QDir::Files), QStringList{"tallivo"})
        << "no settings, tariff or journal file beside the second copy";
}

TEST(SingleInstance, AMarkerLeftByACopyThatDiedIsTakenOver) {
    ProgramCopy program;
    QProcess* first = program.start();
    ASSERT_TRUE(WaitUntil([&] { return MarkerAnswers(program); }, 20000));
    ::kill(pid_t(first->processId()), SIGKILL);
    first->waitForFinished(5000);

    QProcess* next = program.start();
    EXPECT_TRUE(WaitUntil([&] { return MarkerAnswers(program); }, 20000));
    EXPECT_EQ(next->state(), QProcess::Running) << "a stale marker must not stop the program";
}

TEST(SingleInstance, ACopyThatCannotFindTheMarkerStillLeavesTheFirstCopysFilesAlone) {
    ScopedProgramFolder folder;
    const QByteArray formerRuntime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir firstRuntime, secondRuntime;
    qputenv("XDG_RUNTIME_DIR", firstRuntime.path().toUtf8());
    auto first = std::make_unique<TOnlyOne>();
    first->EnforceOnlyOne = true;
    ASSERT_TRUE(first->Check());

    // Started through su or sudo: another runtime folder, the same data folder.
    qputenv("XDG_RUNTIME_DIR", secondRuntime.path().toUtf8());
    TOnlyOne second;
    second.EnforceOnlyOne = true;
    EXPECT_FALSE(second.Check());
    EXPECT_TRUE(second.TerminationRequested());
    EXPECT_TRUE(second.OwnerUnreachable());

    first.reset();
    TOnlyOne next;
    next.EnforceOnlyOne = true;
    EXPECT_TRUE(next.Check()) << "the lock goes with the copy that held it";

    qputenv("XDG_RUNTIME_DIR", formerRuntime);
    SetApplicationTitle(QStringLiteral("Tallivo"));
}
