#pragma once

#include "tariff/holidays.h"

#include <QDateTime>
#include <QString>

// The cost of a running session under the selected tariff, with its monthly allowance.
// Pure functions: the window reads its edits and fields, calls these, and writes back.

struct CostRates {
    double coutmin = 0;  // price per minute, peak hours
    double coutdeb = 0;  // start-of-call charge, peak hours
    int durdeb = 0;      // seconds covered by the start-of-call charge, peak hours
    double coutminc = 0; // the same three, off-peak hours
    double coutdebc = 0;
    int durdebc = 0;
    double durfor = 0; // allowance in hours; 0 = no allowance
    double dch = 0;    // hours and minutes used in the period before the journal's records
    double dcm = 0;
};

// Once per session: the moment the allowance was found exhausted.
struct AllowanceState {
    bool armed = true;     // the allowance-exceeded event has not happened in this session
    qint32 exceededAt = 0; // elapsed seconds of the tick where it happened
    // A session that runs into a new allowance period: the elapsed seconds and the session's
    // cost when that period began (none while it is in the period it started in). What it
    // cost until then stays charged; only its time since counts against the new allowance.
    qint32 periodStartedAt = 0;
    double costBefore = 0;
};

struct CostInput {
    CostRates tariff;
    qint32 elapsed = 0;           // E, whole seconds since the session started
    qint64 periodUsedSeconds = 0; // seconds recorded in the journal for this period
    bool offPeak = false;
    double previousCost = 0; // the session's cost at the previous tick
    AllowanceState allowance;
};

struct CostOutcome {
    double sessionCost = 0;
    qint64 used = 0;             // U: time used in the allowance period, this session included
    bool allowanceShown = false; // the tariff has an allowance (durfor > 0)
    bool allowanceExceededNow = false; // raise the allowance alarm at this tick
    AllowanceState allowance;          // the state to keep for the next tick
    qint64 remaining = 0;              // R: seconds left in the allowance, negative once over
    bool remainingPositive = false;    // R > 0: normal colours, otherwise red
    QString remainingText;             // main window: "2 h 5 mn", "- 1 h 1 mn"
    QString remainingMiniText;         // mini window: "2:05", "-1:01"
};

CostOutcome ComputeSessionCost(const CostInput& input);

// Whether the session, last costed on `lastCostDay`, has run into a new allowance period
// today (the period starting on day `firstDay` of a month).
bool EntersNewAllowancePeriod(const QDate& lastCostDay, const QDate& today, int firstDay);

// Allowance in whole seconds (durfor hours, rounded).
qint64 AllowanceSeconds(double durfor);
// "- 1 h 1 mn" and "-1:01" for a number of seconds left in the allowance.
QString RemainingAllowanceText(qint64 remainingSeconds);
QString RemainingAllowanceMiniText(qint64 remainingSeconds);

// "Tallivo - 25/12/2026 10:15:00 (heures creuses) - Noël"
QString CostCaption(const QString& title, const QDateTime& moment, const OffPeakState& period);
// "Total du mois : 19:59:30"
QString MonthTimeHint(qint64 usedSeconds);
// "Total du mois : 12,35 F"
QString MonthCostHint(double periodCost, double sessionCost, const QString& currencyUnit);
// The texts of the visual alert raised when the allowance runs out.
QString AllowanceExceededMessage();
QString AllowanceExceededDetail(double durfor); // "( 20 heures )"
