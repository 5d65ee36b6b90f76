#include "journal/session_checkpoint.h"
#include "support/test_support.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(SessionCheckpoint, RoundTripsEveryField) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.session");
    SessionRecord record;
    record.connection = "Wanadoo, Paris";
    record.tariff = "Tarif = local";
    record.date = QDate(2026, 3, 8);
    record.startTime = QTime(23, 59, 58);
    record.durationSeconds = 360001;
    record.statsAvailable = true;
    record.received = 5'000'000'000;
    record.sent = 7;
    record.cost = 0.1 + 0.2;
    ASSERT_TRUE(WriteSessionCheckpoint(name, record));
    const auto back = ReadSessionCheckpoint(name);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->connection, record.connection);
    EXPECT_EQ(back->tariff, record.tariff);
    EXPECT_EQ(back->date, record.date);
    EXPECT_EQ(back->startTime, record.startTime);
    EXPECT_EQ(back->durationSeconds, record.durationSeconds);
    EXPECT_TRUE(back->statsAvailable);
    EXPECT_EQ(back->received, record.received);
    EXPECT_EQ(back->sent, 7);
    EXPECT_EQ(back->cost, record.cost);
    EXPECT_TRUE(RemoveSessionCheckpoint(name));
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_TRUE(RemoveSessionCheckpoint(name));
}

TEST(SessionCheckpoint, MissingOrDamagedGivesNothing) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.session");
    EXPECT_FALSE(ReadSessionCheckpoint(name).has_value());
    WriteWholeFile(name, "[Tallivo session]\r\nConnexion=\r\nTarif=T\r\n");
    EXPECT_FALSE(ReadSessionCheckpoint(name).has_value());
    WriteWholeFile(name, "garbage");
    EXPECT_FALSE(ReadSessionCheckpoint(name).has_value());
}

TEST(CheckpointSchedule, FirstTickThenEveryHalfMinuteAndAgainForANewRun) {
    CheckpointSchedule schedule;
    EXPECT_TRUE(schedule.Due(0));
    schedule.Written(0);
    EXPECT_FALSE(schedule.Due(29));
    EXPECT_TRUE(schedule.Due(30));
    schedule.Written(31);
    EXPECT_FALSE(schedule.Due(60));
    EXPECT_TRUE(schedule.Due(5)); // a new run started
    schedule.Reset();
    EXPECT_TRUE(schedule.Due(40));
}

TEST(SessionCheckpoint, NamesWithLineBreaksAndTabsReadBackAsWritten) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.session");
    SessionRecord record;
    record.date = QDate(2026, 3, 8);
    record.startTime = QTime(10, 0, 0);
    for (const QString& text : {QStringLiteral("Ti\rrfa"), QStringLiteral("a\tb\nc"),
                                QStringLiteral("\b\x1b"
                                               "e\r"),
                                QStringLiteral("x\r\ny\t")}) {
        record.connection = text;
        record.tariff = text + "=";
        ASSERT_TRUE(WriteSessionCheckpoint(name, record));
        const auto back = ReadSessionCheckpoint(name);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->connection, record.connection);
        EXPECT_EQ(back->tariff, record.tariff);
    }
}
