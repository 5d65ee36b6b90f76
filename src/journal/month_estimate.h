#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// What the current period holds so far: the journal's rows of the period and the session
// being counted.
struct MonthEstimateInput {
    QDateTime now;
    int firstDay = 1;      // the period starts on this day of a month (1: calendar month)
    qint64 rowSeconds = 0; // journal rows of the period
    double rowCost = 0;
    qint64 sessionSeconds = 0; // the session being counted, 0 when none
    double sessionCost = 0;
};

struct MonthEstimate {
    bool available = false; // no estimate during the period's first day
    qint64 seconds = 0;     // connected time at the period's end, at the current pace
    double cost = 0;
};

// The period containing `date` that starts on day `firstDay` (1 to 28) of a month: its
// first day and the first day of the next one.
struct EstimatePeriod {
    QDate first;
    QDate next;
};
EstimatePeriod PeriodContaining(const QDate& date, int firstDay);

// The period's time and cost so far, scaled by the period's length over the time elapsed
// since its start. Of a session that began before the period, only the share of its time
// spent inside the period counts.
MonthEstimate EstimateMonthEnd(const MonthEstimateInput& input);

// "Estimation fin de mois : 48,20 F (12 h 30 mn)"; on the first day
// "Estimation fin de mois : pas avant le 2e jour".
QString MonthEstimateText(const MonthEstimate& estimate, const QString& currencyUnit);
// For a tariff with an allowance, the cost extrapolated from the allowance's free hours says
// nothing of what lies beyond it: a warning line when the pace would pass the allowance's
// hours before the period's end; empty otherwise.
QString AllowanceOutlookText(const MonthEstimate& estimate, int allowanceHours);
