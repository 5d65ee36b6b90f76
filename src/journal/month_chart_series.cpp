#include "journal/month_chart_series.h"

#include <cmath>

#include <QHash>
#include <QLocale>
#include <algorithm>

namespace {
int MonthKey(int year, int month) {
    return year * 12 + month - 1;
}
} // namespace

JournalSums CalendarMonthSums(const std::vector<MonthGroup>& groups, int year, int month) {
    JournalSums sums;
    for (const MonthGroup& group : groups)
        if (group.year == year && group.month == month)
            sums.Add(group.sums);
    return sums;
}

MonthChartSeries BuildMonthChartSeries(const std::vector<MonthGroup>& groups, const QDate& today,
                                       const MonthEstimate& estimate, int monthCount) {
    static const QLocale french(QLocale::French, QLocale::France);
    const int lastKey = MonthKey(today.year(), today.month());
    const int firstKey = lastKey - monthCount + 1;
    QHash<int, JournalSums> byMonth;
    for (const MonthGroup& group : groups) {
        const int key = MonthKey(group.year, group.month);
        if (key >= firstKey && key <= lastKey)
            byMonth[key].Add(group.sums);
    }

    MonthChartSeries series;
    for (int key = firstKey; key <= lastKey; ++key) {
        const int year = key / 12;
        const int month = key % 12 + 1;
        const JournalSums sums = byMonth.value(key);
        series.labels.append(french.monthName(month, QLocale::ShortFormat) + QLatin1Char(' ') +
                             QStringLiteral("%1").arg(year % 100, 2, 10, QLatin1Char('0')));
        series.cost.append(sums.cost);
        series.hours.append(double(sums.seconds) / 3600.0);
        const bool current = key == lastKey;
        series.extra.append(current && estimate.available ? std::max(0.0, estimate.cost - sums.cost)
                                                          : 0.0);
        series.largestCost = std::max(series.largestCost, sums.cost + series.extra.constLast());
        series.largestHours = std::max(series.largestHours, series.hours.constLast());
    }
    return series;
}

int AxisLabelDecimals(double step) {
    int decimals = 0;
    for (double scaled = step; decimals < 6 && std::fabs(scaled - std::round(scaled)) > 1e-6;
         scaled *= 10)
        ++decimals;
    return decimals;
}
