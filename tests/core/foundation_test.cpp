#include "app/termination_signal.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/safe_write.h"
#include "base/text_encoding.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

TEST(Clock, DaysCountFromThe30thOfDecember1899) {
    EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    const QDateTime moment(QDate(2026, 12, 25), QTime(18, 59, 59));
    EXPECT_EQ(DaysToDateTime(DateTimeToDays(moment)), moment);

    // Values hold the wall clock: on the day clocks go forward, 10:00 stays 10:00.
    QDateTime back;
    QTime timeBack;
    {
        const ScopedTimeZone french;
        const QDateTime springForward(QDate(2026, 3, 29), QTime(10, 0));
        back = DaysToDateTime(DateTimeToDays(springForward));
        timeBack = DaysToTime(DateTimeToDays(springForward));
    }
    EXPECT_EQ(back.time(), QTime(10, 0));
    EXPECT_EQ(timeBack, QTime(10, 0));
    EXPECT_EQ(DaysToTime(1.0 - 0.1 / 86400000), QTime(0, 0)) << "rounded up to the next day";
}

TEST(Clock, ElapsedSecondsRoundHalvesToEven) {
    const qint64 start = 1'796'000'000'000;
    EXPECT_EQ(ElapsedSeconds(start, start + 90'000), 90);
    EXPECT_EQ(ElapsedSeconds(start, start + 2'500), 2);
    EXPECT_EQ(ElapsedSeconds(start, start + 3'500), 4);
    EXPECT_EQ(ElapsedSeconds(start, start + 400), 0);
}

TEST(Clock, AnInstalledClockIsWhatTheProgramReads) {
    const QDateTime easterMonday(QDate(2026, 4, 6), QTime(18, 59, 59));
    {
        ScopedClock fixed(easterMonday);
        EXPECT_EQ(Now(), easterMonday);
        fixed.clock.advanceSeconds(1);
        EXPECT_EQ(Now().time(), QTime(19, 0, 0));
    }
    EXPECT_NE(Now().date(), easterMonday.date());
}

TEST(Formats, ProgramWideTextForms) {
    EXPECT_EQ(TimeText(QTime(9, 5, 3)), "09:05:03");
    EXPECT_EQ(ShortTimeText(QTime(9, 5, 3)), "09:05");
    EXPECT_EQ(DateText(QDate(2026, 3, 7)), "07/03/2026");
    EXPECT_EQ(ParseDateText("07/03/2026"), QDate(2026, 3, 7));
    EXPECT_FALSE(ParseDateText("2026-03-07").isValid());
    EXPECT_EQ(FixedText(1.5, 2), "1,50");
    EXPECT_EQ(FixedText(-0.22, 5), "-0,22000");
    EXPECT_EQ(FixedText(-0.001, 2), "0,00");
    EXPECT_EQ(GroupedFixedText(1234567.5, 2), "1 234 567,50");
    EXPECT_EQ(GroupedFixedText(-0.22, 5), "-0,22000");
}

TEST(Formats, AmountsRoundToSevenSignificantDigitsThenTwoDecimals) {
    EXPECT_EQ(AmountText(0.33, "F"), "0,33 F");
    EXPECT_EQ(AmountText(0.143, "F"), "0,14 F");
    EXPECT_EQ(AmountText(1.0049999999, "F"), "1,01 F"); // 1,005000 at seven digits
    EXPECT_EQ(AmountText(2.675, "F"), "2,68 F");
    EXPECT_EQ(AmountText(123456.785, "F"), "123456,80 F");
    EXPECT_EQ(AmountText(1234567.891, "F"), "1234568,00 F");
    EXPECT_EQ(AmountText(-98765432.1, "F"), "-98765430,00 F");
}

TEST(Formats, DecimalTextAcceptsCommaOrPoint) {
    double value = 0;
    EXPECT_TRUE(ParseDecimalText("0,22", &value));
    EXPECT_DOUBLE_EQ(value, 0.22);
    EXPECT_TRUE(ParseDecimalText(" 1 234.5 ", &value));
    EXPECT_DOUBLE_EQ(value, 1234.5);
    EXPECT_FALSE(ParseDecimalText("abc", &value));
}

TEST(SafeWrite, ReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    ScopedProgramFolder folder;
    const QString name = folder.file("data.txt");
    WriteWholeFile(name, "old contents");
    ASSERT_TRUE(WriteFileSafely(name, "new"));
    EXPECT_EQ(ReadWholeFile(name), "new");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);

    // Asked before a long piece of work: nothing is left, a missing folder is said.
    EXPECT_TRUE(CheckFileCanBeWritten(folder.file("new.doc")));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);
    const Result missing = CheckFileCanBeWritten(folder.file("none/new.doc"));
    EXPECT_TRUE(missing.Message().endsWith("(le dossier n'existe pas)"))
        << missing.Message().toStdString();
}

TEST(SafeWrite, AFailureKeepsTheOldFileAndSaysWhy) {
    ScopedProgramFolder folder;
    const QString name = folder.file("data.txt");
    WriteWholeFile(name, "precious");
    EXPECT_EQ(WriteFileSafely(folder.file("absent/data.txt"), "x").Message(),
              "Impossible d'écrire dans " + folder.file("absent/data.txt") +
                  " (le dossier n'existe pas)");
    QDir().mkpath(folder.file("dossier"));
    EXPECT_EQ(WriteFileSafely(folder.file("dossier"), "x").Message(),
              "Impossible d'écrire dans " + folder.file("dossier") + " (un dossier porte ce nom)");
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    const Result written = WriteFileSafely(name, "lost?");
    const QString error = written.Message();
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.endsWith("(accès refusé)")) << error.toStdString();
    EXPECT_EQ(ReadWholeFile(name), "precious");
}

TEST(TextEncoding, Utf8IsReadAsSuchAndAnythingElseAsWindows1252) {
    EXPECT_EQ(DecodeFileText("Tarif par d\xC3\xA9"
                             "faut"),
              QString::fromUtf8("Tarif par défaut"));
    EXPECT_EQ(DecodeFileText("Tarif par d\xE9"
                             "faut"),
              QString::fromUtf8("Tarif par défaut"));
    EXPECT_EQ(DecodeFileText("\x80 \x9C"), QString::fromUtf8("€ œ"));
    EXPECT_EQ(EncodeFileText(QString::fromUtf8("é")), QByteArray("\xC3\xA9"));
}

TEST(SafeWrite, AFullDiskKeepsTheOldFileWholeAndLeavesNoTemporaryFile) {
    // A file-size limit makes writes fail as a full disk does, also for root.
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.jnl");
    WriteWholeFile(name, "8,2\r\nprecious rows\r\n");
    struct rlimit previous {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_DFL);
    IgnoreFileSizeLimitSignal(); // as the program does: else the write kills the process
    struct rlimit small = previous;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Result written = WriteFileSafely(name, QByteArray(4096, 'x'));
    const QString error = written.Message();
    // Contents made in pieces: the pieces after the failing one change nothing either.
    const QByteArray piece(40, 'y');
    const Result writtenInPieces = WriteFileSafely(name, [&piece](const PieceWriter& write) {
        for (int i = 0; i < 3; ++i)
            write(piece.constData(), piece.size());
    });
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_FALSE(writtenInPieces);
    EXPECT_TRUE(error.endsWith("(le disque est peut-être plein)")) << error.toStdString();
    EXPECT_EQ(ReadWholeFile(name), "8,2\r\nprecious rows\r\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"tallivo.jnl"});
}
