#include "base/cell_grid.h"
#include "base/errors.h"
#include "support/test_support.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

namespace {
class CellGridFile : public ::testing::Test {
  protected:
    QString FilePath() const { return folder.filePath(QStringLiteral("grid.csv")); }
    void WriteFile(const QByteArray& bytes) const { WriteWholeFile(FilePath(), bytes); }
    QByteArray FileBytes() const { return ReadWholeFile(FilePath()); }

    QTemporaryDir folder;
};

TCellGrid* TariffGrid(TCellGrid& grid) {
    grid.SetSeparator(QLatin1Char(';'));
    grid.SetFloatFormat(QStringLiteral("%.5f"));
    return &grid;
}
} // namespace

TEST(CellGrid, SizesStayAtLeastOneAndShrinkingDropsCells) {
    TCellGrid grid;
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.ColCount(), 1);
    grid.SetRowCount(0);
    grid.SetColCount(-3);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.ColCount(), 1);

    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.SetCells(2, 1, QStringLiteral("x"));
    grid.SetCells(5, 5, QStringLiteral("outside")); // ignored
    EXPECT_EQ(grid.Cells(5, 5), QString());
    grid.SetColCount(2);
    grid.SetColCount(3);
    EXPECT_EQ(grid.Cells(2, 1), QString());
}

TEST(CellGrid, RowsAreInsertedRemovedAndCleared) {
    TCellGrid grid;
    grid.SetColCount(2);
    grid.SetCells(0, 0, QStringLiteral("head"));
    grid.AppendRow({QStringLiteral("a"), QStringLiteral("1")});
    grid.AppendRow({QStringLiteral("c"), QStringLiteral("3"), QStringLiteral("dropped")});
    grid.InsertRow(2, {QStringLiteral("b")});
    ASSERT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.RowCells(2), QStringList({QStringLiteral("b"), QString()}));
    EXPECT_EQ(grid.RowCells(3), QStringList({QStringLiteral("c"), QStringLiteral("3")}));

    grid.RemoveRow(1);
    EXPECT_EQ(grid.Cells(0, 1), QStringLiteral("b"));
    grid.ClearCells();
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cells(0, 0), QString());
    grid.Clear();
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.ColCount(), 2);
    grid.SetCells(0, 0, QStringLiteral("last"));
    grid.RemoveRow(0); // the grid keeps one, empty, row
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Cells(0, 0), QString());
}

TEST(CellGrid, ViewsAreToldOfChanges) {
    TCellGrid grid;
    QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&grid, &QAbstractItemModel::modelReset);
    grid.SetCells(0, 0, QStringLiteral("x"));
    grid.AppendRow({QStringLiteral("y")});
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(grid.data(grid.index(1, 0)).toString(), QStringLiteral("y"));

    grid.BeginUpdate();
    grid.BeginUpdate();
    for (int row = 0; row < 100; ++row)
        grid.AppendRow({QString::number(row)});
    grid.EndUpdate();
    EXPECT_EQ(reset.count(), 0);
    grid.EndUpdate();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(grid.rowCount(), 102);
}

TEST_F(CellGridFile, DefaultTariffLineIsWrittenByteForByte) {
    TCellGrid grid;
    TariffGrid(grid);
    grid.SetColCount(3);
    grid.SetCells(0, 0, QStringLiteral("Tarif par défaut"));
    grid.SetFloatCell(1, 0, 0.22);
    grid.SetFloatCell(2, 0, 1);
    grid.SaveToDelimitedFile(FilePath());
    EXPECT_EQ(FileBytes(), QStringLiteral("Tarif par défaut;0,22000;1,00000\r\n").toUtf8());
}

TEST_F(CellGridFile, EmptyAndSeparatorCellsAreQuotedAndReadBack) {
    TCellGrid grid;
    TariffGrid(grid);
    grid.SetColCount(4);
    grid.SetRowCount(2);
    grid.SetRowCells(0, {QStringLiteral("x"), QString(), QStringLiteral("a;b"), QString()});
    grid.SetRowCells(1, {QStringLiteral("y"), QStringLiteral("z"), QString(), QString()});
    grid.SaveToDelimitedFile(FilePath());
    EXPECT_EQ(FileBytes(), QByteArray("x;\"\";\"a;b\";\"\"\r\ny;z;\"\";\"\"\r\n"));

    TCellGrid read;
    TariffGrid(read);
    read.SetColCount(4);
    read.SetRowCells(0, {QStringLiteral("old"), QStringLiteral("old"), QStringLiteral("old"),
                         QStringLiteral("old")});
    read.LoadFromDelimitedFile(FilePath());
    EXPECT_EQ(read.RowCells(0), grid.RowCells(0));
    EXPECT_EQ(read.RowCells(1), grid.RowCells(1));
}

TEST_F(CellGridFile, ReadingResizesRowsGrowsColumnsAndKeepsUnaddressedCells) {
    TCellGrid grid;
    TariffGrid(grid);
    grid.SetColCount(10);
    grid.SetRowCount(5);
    for (int col = 0; col < 10; ++col)
        grid.SetCells(col, 1, QStringLiteral("kept%1").arg(col));

    WriteFile("0;1;2;3;4;5;6;7;8;9;10;11\r\na;b;c;d\r\nlast");
    grid.LoadFromDelimitedFile(FilePath());
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.ColCount(), 12);
    EXPECT_EQ(grid.Cells(11, 0), QStringLiteral("11"));
    EXPECT_EQ(grid.Cells(3, 1), QStringLiteral("d"));
    EXPECT_EQ(grid.Cells(4, 1), QStringLiteral("kept4"));
    EXPECT_EQ(grid.Cells(0, 2), QStringLiteral("last"));

    // A line ending with the separator leaves the cell after it as it was.
    WriteFile("p;q;\r\n");
    grid.SetCells(2, 0, QStringLiteral("before"));
    grid.LoadFromDelimitedFile(FilePath());
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Cells(2, 0), QStringLiteral("before"));
}

TEST_F(CellGridFile, AnEmptyFileLeavesOneRowUnchanged) {
    TCellGrid grid;
    grid.SetRowCount(3);
    grid.SetCells(0, 0, QStringLiteral("still here"));
    WriteFile(QByteArray());
    grid.LoadFromDelimitedFile(FilePath());
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("still here"));
}

TEST_F(CellGridFile, LinesEndAtCrOrCrLfAndCtrlZEndsTheFile) {
    TCellGrid grid;
    TariffGrid(grid);
    WriteFile("a;b\rc;d\r\ne\nf;g\r\n\x1Ahidden;line\r\n");
    grid.LoadFromDelimitedFile(FilePath());
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cells(1, 0), QStringLiteral("b"));
    EXPECT_EQ(grid.Cells(0, 1), QStringLiteral("c"));
    EXPECT_EQ(grid.Cells(0, 2), QStringLiteral("e\r\nf")); // a bare LF is part of the cell
    EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("g"));
}

TEST_F(CellGridFile, LinuxAndUnicodeTextIsReadAndWhatIsNotTextIsRefused) {
    TCellGrid grid;
    TariffGrid(grid);
    WriteFile("a;b\n\nc;d\n"); // no CR anywhere: LF ends the lines
    grid.LoadFromDelimitedFile(FilePath());
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cells(0, 2), QStringLiteral("c"));
    const QString unicode = QStringLiteral("Tarif d'été;0,22000\r\n");
    WriteFile(QByteArray("\xFF\xFE") +
              QByteArray(reinterpret_cast<const char*>(unicode.utf16()), unicode.size() * 2));
    grid.LoadFromDelimitedFile(FilePath());
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("Tarif d'été"));
    EXPECT_DOUBLE_EQ(grid.FloatCell(1, 0), 0.22);

    WriteFile(QByteArray("a;\0\x01\x02;b\r\n", 9));
    EXPECT_THROW(grid.LoadFromDelimitedFile(FilePath()), AppError);
    EXPECT_THROW(grid.LoadFromDelimitedFile(QStringLiteral("/dev/zero")), AppError);
}

TEST_F(CellGridFile, AWindows1252FileKeepsItsAccents) {
    TCellGrid grid;
    TariffGrid(grid);
    WriteFile("Tarif par d\xE9"
              "faut;0,22000\r\n\x80 cr\xE9neau;0,12000\r\n");
    grid.LoadFromDelimitedFile(FilePath());
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("Tarif par défaut"));
    EXPECT_EQ(grid.Cells(0, 1), QStringLiteral("€ créneau"));
    EXPECT_DOUBLE_EQ(grid.FloatCell(1, 1), 0.12);
}

TEST_F(CellGridFile, QuotedFieldsFollowTheReaderRules) {
    TCellGrid grid;
    TariffGrid(grid);
    // Doubled quotes give one; a lone quote closes the field and what follows it up to the
    // separator is dropped; a last field loses one quote at each end; a quoted field that
    // is never closed is empty.
    WriteFile("\"say \"\"hi\"\";now\"junk;\"open;x;\"tail\"\r\na;\"open;x\r\n"
              "\"x;\"\"\r\n"); // a run of quotes that reaches the line's end closes the field
    grid.LoadFromDelimitedFile(FilePath());
    EXPECT_EQ(grid.RowCells(0), QStringList({QStringLiteral("say \"hi\";now"),
                                             QStringLiteral("open;x;"), QStringLiteral("tail")}));
    EXPECT_EQ(grid.RowCells(1), QStringList({QStringLiteral("a"), QString(), QStringLiteral("x")}));
    EXPECT_EQ(grid.Cells(0, 2), QStringLiteral("x;\""));
    EXPECT_EQ(grid.Cells(1, 2), QString());
}

TEST_F(CellGridFile, CellsWithQuotesSeparatorsAndLineBreaksReadBackAsWritten) {
    const QStringList awkward = {
        QStringLiteral("\""),           QStringLiteral("\"\""),     QStringLiteral("\"lead"),
        QStringLiteral("trail\""),      QStringLiteral("a;\""),     QStringLiteral("\";\""),
        QStringLiteral("in\"side"),     QStringLiteral("x\"\"y"),   QStringLiteral(";"),
        QStringLiteral("two\r\nlines"), QStringLiteral("a;b\r\nc"), QStringLiteral("5\"")};
    for (const QString& cell : awkward) {
        for (int col = 0; col < 3; ++col) { // first, middle and last column
            TCellGrid grid;
            TariffGrid(grid);
            grid.SetColCount(3);
            grid.SetCells(col, 0, cell);
            grid.SaveToDelimitedFile(FilePath());
            TCellGrid read;
            TariffGrid(read);
            read.LoadFromDelimitedFile(FilePath());
            EXPECT_EQ(read.ColCount(), 3) << cell.toStdString() << " in column " << col;
            EXPECT_EQ(read.RowCells(0), grid.RowCells(0))
                << cell.toStdString() << " in column " << col << ": " << FileBytes().toStdString();
        }
    }
}

TEST_F(CellGridFile, LoneLineBreaksAndCtrlZInCellsCannotBreakTheFile) {
    TCellGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetRowCells(0, {QStringLiteral("a\rb"), QStringLiteral("c\nd")});
    grid.SetRowCells(1, {QStringLiteral("e\x1A"
                                        "f"),
                         QStringLiteral("g")});
    grid.SaveToDelimitedFile(FilePath());
    TCellGrid read;
    read.LoadFromDelimitedFile(FilePath());
    ASSERT_EQ(read.RowCount(), 2);
    EXPECT_EQ(read.Cells(0, 0), QStringLiteral("a\r\nb"));
    EXPECT_EQ(read.Cells(1, 0), QStringLiteral("c\r\nd"));
    EXPECT_EQ(read.Cells(0, 1), QStringLiteral("ef"));
    EXPECT_EQ(read.Cells(1, 1), QStringLiteral("g"));
}

TEST_F(CellGridFile, RandomCellsRoundTrip) {
    // U+FEFF: a byte-order mark that could open the file.
    const QString alphabet = QStringLiteral("ab ;,\"\"'éàç€0,5-\uFEFF");
    QRandomGenerator random(20260307);
    for (int round = 0; round < 200; ++round) {
        TCellGrid grid;
        const bool semicolon = random.bounded(2) == 0;
        if (semicolon)
            grid.SetSeparator(QLatin1Char(';'));
        grid.SetColCount(1 + random.bounded(5));
        grid.SetRowCount(1 + random.bounded(4));
        for (int row = 0; row < grid.RowCount(); ++row)
            for (int col = 0; col < grid.ColCount(); ++col) {
                QString cell;
                const int length = random.bounded(7);
                for (int i = 0; i < length; ++i) {
                    if (random.bounded(12) == 0)
                        cell += QStringLiteral("\r\n");
                    else
                        cell += alphabet.at(random.bounded(alphabet.size()));
                }
                grid.SetCells(col, row, cell);
            }
        grid.SaveToDelimitedFile(FilePath());
        TCellGrid read;
        if (semicolon)
            read.SetSeparator(QLatin1Char(';'));
        read.LoadFromDelimitedFile(FilePath());
        ASSERT_EQ(read.RowCount(), grid.RowCount()) << FileBytes().toStdString();
        ASSERT_EQ(read.ColCount(), grid.ColCount()) << FileBytes().toStdString();
        for (int row = 0; row < grid.RowCount(); ++row)
            ASSERT_EQ(read.RowCells(row), grid.RowCells(row)) << FileBytes().toStdString();
    }
}

TEST_F(CellGridFile, FileErrorsNameTheFile) {
    TCellGrid grid;
    const QString missing = folder.filePath(QStringLiteral("missing.csv"));
    try {
        grid.LoadFromDelimitedFile(missing);
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot open file ") + missing);
    }
    const QString unwritable = folder.filePath(QStringLiteral("no/such/folder.csv"));
    try {
        grid.SaveToDelimitedFile(unwritable);
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot Create file ") + unwritable);
    }
}

TEST(CellGridNumbers, FloatCellsFollowTheCellRule) {
    TCellGrid grid;
    grid.SetColCount(2);
    const auto value = [&grid](const QString& text) {
        grid.SetCells(0, 0, text);
        return grid.FloatCell(0, 0);
    };
    EXPECT_EQ(value(QString()), 0.0);
    EXPECT_EQ(value(QStringLiteral("  ")), 0.0);
    EXPECT_DOUBLE_EQ(value(QStringLiteral("0,22000")), 0.22);
    EXPECT_DOUBLE_EQ(value(QStringLiteral("0.22000")), 0.22);
    EXPECT_DOUBLE_EQ(value(QStringLiteral("(5,5)")), -5.5);
    EXPECT_DOUBLE_EQ(value(QStringLiteral("-3,25")), -3.25);
    EXPECT_DOUBLE_EQ(value(QStringLiteral("F 12,5 F")), 12.5);
    EXPECT_THROW(value(QStringLiteral("abc")), AppError);
    EXPECT_THROW(value(QStringLiteral("1,2,3")), AppError);
    try {
        value(QStringLiteral("x"));
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cell does not contain a float value"));
    }
    EXPECT_EQ(grid.FloatCell(1, 7), 0.0); // outside the grid: an empty cell
}

// Plain numbers are read from the UTF-8 text directly: to the same double as the rule's.
TEST(CellGridNumbers, PlainNumbersReadAsTheRuleReadsThem) {
    QRandomGenerator random(17);
    const auto digits = [&random](int count) {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + random.bounded(10));
        return text;
    };
    for (int i = 0; i < 2000; ++i) {
        QString text = digits(1 + int(random.bounded(15)));
        if (random.bounded(4) != 0)
            text += QLatin1Char(',') + digits(1 + int(random.bounded(15)));
        const QByteArray utf8 = text.toUtf8();
        const double direct = CellUtf8ToFloat(std::string_view(utf8.constData(), utf8.size()));
        ASSERT_EQ(direct, CellTextToFloat(text)) << text.toStdString();
    }
    EXPECT_THROW(CellUtf8ToFloat(","), AppError);
    EXPECT_EQ(CellUtf8ToFloat("12,"), CellTextToFloat(QStringLiteral("12,")));
}

TEST(CellGridNumbers, StoredNumbersUseTheGridFormatAndReadBack) {
    TCellGrid grid;
    grid.SetFloatFormat(QStringLiteral("%.5f"));
    EXPECT_EQ(grid.FloatFormat(), QStringLiteral("%.5f"));
    grid.SetFloatCell(0, 0, -1234.5);
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("-1234,50000"));
    EXPECT_DOUBLE_EQ(grid.FloatCell(0, 0), -1234.5);
    grid.SetFloatFormat(2);
    grid.SetFloatCell(0, 0, 0.126);
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("0,13"));
    grid.SetFloatCell(0, 0, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("0,00"));
}

// The cells live in one shared buffer rewritten as cells are replaced: any mix of edits reads
// back as the same edits on a plain list of rows would.
TEST(CellGrid, EditsReadBackLikeAPlainListOfRows) {
    QRandomGenerator random(7);
    TCellGrid grid;
    QList<QStringList> plain{QStringList()};
    int columns = 1;
    const auto text = [&random] {
        static const QStringList pieces{"", "a", "é", "€uro", ",", "\"", "\r\n", "😀", "long text"};
        return pieces[int(random.bounded(pieces.size()))] +
               pieces[int(random.bounded(pieces.size()))];
    };
    for (int step = 0; step < 4000; ++step) {
        const int rows = int(plain.size());
        const int row = int(random.bounded(rows));
        switch (random.bounded(7)) {
        case 0:
        case 1: {
            const int col = int(random.bounded(columns));
            const QString cell = text();
            grid.SetCells(col, row, cell);
            plain[row][col] = cell;
            break;
        }
        case 2: {
            QStringList cells;
            for (int col = 0; col < columns; ++col)
                cells << text();
            grid.InsertRow(row, cells);
            plain.insert(row, cells);
            break;
        }
        case 3:
            grid.RemoveRow(row);
            if (rows > 1)
                plain.removeAt(row);
            else
                plain[0] = QStringList(columns);
            break;
        case 4:
            columns = 1 + int(random.bounded(5));
            grid.SetColCount(columns);
            for (QStringList& cells : plain)
                cells.resize(columns);
            break;
        case 5: {
            const int count = 1 + int(random.bounded(40));
            grid.SetRowCount(count);
            plain.resize(count, QStringList(columns));
            break;
        }
        default: {
            QStringList cells;
            for (int col = 0; col < columns; ++col)
                cells << text();
            grid.SetRowCells(row, cells);
            plain[row] = cells;
        }
        }
        for (QStringList& cells : plain)
            cells.resize(columns);
        ASSERT_EQ(grid.RowCount(), plain.size()) << step;
        for (int r = 0; r < grid.RowCount(); ++r)
            ASSERT_EQ(grid.RowCells(r), plain[r]) << step << " row " << r;
    }
}

// A row's cell offsets are kept in 1, 2 or 4 bytes depending on its length: rows on either
// side of each limit, edited across them and compacted, read back whole.
TEST(CellGrid, RowsOfEveryLengthKeepTheirCells) {
    TCellGrid grid;
    grid.SetColCount(3);
    QList<QStringList> expected;
    for (const int length : {0, 1, 254, 255, 256, 65534, 65535, 65536, 200000}) {
        const QStringList cells{QString(length / 2, QLatin1Char('a')), QStringLiteral("é"),
                                QString(length - length / 2, QLatin1Char('b'))};
        grid.AppendRow(cells);
        expected << cells;
    }
    for (int round = 0; round < 3; ++round)
        for (int row = 1; row < grid.RowCount(); ++row) {
            const QString longer = grid.Cells(2, row) + QString(300 * round, QLatin1Char('c'));
            grid.SetCells(2, row, round == 1 ? QStringLiteral("x") : longer);
            expected[row - 1][2] = grid.Cells(2, row);
            ASSERT_EQ(grid.Cells(2, row), round == 1 ? QStringLiteral("x") : longer);
        }
    for (int row = 1; row < grid.RowCount(); ++row)
        EXPECT_EQ(grid.RowCells(row), expected[row - 1]) << row;
}
