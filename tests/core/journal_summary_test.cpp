#include "journal/journal_store.h"
#include "journal/journal_summary.h"
#include "journal/print_layout.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
class JournalSummaryTest : public ::testing::Test {
  protected:
    void Row(const QString& date, const QString& duration, const QString& received,
             const QString& sent, const QString& cost) {
        store.jgrid.AppendRow(
            {"Wanadoo", "Tarif local", date, "21:00:00", duration, received, sent, cost});
        store.jgrid.SetRowCells(0, JournalStore::HeaderTexts());
    }
    QStringList MonthRow(int row) const { return months.RowCells(row); }

    JournalStore store;
    TCellGrid months;
    JournalSummary summary{store, months};
};
} // namespace

TEST_F(JournalSummaryTest, MonthsFollowTheStoredOrderWithTheirOwnSums) {
    Row("03/02/2003", "00:10:00", "1024", "512", "2,50");
    Row("28/02/2003", "00:05:00", "1024", "", "1,25");
    Row("01/03/2003", "01:00:00", "", "", "8,75");
    Row("15/02/2003", "00:00:30", "", "", "0"); // February again, after March
    Row("01/02/2004", "00:00:30", "", "", "0"); // and a year later
    const auto outcome = summary.Refresh("F");
    EXPECT_TRUE(outcome.totalsRead && outcome.complete);

    ASSERT_EQ(months.RowCount(), 5);
    EXPECT_EQ(MonthRow(4).value(0), "février 2004");
    EXPECT_EQ(MonthRow(0), QStringList({"Mois", "Durée", "Reçu", "Envoyé", "Coût"}));
    EXPECT_EQ(MonthRow(1),
              QStringList({"février 2003", "00:15:00", "2,00 Ko", "512 octets", "3,75 F"}));
    EXPECT_EQ(MonthRow(2),
              QStringList({"mars 2003", "01:00:00", "0 octets", "0 octets", "8,75 F"}));
    EXPECT_EQ(MonthRow(3),
              QStringList({"février 2003", "00:00:30", "0 octets", "0 octets", "0,00 F"}));

    const JournalTotalsTexts totals = TotalsTexts(summary.Totals(), "F");
    EXPECT_EQ(totals.cost, "12,50 F");
    EXPECT_EQ(totals.duration, "01:16:00");
    EXPECT_EQ(totals.received, "2,00 Ko");
    EXPECT_EQ(totals.sent, "512 octets");
}

TEST_F(JournalSummaryTest, AppendedRowsAreReadAloneAndUpdateTheLastMonthInPlace) {
    for (int day = 1; day <= 20; ++day)
        Row(QString("%1/01/2004").arg(day, 2, 10, QChar('0')), "00:01:00", "10", "10", "1,00");
    summary.Refresh("F");
    EXPECT_EQ(summary.RowsReadLastTime(), 20);

    QSignalSpy resets(&months, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&months, &QAbstractItemModel::rowsInserted);
    Row("21/01/2004", "00:01:00", "10", "10", "1,00");
    summary.Refresh("F");
    EXPECT_EQ(summary.RowsReadLastTime(), 1);
    EXPECT_EQ(months.RowCount(), 2);
    EXPECT_EQ(months.Cells(4, 1), "21,00 F");
    Row("01/02/2004", "00:01:00", "10", "10", "1,00");
    summary.Refresh("F");
    EXPECT_EQ(months.Cells(0, 2), "février 2004");
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(TotalsTexts(summary.Totals(), "F").cost, "22,00 F");

    // A changed row already read, a repeated row or another currency: read again.
    store.jgrid.SetCells(JournalStore::Cout, 1, "101,00");
    Row("01/02/2004", "00:01:00", "10", "10", "1,00");
    summary.Refresh("€");
    EXPECT_EQ(store.SessionRowCount(), 22);
    EXPECT_EQ(months.Cells(4, 1), "121,00 €");
    EXPECT_EQ(TotalsTexts(summary.Totals(), "€").cost, "122,00 €");
}

TEST_F(JournalSummaryTest, AnUnreadableCellStopsTheRebuildAndKeepsWhatWasBuilt) {
    Row("10/01/2004", "00:01:00", "", "", "1,00");
    Row("10/02/2004", "00:01:00", "", "", "1,00");
    summary.Refresh("F");
    ASSERT_EQ(months.RowCount(), 3);

    Row("10/03/2004", "00:01:00", "", "", "1,00");
    Row("pas une date", "00:01:00", "", "", "1,00");
    auto outcome = summary.Refresh("F");
    EXPECT_TRUE(outcome.totalsRead); // the dates are read after the totals
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(TotalsTexts(summary.Totals(), "F").cost, "4,00 F");
    // January and February were finished before the bad date; March was still open.
    ASSERT_EQ(months.RowCount(), 3);
    EXPECT_EQ(months.Cells(0, 2), "février 2004");

    store.jgrid.SetCells(JournalStore::Date, 4, "11/03/2004");
    store.jgrid.SetCells(JournalStore::Duree, 2, "deux minutes");
    outcome = summary.Refresh("F");
    EXPECT_FALSE(outcome.totalsRead);
    EXPECT_EQ(months.RowCount(), 3); // left as it was
}

TEST(PrintLayout, PagesRepeatTheHeaderAndTheRangeIsClamped) {
    EXPECT_EQ(BodyRowsPerPage(1000, 50, 50, 100, 50), 15); // 800 left, one row for the header
    EXPECT_EQ(BodyRowsPerPage(100, 50, 50, 100, 50), 1);
    const auto pages = PaginateRows(31, 15);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[2].firstRow, 31);
    EXPECT_EQ(pages[2].rowCount, 1);
    EXPECT_EQ(PaginateRows(0, 15).size(), 1u);
    EXPECT_EQ(ChosenPages(3, 0, 0).begin, 0);
    EXPECT_EQ(ChosenPages(3, 0, 0).end, 3);
    EXPECT_EQ(ChosenPages(3, 2, 9).begin, 1);
    EXPECT_EQ(ChosenPages(3, 2, 9).end, 3);
}

TEST(PrintLayout, AWideTableNarrowsItsWidestColumnsToFitThePage) {
    const std::vector<double> widths = {100, 900, 50, 60};
    EXPECT_EQ(FitColumnsToWidth(widths, 2000), widths);
    EXPECT_EQ(FitColumnsToWidth(widths, 500), (std::vector<double>{100, 290, 50, 60}));
    EXPECT_EQ(FitColumnsToWidth(widths, 200), (std::vector<double>{50, 50, 50, 50}));
}
