#include "tariff/cost.h"

#include "base/formats.h"
#include "base/text_functions.h"
#include "journal/allowance_period.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
qint64 RoundedSeconds(double seconds) {
    return static_cast<qint64>(std::nearbyint(seconds));
}

qint32 ClampedToInt32(qint64 value) {
    return static_cast<qint32>(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

QString MonthHintPrefix() {
    return QStringLiteral("Total du mois : ");
}
} // namespace

qint64 AllowanceSeconds(double durfor) {
    return RoundedSeconds(durfor * 3600.0);
}

QString RemainingAllowanceText(qint64 remainingSeconds) {
    const qint64 magnitude = remainingSeconds < 0 ? -remainingSeconds : remainingSeconds;
    const QString sign = remainingSeconds < 0 ? QStringLiteral("- ") : QString();
    return sign + QString::number(magnitude / 3600) + QStringLiteral(" h ") +
           QString::number(magnitude % 3600 / 60) + QStringLiteral(" mn");
}

QString RemainingAllowanceMiniText(qint64 remainingSeconds) {
    const qint64 magnitude = remainingSeconds < 0 ? -remainingSeconds : remainingSeconds;
    const QString sign = remainingSeconds < 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(magnitude / 3600) + QLatin1Char(':') +
           QStringLiteral("%1").arg(magnitude % 3600 / 60, 2, 10, QLatin1Char('0'));
}

CostOutcome ComputeSessionCost(const CostInput& input) {
    const CostRates& tariff = input.tariff;
    const qint64 elapsed = input.elapsed;
    CostOutcome outcome;
    outcome.allowance = input.allowance;

    const qint64 allowance = AllowanceSeconds(tariff.durfor);
    const double startCharge = input.offPeak ? (tariff.durdebc > 0 ? tariff.coutdebc : 0.0)
                                             : (tariff.durdeb > 0 ? tariff.coutdeb : 0.0);
    const qint64 countedInPeriod = elapsed - input.allowance.periodStartedAt;
    outcome.used = input.periodUsedSeconds +
                   RoundedSeconds(tariff.dch * 3600.0 + tariff.dcm * 60.0) + countedInPeriod;

    outcome.allowanceShown = tariff.durfor > 0;
    if (outcome.allowanceShown) {
        if (outcome.used > allowance && outcome.allowance.armed) {
            outcome.allowanceExceededNow = true;
            outcome.allowance.exceededAt = input.elapsed;
            outcome.allowance.armed = false;
        }
        outcome.remaining = allowance - outcome.used;
        outcome.remainingPositive = outcome.remaining > 0;
        outcome.remainingText = RemainingAllowanceText(outcome.remaining);
        outcome.remainingMiniText = RemainingAllowanceMiniText(outcome.remaining);
    }

    const double rate = input.offPeak ? tariff.coutminc : tariff.coutmin;
    const qint64 startDuration = input.offPeak ? tariff.durdebc : tariff.durdeb;
    if (elapsed <= startDuration) {
        outcome.sessionCost = startCharge;
    } else if (!outcome.allowanceShown) {
        outcome.sessionCost = startCharge + rate * (elapsed - startDuration) / 60.0;
    } else if (input.allowance.periodStartedAt > 0) {
        // The start charge is in the cost carried over; time beyond the new allowance adds.
        const qint64 charged =
            outcome.used > allowance ? elapsed - outcome.allowance.exceededAt : 0;
        outcome.sessionCost = input.allowance.costBefore + rate * charged / 60.0;
    } else if (outcome.used > allowance) {
        // Time beyond the allowance is charged from the tick it ran out. When the allowance
        // runs out within the start-of-call duration the difference would be negative: the
        // cost then stays at the start charge instead of going below it.
        const qint64 charged =
            std::max<qint64>(0, elapsed - outcome.allowance.exceededAt - startDuration);
        outcome.sessionCost = startCharge + rate * charged / 60.0;
    } else {
        outcome.sessionCost = input.previousCost;
    }
    return outcome;
}

bool EntersNewAllowancePeriod(const QDate& lastCostDay, const QDate& today, int firstDay) {
    return lastCostDay.isValid() && !InAllowancePeriod(lastCostDay, today, firstDay);
}

QString CostCaption(const QString& title, const QDateTime& moment, const OffPeakState& period) {
    QString caption = title + QStringLiteral(" - ") + DateTimeText(moment) +
                      (period.offPeak ? QStringLiteral(" (heures creuses)")
                                      : QStringLiteral(" (heures pleines)"));
    if (!period.holidayName.isEmpty())
        caption += QStringLiteral(" - ") + period.holidayName;
    return caption;
}

QString MonthTimeHint(qint64 usedSeconds) {
    return MonthHintPrefix() + DurationText(ClampedToInt32(usedSeconds));
}

QString MonthCostHint(double periodCost, double sessionCost, const QString& currencyUnit) {
    return MonthHintPrefix() + AmountText(periodCost + sessionCost, currencyUnit);
}

QString AllowanceExceededMessage() {
    return QStringLiteral("La durée de votre forfait est dépassée !");
}

QString AllowanceExceededDetail(double durfor) {
    const qint64 hours = static_cast<qint64>(std::nearbyint(durfor));
    return QStringLiteral("( ") + QString::number(hours) +
           (durfor > 1 ? QStringLiteral(" heures") : QStringLiteral(" heure")) +
           QStringLiteral(" )");
}
