#pragma once

#include "journal/journal_summary.h"
#include "journal/month_estimate.h"

#include <QDate>
#include <QList>
#include <QStringList>
#include <vector>

// The sums of every month group of that calendar month (a month can appear in several runs).
JournalSums CalendarMonthSums(const std::vector<MonthGroup>& groups, int year, int month);

// The chart's values, oldest month first, the current month last.
struct MonthChartSeries {
    QStringList labels;     // "janv. 25", French abbreviations whatever the user's language
    QList<double> cost;     // recorded cost of each month
    QList<double> hours;    // recorded connected hours of each month
    QList<double> extra;    // what the estimate adds to the current month's cost; 0 elsewhere
    double largestCost = 0; // cost plus extra, for the axis
    double largestHours = 0;
};

// The last `monthCount` months up to `today`'s month from the month totals.
MonthChartSeries BuildMonthChartSeries(const std::vector<MonthGroup>& groups, const QDate& today,
                                       const MonthEstimate& estimate, int monthCount = 24);

// The decimals an axis label needs so that every grid line's value reads apart from its
// neighbours ("0,05", "0,10"...): those of the step between two lines, at least none.
int AxisLabelDecimals(double step);
