#include "journal/month_estimate.h"

#include "base/formats.h"
#include "base/text_functions.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr qint64 secondsPerDay = 86400;

// Seconds from the start of `first` to `moment`, counted in calendar days so that a change
// of daylight saving time does not shift the pace.
qint64 SecondsSince(const QDate& first, const QDateTime& moment) {
    return first.daysTo(moment.date()) * secondsPerDay +
           moment.time().msecsSinceStartOfDay() / 1000;
}
} // namespace

EstimatePeriod PeriodContaining(const QDate& date, int firstDay) {
    const int day = std::clamp(firstDay, 1, 28);
    QDate first(date.year(), date.month(), day);
    if (date.day() < day)
        first = first.addMonths(-1);
    return {first, first.addMonths(1)};
}

MonthEstimate EstimateMonthEnd(const MonthEstimateInput& input) {
    MonthEstimate estimate;
    if (!input.now.isValid())
        return estimate;
    const EstimatePeriod period = PeriodContaining(input.now.date(), input.firstDay);
    const qint64 elapsed = SecondsSince(period.first, input.now);
    if (elapsed < secondsPerDay)
        return estimate;
    const qint64 length = period.first.daysTo(period.next) * secondsPerDay;

    double sessionShare = 1;
    if (input.sessionSeconds > elapsed) // began before the period
        sessionShare = double(elapsed) / double(input.sessionSeconds);
    const double seconds = double(input.rowSeconds) + double(input.sessionSeconds) * sessionShare;
    const double cost = input.rowCost + input.sessionCost * sessionShare;
    const double scale = double(length) / double(elapsed);
    estimate.available = true;
    estimate.seconds = qint64(std::llround(seconds * scale));
    estimate.cost = cost * scale;
    return estimate;
}

QString MonthEstimateText(const MonthEstimate& estimate, const QString& currencyUnit) {
    const QString label = QStringLiteral("Estimation fin de mois : ");
    if (!estimate.available)
        return label + QStringLiteral("pas avant le 2e jour");
    return label + AmountText(estimate.cost, currencyUnit) + QStringLiteral(" (") +
           HoursMinutesText(estimate.seconds) + QLatin1Char(')');
}

QString AllowanceOutlookText(const MonthEstimate& estimate, int allowanceHours) {
    if (!estimate.available || allowanceHours <= 0 ||
        estimate.seconds <= qint64(allowanceHours) * 3600)
        return {};
    return QStringLiteral("À ce rythme, le forfait de %1 h sera dépassé : le temps au-delà sera "
                          "facturé en plus.")
        .arg(allowanceHours);
}
