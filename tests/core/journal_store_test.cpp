#include "base/errors.h"
#include "base/formats.h"
#include "base/text_functions.h"
#include "journal/cell_file.h"
#include "journal/journal_preload.h"
#include "journal/journal_store.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
SessionRecord Session(const QString& connection, const QString& tariff, const QDate& date,
                      const QString& duration, double cost) {
    SessionRecord record;
    record.connection = connection;
    record.tariff = tariff;
    record.date = date;
    record.startTime = QTime(21, 5, 9);
    record.durationSeconds = static_cast<qint32>(DurationSeconds(duration).value());
    record.cost = cost;
    return record;
}

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& error) {
        return error.message();
    }
    return {};
}

QStringList DamagedCopies(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("tallivo.jnl.endommage-*")}, QDir::AllEntries);
}

const QByteArray sampleFile = "8,3\r\n"
                              "cw 0,84\r\ncw 1,120\r\ncw 2,90\r\ncw 3,70\r\ncw 4,70\r\n"
                              "cw 5,60\r\ncw 6,60\r\ncw 7,200\r\n"
                              "0,0,Connexion\r\n1,0,Tarif\r\n2,0,Date\r\n3,0,Heure\r\n"
                              "4,0,Durée\r\n5,0,Reçu\r\n6,0,Envoyé\r\n7,0,Coût\r\n"
                              "0,1,Wanadoo, Paris\r\n1,1,Tarif local\r\n2,1,01/03/2026\r\n"
                              "3,1,21:05:09\r\n4,1,00:01:30\r\n5,1,123456\r\n6,1,7890\r\n"
                              "7,1,0,33\r\n"
                              "0,2,Manuel\r\n1,2,Tarif local\r\n2,2,02/03/2026\r\n"
                              "3,2,08:00:00\r\n4,2,01:00:00\r\n7,2,13,20\r\n";
} // namespace

TEST(JournalCellFile, RoundTripsByteForByte) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.jnl");
    WriteWholeFile(name, sampleFile);
    JournalStore store;
    store.LoadJournalFile(name);
    EXPECT_EQ(store.jgrid.RowCount(), 3);
    EXPECT_EQ(store.jgrid.Cells(0, 1), "Wanadoo, Paris"); // the text runs to the line's end
    EXPECT_EQ(store.jgrid.Cells(5, 2), "");
    EXPECT_EQ(store.ColumnWidths.at(7), 200);
    QFile::remove(name);
    store.SaveJournalFile(name);
    EXPECT_EQ(ReadWholeFile(name), sampleFile);
}

TEST(JournalCellFile, LineBreaksInACellTravelAsTabAndBackspace) {
    TCellGrid grid;
    grid.SetColCount(2);
    grid.SetCells(1, 0, QStringLiteral("a\r\nb"));
    grid.SetCells(0, 0, QStringLiteral("x\ty")); // a tab without backspace stays a tab
    const QByteArray text = CellFileText(grid, {});
    EXPECT_TRUE(text.contains("1,0,a\t\bb\r\n"));
    TCellGrid back;
    QList<int> widths;
    ReadCellFileText(back, widths, text, "f");
    EXPECT_EQ(back.Cells(1, 0), "a\r\nb");
    EXPECT_EQ(back.Cells(0, 0), "x\ty");
    EXPECT_EQ(widths, (QList<int>{DefaultColumnWidth, DefaultColumnWidth}));
}

TEST(JournalCellFile, IgnoresCellsOutsideTheTableAndOddLines) {
    TCellGrid grid;
    QList<int> widths;
    ReadCellFileText(grid, widths,
                     "2,2\nLF only lines\ncw 1,33\ncw 9,50\ncw x,1\n0,1,kept\n1,5,beyond rows\n"
                     "4,1,beyond columns\n-1,0,negative\na,b,not numbers\n",
                     "f");
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.Cells(0, 1), "kept");
    EXPECT_EQ(ReadCellFileText(grid, widths,
                               "2,2\nLF only lines\ncw 1,33\ncw 9,50\ncw x,1\n0,1,kept\n"
                               "1,5,beyond rows\n4,1,beyond columns\n-1,0,negative\n"
                               "a,b,not numbers\n",
                               "f"),
              4);
    EXPECT_EQ(widths, (QList<int>{DefaultColumnWidth, 33}));

    // A damaged row count does not make millions of empty rows.
    TCellGrid huge;
    ReadCellFileText(huge, widths, "8,2000000000\r\n0,1,x\r\n", "f");
    EXPECT_LE(huge.RowCount(), 3);
    EXPECT_EQ(huge.Cells(0, 1), "x");
    // A file cut short ends with its last row read, and counts as damaged.
    EXPECT_EQ(
        ReadCellFileText(
            huge, widths,
            "8,9\r\n0,0,h\r\n0,1,a\r\n0,2,b\r\n1,2,c\r\n0,3,d\r\n0,4,e\r\n0,5,f\r\n0,6,g\r\n0,7",
            "f"),
        1);
    EXPECT_EQ(huge.RowCount(), 7); // the last line is cut before its text
}

TEST(JournalCellFile, ErrorsCarryTheFileName) {
    TCellGrid grid;
    QList<int> widths;
    EXPECT_EQ(ErrorOf([&] { ReadCellFileText(grid, widths, "8,0\r\n", "/x/j.jnl"); }),
              "File contains no data or corrupt file /x/j.jnl");
    EXPECT_EQ(ErrorOf([&] { ReadCellFileText(grid, widths, "", "/x/j.jnl"); }),
              "File contains no data or corrupt file /x/j.jnl");
    EXPECT_EQ(ErrorOf([&] { ReadCellFileText(grid, widths, "garbage\r\n", "/x/j.jnl"); }),
              "File contains no data or corrupt file /x/j.jnl");
    EXPECT_EQ(ErrorOf([&] { LoadFromCellFile(grid, widths, "/dev/zero"); }),
              "Cannot open file /dev/zero"); // a device, never read
    ScopedProgramFolder folder;
    QDir(folder.path()).mkdir("folder.jnl");
    EXPECT_EQ(ErrorOf([&] { LoadFromCellFile(grid, widths, folder.file("folder.jnl")); }),
              "Cannot open file " + folder.file("folder.jnl"));
    EXPECT_EQ(ErrorOf([&] { SaveToCellFile(grid, widths, folder.file("no/such/j.jnl")); }),
              "Cannot Create " + folder.file("no/such/j.jnl"));
}

TEST(JournalCellFile, AFileFromTheOldPlatformReadsAsWindows1252) {
    TCellGrid grid;
    QList<int> widths;
    EXPECT_EQ(ReadCellFileText(grid, widths, "8,1\r\n7,0,Co\xfbt\r\n", "f"), 0);
    EXPECT_EQ(grid.Cells(7, 0), "Coût");

    // A UTF-8 file with one damaged line: only that line is read as Windows-1252, and the
    // file counts as damaged so that it is kept aside before the next save.
    EXPECT_EQ(ReadCellFileText(grid, widths,
                               "8,2\r\n1,0,Tarif par d\xc3\xa9"
                               "faut\r\n\x9c\xffx\r\n"
                               "1,1,\xc3\xa9t\xc3\xa9\r\n",
                               "f"),
              1);
    EXPECT_EQ(grid.Cells(1, 0), "Tarif par défaut");
    EXPECT_EQ(grid.Cells(1, 1), "été");
}

TEST(JournalStore, AppendsRowsWithHeaderManuelAndEmptyStatistics) {
    ScopedProgramFolder folder;
    JournalStore store;
    store.AppendSession(Session("", "Tarif local", {2026, 3, 7}, "00:01:30", 0.33));
    SessionRecord online = Session("Wanadoo", "Tarif local", {2026, 3, 8}, "01:00:00", 13.2049);
    online.statsAvailable = true;
    online.received = 123456;
    online.sent = 7890;
    store.AppendSession(online);

    ASSERT_EQ(store.jgrid.RowCount(), 3);
    EXPECT_EQ(store.jgrid.RowCells(0), JournalStore::HeaderTexts());
    EXPECT_EQ(store.jgrid.RowCells(1), (QStringList{"Manuel", "Tarif local", "07/03/2026",
                                                    "21:05:09", "00:01:30", "", "", "0,33"}));
    EXPECT_EQ(store.jgrid.RowCells(2),
              (QStringList{"Wanadoo", "Tarif local", "08/03/2026", "21:05:09", "01:00:00", "123456",
                           "7890", "13,20"}));

    const QString name = folder.file("tallivo.jnl");
    store.SaveJournalFile(name);
    const QByteArray text = ReadWholeFile(name);
    EXPECT_TRUE(text.startsWith("8,3\r\ncw 0,"));
    EXPECT_TRUE(text.contains("\r\n0,1,Manuel\r\n1,1,Tarif local\r\n2,1,07/03/2026\r\n"
                              "3,1,21:05:09\r\n4,1,00:01:30\r\n7,1,0,33\r\n0,2,"));
    EXPECT_FALSE(text.contains("5,1,"));
    EXPECT_FALSE(text.contains("6,1,"));
    EXPECT_TRUE(text.contains("5,2,123456\r\n6,2,7890\r\n"));
    // Rounded as shown in the windows, not as %.2f rounds the binary value.
    EXPECT_EQ(store.SessionRowCells(Session("", "T", {2026, 3, 9}, "00:00:06", 0.015)).last(),
              "0,02");
}

TEST(JournalStore, HeaderOnlyIsNotWrittenAndClearingDeletesTheFile) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.jnl");
    JournalStore store;
    store.SaveJournalFile(name);
    EXPECT_FALSE(QFile::exists(name));

    store.AppendSession(Session("", "T", {2026, 3, 7}, "00:01:30", 0.33));
    store.SaveJournalFile(name);
    EXPECT_TRUE(QFile::exists(name));
    store.ClearJournal(name);
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_EQ(store.jgrid.RowCount(), 1);
    EXPECT_EQ(store.jgrid.Cells(0, 0), "");
    store.SaveJournalFile(name);
    EXPECT_FALSE(QFile::exists(name));

    store.AppendSession(Session("", "T", {2026, 3, 7}, "00:01:30", 0.33));
    EXPECT_EQ(store.jgrid.RowCells(0), JournalStore::HeaderTexts()); // the header is back
}

TEST(JournalStore, MissingFileIsAnEmptyJournal) {
    ScopedProgramFolder folder;
    JournalStore store;
    store.LoadJournalFile(folder.file("tallivo.jnl"));
    EXPECT_EQ(store.jgrid.RowCount(), 1);
    EXPECT_EQ(store.jgrid.ColCount(), 8);
}

TEST(JournalStore, ADamagedFileIsKeptAsideBeforeAnythingReplacesIt) {
    ScopedProgramFolder folder;
    ScopedClock clock(QDateTime(QDate(2026, 3, 7), QTime(10, 11, 12)));
    const QString name = folder.file("tallivo.jnl");
    const QByteArray damaged = "0,12\r\n0,1,Wanadoo\r\n1,1,Tarif précieux\r\n";
    WriteWholeFile(name, damaged);

    JournalStore store;
    EXPECT_EQ(ErrorOf([&] { store.LoadJournalFile(name); }),
              "File contains no data or corrupt file " + name);
    EXPECT_EQ(store.jgrid.ColCount(), 8); // still a journal table
    EXPECT_EQ(store.DamagedCopyName(), name + ".endommage-20260307-101112");
    EXPECT_EQ(ReadWholeFile(store.DamagedCopyName()), damaged);

    store.AppendSession(Session("", "T", {2026, 3, 7}, "00:01:30", 0.33));
    store.SaveJournalFile(name);
    EXPECT_TRUE(ReadWholeFile(name).startsWith("8,2\r\n"));
    EXPECT_EQ(DamagedCopies(folder.path()).size(), 1);
    EXPECT_EQ(ReadWholeFile(store.DamagedCopyName()), damaged);
}

TEST(JournalStore, APreloadedJournalIsTheLoadedOneAndItsReadTouchesNoFile) {
    ScopedProgramFolder folder;
    ScopedClock clock(QDateTime(QDate(2026, 3, 7), QTime(10, 11, 12)));
    const QString name = folder.file("tallivo.jnl");
    WriteWholeFile(name, sampleFile);
    JournalStore loaded;
    loaded.LoadJournalFile(name);
    {
        JournalPreload preload(name);
        EXPECT_FALSE(preload.Take(folder.file("other.jnl")));
        auto journal = preload.Take(name);
        ASSERT_TRUE(journal);
        EXPECT_FALSE(preload.Take(name)) << "taken once";
        JournalStore store;
        store.TakeJournalFrom(*journal->store);
        store.FinishJournalRead(name, journal->read);
        for (int row = 0; row < loaded.jgrid.RowCount(); ++row)
            EXPECT_EQ(store.jgrid.RowCells(row), loaded.jgrid.RowCells(row));
        EXPECT_EQ(store.ColumnWidths, loaded.ColumnWidths);
        EXPECT_EQ(store.PeriodUsedSeconds({2026, 3, 7}, 1, "Tarif local"),
                  loaded.PeriodUsedSeconds({2026, 3, 7}, 1, "Tarif local"));
        store.AppendSession(Session("", "Tarif local", {2026, 3, 7}, "00:01:30", 0.33));
        EXPECT_EQ(store.PeriodUsedSeconds({2026, 3, 7}, 1, "Tarif local"), 3690 + 90);
    }

    // A damaged journal: the read leaves the file alone; the finish keeps it aside and tells.
    const QByteArray damaged = "0,12\r\n0,1,Wanadoo\r\n";
    WriteWholeFile(name, damaged);
    JournalPreload preload(name);
    auto journal = preload.Take(name);
    ASSERT_TRUE(journal);
    EXPECT_TRUE(DamagedCopies(folder.path()).isEmpty());
    JournalStore store;
    store.TakeJournalFrom(*journal->store);
    EXPECT_EQ(ErrorOf([&] { store.FinishJournalRead(name, journal->read); }),
              "File contains no data or corrupt file " + name);
    EXPECT_EQ(ReadWholeFile(store.DamagedCopyName()), damaged);
}

TEST(JournalStore, CellsBeyondTheRowCountAreIgnoredButTheFileIsKeptAside) {
    ScopedProgramFolder folder;
    ScopedClock clock(QDateTime(QDate(2026, 3, 7), QTime(10, 11, 12)));
    const QString name = folder.file("tallivo.jnl");
    // A first line that says one session where the file holds two.
    QByteArray shortCount = sampleFile;
    shortCount.replace(0, 3, "8,2");
    WriteWholeFile(name, shortCount);

    JournalStore store;
    store.LoadJournalFile(name); // no error: the rows beyond the count are ignored
    EXPECT_EQ(store.jgrid.RowCount(), 2);
    EXPECT_EQ(store.jgrid.Cells(0, 1), "Wanadoo, Paris");
    ASSERT_EQ(DamagedCopies(folder.path()).size(), 1);
    EXPECT_EQ(ReadWholeFile(store.DamagedCopyName()), shortCount);

    store.AppendSession(Session("", "T", {2026, 3, 7}, "00:01:30", 0.33));
    store.SaveJournalFile(name);
    EXPECT_TRUE(ReadWholeFile(name).startsWith("8,3\r\n"));
    EXPECT_EQ(ReadWholeFile(store.DamagedCopyName()), shortCount) << "the ignored row survives";

    // A sound file makes no copy.
    JournalStore again;
    again.LoadJournalFile(name);
    EXPECT_EQ(DamagedCopies(folder.path()).size(), 1);
}

TEST(JournalStore, ClearingADamagedFileMovesItAsideInsteadOfDeletingIt) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.jnl");
    QDir(folder.path()).mkdir("tallivo.jnl"); // cannot be read, cannot be copied
    JournalStore store;
    EXPECT_EQ(ErrorOf([&] { store.LoadJournalFile(name); }), "Cannot open file " + name);
    EXPECT_TRUE(store.DamagedCopyName().isEmpty());
    store.AppendSession(Session("", "T", {2026, 3, 7}, "00:01:30", 0.33));
    EXPECT_EQ(ErrorOf([&] { store.SaveJournalFile(name); }), "Cannot Create " + name);
    EXPECT_TRUE(QFileInfo(name).isDir()); // not replaced
    store.ClearJournal(name);
    EXPECT_FALSE(QFileInfo::exists(name));
    EXPECT_EQ(DamagedCopies(folder.path()).size(), 1);
}

namespace {
// The removal as a repeated pairwise scan: at the first equal pair, delete the later row
// and start again.
QList<QStringList> PairwiseScan(QList<QStringList> rows) {
    bool found = true;
    while (found) {
        found = false;
        for (int i = 0; i < rows.size() && !found; ++i)
            for (int j = 0; j < rows.size() && !found; ++j)
                if (i != j && rows[i] == rows[j]) {
                    rows.removeAt(std::max(i, j));
                    found = true;
                }
    }
    return rows;
}
} // namespace

TEST(JournalStore, DuplicateRemovalKeepsTheFirstOfEqualRowsInOrder) {
    QRandomGenerator random(42);
    JournalStore store;
    QList<QStringList> rows;
    for (int i = 0; i < 300; ++i) {
        const int n = int(random.bounded(40));
        QStringList cells{"C" + QString::number(n % 3),      "T", "01/03/2026", "10:00:00",
                          "00:00:" + QString::number(n % 7), "",  "",           QString::number(n)};
        rows.append(cells);
    }
    rows.append(QStringList{"c0", "T", "01/03/2026", "10:00:00", "00:00:00", "", "", "0"});
    store.jgrid.SetRowCount(1);
    for (const QStringList& row : rows)
        store.jgrid.AppendRow(row);
    const QList<QStringList> expected = PairwiseScan(rows);

    EXPECT_EQ(store.RemoveDuplicateRows(), rows.size() - expected.size());
    ASSERT_EQ(store.jgrid.RowCount(), expected.size() + 1);
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(store.jgrid.RowCells(i + 1), expected[i]) << i;
    EXPECT_EQ(store.RemoveDuplicateRows(), 0);

    // A cell past the journal's columns does not tell rows apart, nor do empty cells that one
    // row keeps before it and the other does not.
    store.jgrid.SetColCount(JournalStore::ColumnCount + 1);
    store.jgrid.AppendRow({"X", "T", "02/03/2026", "", "", "", "", "", "extra"});
    store.jgrid.AppendRow({"X", "T", "02/03/2026"});
    EXPECT_EQ(store.RemoveDuplicateRows(), 1);
}

TEST(JournalStore, DuplicatesAreGoneFromTheNextSave) {
    ScopedProgramFolder folder;
    JournalStore store;
    const SessionRecord session = Session("W", "T", {2026, 3, 7}, "00:01:30", 0.33);
    store.AppendSession(session);
    store.AppendSession(session);
    EXPECT_EQ(store.RemoveDuplicateRows(), 1);
    store.SaveJournalFile(folder.file("tallivo.jnl"));
    EXPECT_TRUE(ReadWholeFile(folder.file("tallivo.jnl")).startsWith("8,2\r\n"));
}

TEST(JournalStore, PeriodQueriesCountThisPeriodAndTariffAndSkipWhatDoesNotRead) {
    JournalStore store;
    const QDate today(2026, 3, 10);
    EXPECT_EQ(store.PeriodUsedSeconds(today, 1, "A"), 0);
    store.AppendSession(Session("", "A", {2026, 3, 1}, "01:00:00", 1.5));
    store.AppendSession(Session("", "B", {2026, 3, 2}, "02:00:00", 2.5));
    store.AppendSession(Session("", "A", {2026, 2, 28}, "04:00:00", 4.5));
    store.AppendSession(Session("", "A", {2026, 3, 3}, "00:00:01", 1.0));
    store.jgrid.SetCells(JournalStore::Duree, 4, "bad");
    store.jgrid.SetCells(JournalStore::Cout, 4, "n/a");
    EXPECT_EQ(store.PeriodUsedSeconds(today, 1, "A"), 3600);
    EXPECT_DOUBLE_EQ(store.PeriodCost(today, 1, "A"), 1.5);
    EXPECT_EQ(store.PeriodUsedSeconds(today, 1, "B"), 7200);

    // Appending updates the ready answer; an edit from outside makes it be read again.
    store.AppendSession(Session("", "A", {2026, 3, 10}, "00:00:30", 0.25));
    EXPECT_EQ(store.PeriodUsedSeconds(today, 1, "A"), 3630);
    EXPECT_DOUBLE_EQ(store.PeriodCost(today, 1, "A"), 1.75);
    store.jgrid.SetCells(JournalStore::Date, 1, "garbage");
    EXPECT_EQ(store.PeriodUsedSeconds(today, 1, "A"), 30);
    EXPECT_EQ(store.PeriodUsedSeconds(today, 28, "A"), 4 * 3600 + 30);

    store.AppendSession(Session("", "A", {2026, 3, 10}, "00:00:30", 0.25));
    EXPECT_EQ(store.RemoveDuplicateRows(), 1);
    EXPECT_EQ(store.PeriodUsedSeconds(today, 1, "A"), 30);
    store.ClearJournal(QString());
    EXPECT_EQ(store.PeriodUsedSeconds(today, 1, "A"), 0);
}

TEST(JournalStore, FindsARowAlreadyThere) {
    JournalStore store;
    const SessionRecord session = Session("", "A", {2026, 3, 1}, "01:00:00", 1.5);
    EXPECT_FALSE(store.ContainsSessionRow(store.SessionRowCells(session)));
    store.AppendSession(session);
    EXPECT_TRUE(store.ContainsSessionRow(store.SessionRowCells(session)));
    SessionRecord longer = session;
    longer.durationSeconds = 3630;
    EXPECT_FALSE(store.ContainsSessionRow(store.SessionRowCells(longer)));
}

namespace {
QString RandomCellText(QRandomGenerator& random) {
    static const QStringList pieces{"a",
                                    "Wanadoo",
                                    ",",
                                    "\"",
                                    "\r",
                                    "\n",
                                    "\t",
                                    "\b",
                                    "\x1b",
                                    "é",
                                    "Coût",
                                    "😀",
                                    " ",
                                    "=",
                                    "0",
                                    "cw 1",
                                    "\r\n",
                                    "\x1b"
                                    "e",
                                    "\b\x1b",
                                    "\uFEFF"};
    QString text;
    for (int n = int(random.bounded(5)); n > 0; --n)
        text += pieces[int(random.bounded(pieces.size()))];
    return text;
}
} // namespace

TEST(JournalCellFile, EveryCellTextComesBackAsWritten) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.jnl");
    QRandomGenerator random(11);
    JournalStore store;
    store.AppendSession(Session("Ti\rrfa", "a\tb\nc", {2026, 3, 1}, "00:00:01", 1));
    for (int row = 0; row < 300; ++row) {
        QStringList cells;
        for (int col = 0; col < JournalStore::ColumnCount; ++col)
            cells << RandomCellText(random);
        store.jgrid.AppendRow(cells);
    }
    store.SaveJournalFile(name);
    JournalStore back;
    back.LoadJournalFile(name);
    ASSERT_EQ(back.jgrid.RowCount(), store.jgrid.RowCount());
    for (int row = 0; row < store.jgrid.RowCount(); ++row)
        ASSERT_EQ(back.jgrid.RowCells(row), store.jgrid.RowCells(row)) << row;
    EXPECT_EQ(back.jgrid.Cells(0, 1), "Ti\rrfa");
    // Files written before keep their meaning: tab and backspace stand for CR and LF.
    TCellGrid old;
    QList<int> widths;
    ReadCellFileText(old, widths, "1,1\r\n0,0,a\t\bb\tc\r\n", "f");
    EXPECT_EQ(old.Cells(0, 0), "a\r\nb\rc");
}

TEST(JournalCellFile, ARowCountBeyondTheIntegersIsADamagedCountLikeAnyOther) {
    for (const QByteArray count : {"2147483648", "4294967297", "99999999999999999999999"}) {
        TCellGrid grid;
        QList<int> widths;
        ReadCellFileText(grid, widths, "8," + count + "\r\n0,1,x\r\n", "f");
        EXPECT_LE(grid.RowCount(), 3) << count.constData();
        EXPECT_EQ(grid.Cells(0, 1), "x") << count.constData();
    }
}

TEST(JournalStore, ADamagedJournalIsCopiedAsideOnceWhateverTheStarts) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.jnl");
    WriteWholeFile(name, "8,2\r\n0,1,kept\r\n0,5,beyond the rows\r\n");
    for (int start = 0; start < 3; ++start) {
        JournalStore store;
        store.LoadJournalFile(name);
        EXPECT_EQ(store.jgrid.Cells(0, 1), "kept");
        EXPECT_EQ(ReadWholeFile(store.DamagedCopyName()), ReadWholeFile(name));
    }
    EXPECT_EQ(DamagedCopies(folder.path()).size(), 1);
    WriteWholeFile(name, "0,0\r\n"); // another damage: its own copy
    for (int start = 0; start < 2; ++start)
        EXPECT_FALSE(ErrorOf([&] { JournalStore().LoadJournalFile(name); }).isEmpty());
    EXPECT_EQ(DamagedCopies(folder.path()).size(), 2);
}

TEST(JournalStore, AJournalOverOneGibibyteIsRefusedInFrenchAndKept) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.jnl");
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(JournalStore::MaxFileSize + 1)); // sparse: no room taken
    file.close();
    JournalStore store;
    const QString error = ErrorOf([&] { store.LoadJournalFile(name); });
    EXPECT_TRUE(error.contains("dépasse 1 Gio")) << error.toStdString();
    EXPECT_TRUE(error.contains(store.DamagedCopyName()));
    EXPECT_EQ(QFileInfo(store.DamagedCopyName()).size(), JournalStore::MaxFileSize + 1);
    EXPECT_EQ(store.SessionRowCount(), 0);
    store.AppendSession(Session("", "T", {2026, 3, 7}, "00:01:30", 0.33));
    store.SaveJournalFile(name); // the journal goes on in a new file
    EXPECT_TRUE(ReadWholeFile(name).startsWith("8,2\r\n"));
}

// The sums kept up to date by appends and the duplicate index give what plain rescans of the
// rows give, through loads, appends, edits from outside and removals.
TEST(JournalStore, PeriodSumsAndDuplicatesMatchPlainRescansOnRandomJournals) {
    ScopedProgramFolder folder;
    const QString name = folder.file("tallivo.jnl");
    QRandomGenerator random(5);
    const QStringList tariffs{"A", "B", "Tarif\rlocal"};
    const auto randomSession = [&] {
        return Session(random.bounded(2) ? "W" : "", tariffs[int(random.bounded(3))],
                       QDate(2026, 1, 1).addDays(int(random.bounded(120))),
                       DurationText(qint32(random.bounded(4000))), random.bounded(500) / 100.0);
    };
    const auto plainTotals = [](const TCellGrid& grid, const QDate& today, int firstDay,
                                const QString& tariff) {
        PeriodTotals totals;
        for (int row = 1; row < grid.RowCount(); ++row) {
            if (grid.Cells(JournalStore::Tarif, row) != tariff ||
                !InAllowancePeriod(ParseDateText(grid.Cells(JournalStore::Date, row)), today,
                                   firstDay))
                continue;
            totals.seconds += DurationSeconds(grid.Cells(JournalStore::Duree, row)).value_or(0);
            try {
                totals.cost += grid.FloatCell(JournalStore::Cout, row);
            } catch (const AppError&) {
            }
        }
        return totals;
    };
    for (int journal = 0; journal < 4; ++journal) {
        JournalStore store;
        std::vector<SessionRecord> sessions;
        for (int i = 0; i < 150; ++i) {
            sessions.push_back(random.bounded(4) == 0 && !sessions.empty()
                                   ? sessions[random.bounded(quint32(sessions.size()))]
                                   : randomSession());
            store.AppendSession(sessions.back());
            if (i == 100 && journal % 2) { // half the journals are saved and read again
                store.SaveJournalFile(name);
                store.LoadJournalFile(name);
            }
            if (i == 120 && journal == 3)
                store.jgrid.SetCells(JournalStore::Cout, 5, "n/a");
            for (const int firstDay : {1, 15}) {
                const QDate today = QDate(2026, 1, 1).addDays(int(random.bounded(120)));
                const QString tariff = tariffs[int(random.bounded(3))];
                const PeriodTotals expected = plainTotals(store.jgrid, today, firstDay, tariff);
                const PeriodTotals kept = store.CurrentPeriodTotals(today, firstDay, tariff);
                ASSERT_EQ(kept.seconds, expected.seconds) << journal << " " << i;
                ASSERT_NEAR(kept.cost, expected.cost, 1e-9) << journal << " " << i;
            }
        }
        QList<QStringList> rows;
        for (int row = 1; row < store.jgrid.RowCount(); ++row)
            rows.append(store.jgrid.RowCells(row));
        const QList<QStringList> expected = PairwiseScan(rows);
        EXPECT_EQ(store.RemoveDuplicateRows(), rows.size() - expected.size());
        for (int i = 0; i < expected.size(); ++i)
            ASSERT_EQ(store.jgrid.RowCells(i + 1), expected[i]) << i;
        store.AppendSession(sessions.front()); // the index follows the removal
        EXPECT_EQ(store.RemoveDuplicateRows(), 1);
        EXPECT_EQ(store.RemoveDuplicateRows(), 0);
    }
}
