#include "base/cell_grid.h"
#include "base/ini_file.h"
#include "support/test_support.h"
// The cost rates and the table rows are distinct types that one file can use together.
#include "tariff/cost.h"
#include "tariff/tariff_table.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QByteArray defaultLine = QStringLiteral("Tarif par défaut;0,22000;0,00000;0,00000;0,00000;"
                                              "0,00000;1,00000;0,12000;0,00000;0,00000\r\n")
                                   .toUtf8();

class TariffTableTest : public ::testing::Test {
  protected:
    QString Path() const { return folder.filePath(QStringLiteral("tallivo.csv")); }
    QTemporaryDir folder;
    TCellGrid grid;
};
} // namespace

TEST_F(TariffTableTest, TheDefaultTariffIsStoredAsItsKnownLine) {
    TariffTable::PrepareGrid(grid);
    TariffTable::WriteRow(grid, 0, TariffTable::DefaultTariff());
    grid.SaveToDelimitedFile(Path());
    EXPECT_EQ(ReadWholeFile(Path()), defaultLine);
}

TEST_F(TariffTableTest, RowsReadBackAsWrittenWithWholeQuantitiesRounded) {
    TariffTable::PrepareGrid(grid);
    TariffRow values{"Nuit", 0.14, 0.1, 60, 20, 187, 15, 0.07, 0.05, 30};
    TariffTable::WriteRow(grid, 0, values);
    EXPECT_EQ(TariffTable::ReadRow(grid, 0), values);
    grid.SetCells(5, 0, QStringLiteral("124,6"));
    grid.SetCells(9, 0, QString());
    const TariffRow read = TariffTable::ReadRow(grid, 0);
    EXPECT_EQ(read.consumedMinutes, 125);
    EXPECT_EQ(read.offPeakStartSeconds, 0);
    EXPECT_EQ(TariffTable::ConsumedHours(125), 2);
    EXPECT_EQ(TariffTable::ConsumedRemainder(125), 5);
}

TEST_F(TariffTableTest, AFileIsLoadedWholeWithExtraColumnsKept) {
    WriteWholeFile(Path(), defaultLine + "B;1;2;3;4;5;6;7;8;9;extra\r\n");
    const TariffTable::FileLoad load = TariffTable::LoadFile(grid, Path());
    EXPECT_TRUE(load.result);
    EXPECT_EQ(load.rows, 2);
    EXPECT_EQ(grid.ColCount(), 11);
    EXPECT_EQ(TariffTable::ReadRow(grid, 0), TariffTable::DefaultTariff());
    EXPECT_EQ(grid.Cells(10, 1), QStringLiteral("extra"));
}

TEST_F(TariffTableTest, ALineEndedByLfAloneIsATariffOfItsOwnAndNamesStayOneLine) {
    // A line added on Linux to the top of a file written here: it once swallowed the next.
    WriteWholeFile(Path(), "New;1;0;0;0;0;1;0;0;0\n" + defaultLine + "B;2;0;0;0;0;1;0;0;0\r\n");
    const TariffTable::FileLoad load = TariffTable::LoadFile(grid, Path());
    EXPECT_TRUE(load.result);
    ASSERT_EQ(load.rows, 3);
    EXPECT_EQ(grid.ColCount(), TariffTable::ColumnCount);
    EXPECT_EQ(TariffTable::ReadRow(grid, 1), TariffTable::DefaultTariff());
    EXPECT_EQ(grid.Cells(0, 2), QStringLiteral("B"));
    EXPECT_EQ(TariffTable::SingleLineDesignation(QStringLiteral("Nuit\r\nweek\u2028end")),
              QStringLiteral("Nuit  week end"));
}

TEST_F(TariffTableTest, DamagedRowsAreLeftOutAndReported) {
    WriteWholeFile(Path(), "A;1;1;1;1;1;1;1;1;1\r\nB;x;1;1;1;1;1;1;1;1\r\nC;3;3;3;3;3;3;3;3;3\r\n");
    const TariffTable::FileLoad load = TariffTable::LoadFile(grid, Path());
    EXPECT_FALSE(load.result);
    EXPECT_EQ(load.result.Message(), QStringLiteral("Cell does not contain a float value"));
    ASSERT_EQ(load.rows, 2);
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("A"));
    EXPECT_EQ(grid.Cells(0, 1), QStringLiteral("C"));

    WriteWholeFile(Path(), "only;bad\r\n");
    const TariffTable::FileLoad none = TariffTable::LoadFile(grid, Path());
    EXPECT_FALSE(none.result);
    EXPECT_EQ(none.rows, 0);
    EXPECT_EQ(grid.RowCount(), 1);
}

TEST_F(TariffTableTest, EmptyAndUnreadableFilesHoldNoTariff) {
    WriteWholeFile(Path(), "");
    TariffTable::FileLoad load = TariffTable::LoadFile(grid, Path());
    EXPECT_TRUE(load.result);
    EXPECT_EQ(load.rows, 0);

    const QString folderAsFile = folder.path();
    load = TariffTable::LoadFile(grid, folderAsFile);
    EXPECT_FALSE(load.result);
    EXPECT_EQ(load.rows, 0);
    EXPECT_EQ(load.result.Message(), QStringLiteral("Cannot open file ") + folderAsFile);

    // Far beyond any real tariff file: refused unread, with the reason, the file kept.
    const QByteArray huge = defaultLine + QByteArray(TariffTable::MaxFileSize, ';');
    WriteWholeFile(Path(), huge);
    load = TariffTable::LoadFile(grid, Path());
    EXPECT_FALSE(load.result);
    EXPECT_EQ(load.rows, 0);
    EXPECT_TRUE(load.result.Message().contains(QStringLiteral("dépasse 1 Mio")))
        << load.result.Message().toStdString();
    EXPECT_EQ(ReadWholeFile(Path()), huge);
}

TEST(TariffTableChoice, StoredIndexAndDesignationLookUp) {
    EXPECT_EQ(TariffTable::SelectedIndex(5, 3), 0);
    EXPECT_EQ(TariffTable::SelectedIndex(2, 3), 2);
    EXPECT_EQ(TariffTable::SelectedIndex(-1, 3), 0);
    EXPECT_EQ(TariffTable::SelectedIndex(0, 0), -1);
    const QStringList names = {"Tarif par défaut", "Nuit", "nuit"};
    EXPECT_EQ(TariffTable::FindDesignation(names, "NUIT"), 1);
    EXPECT_EQ(TariffTable::FindDesignation(names, "Jour"), -1);
}

TEST(TariffTableChoice, RenamingMovesExactlyMatchingAssociations) {
    QTemporaryDir folder;
    IniFile settings(folder.filePath("tallivo.ini"));
    settings.WriteString("Associations", "Free", "A");
    settings.WriteString("Associations", "Orange", "a");
    settings.WriteString("Associations", "Wanadoo", "A");
    settings.WriteString("Last", "Host", "A");
    EXPECT_EQ(TariffTable::RenameAssociations(settings, "A", "A"), 0);
    EXPECT_EQ(TariffTable::RenameAssociations(settings, "A", "B"), 2);
    EXPECT_EQ(settings.ReadSectionValues("Associations"),
              (QList<QPair<QString, QString>>{{"Free", "B"}, {"Orange", "a"}, {"Wanadoo", "B"}}));
    EXPECT_EQ(settings.ReadString("Last", "Host", ""), "A");
}
