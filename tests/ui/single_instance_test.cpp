#include "app/single_instance.h"
#include "support/program_process.h"
#include "support/ui_support.h"

#include <QLocalSocket>
#include <csignal>
#include <gtest/gtest.h>

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
