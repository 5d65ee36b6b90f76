#pragma once

#include "support/test_support.h"
#include "support/ui_support.h"

#include <gtest/gtest.h>
#include <memory>

// Creates the program's whole window set, as at start-up, on a temporary program folder and
// a manual clock (Tuesday 8 December 2026, 10:00:00). The warning about missing dial-up
// entries is answered automatically. Quitting does not end the test program: it is counted.
class AppWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Start-up and end of the program, for tests that restart it on the same folder.
    void StartProgram();
    void StopProgram();
    // Starts the program again with this dial-up provider ("simulation", "none"...).
    void RestartWithProvider(const QString& provider);

    QDateTime StartMoment() const { return QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)); }

    std::unique_ptr<ScopedProgramFolder> folder;
    std::unique_ptr<ScopedClock> clock;
    std::shared_ptr<AnsweredBox> startWarning;
    int exitRequests = 0;
};

// The program on the simulated modem, a hundred times faster, its poll stopped: the test ticks
// itself (Form1->PollConnection()) or starts the poll when it wants it.
class SimulatedModemTest : public AppWindowsTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Dials an entry as "Connecter" does, without the chooser.
    void Dial(const QString& entry);
};
