// The cost of the running session under the selected tariff, once per tick: the caption with
// the period, the allowance left with its once-per-session alarm, and the monthly totals.

#include "app/application_title.h"
#include "base/clock.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/log.h"
#include "base/text_functions.h"
#include "journal/allowance_period.h"
#include "journal/journal_store.h"
#include "journal/month_estimate.h"
#include "tariff/cost.h"
#include "tariff/holidays.h"
#include "widgets/counter_text.h"
#include "widgets/label_colour.h"
#include "widgets/tform1.h"
#include "widgets/ticking_caption.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>
#include <limits>

namespace {
QString UsedTimeText(qint64 seconds) {
    return DurationText(static_cast<qint32>(std::clamp<qint64>(
        seconds, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max())));
}
} // namespace

void TForm1::LockConsumedTimeOnFirstDay(bool firstDayOfPeriod) {
    // Stored too: the tariff shown again on a later day must not bring the last period's
    // consumed time back.
    const bool reset = firstDayOfPeriod && (dch->value() != 0 || dcm->value() != 0);
    for (QSpinBox* edit : {dch, dcm}) {
        if (firstDayOfPeriod)
            edit->setValue(0);
        edit->setEnabled(!firstDayOfPeriod);
        SetHint(edit, firstDayOfPeriod
                          ? QStringLiteral("Ne peut être modifié le premier jour du forfait")
                          : QString());
    }
    if (reset) { // written at once: a crash later that day must not bring it back either
        StoreSelectedTariff();
        try {
            SaveTariffFile();
        } catch (const AppError& error) { // the settings' next save tries again
            qCWarning(logFiles).noquote() << "tariff file not saved:" << error.message();
        }
    }
}

QString TForm1::ComputeCost(qint32 elapsed) {
    const QDateTime now = Now();
    const OffPeakState period = IsOffPeak(now);
    ClockCaption->ShowTicking(CostCaption(ApplicationTitle(), now, period));

    // On the allowance period's first day nothing is consumed yet: dch and dcm are set to 0
    // and locked before they are read.
    LockConsumedTimeOnFirstDay(IsFirstDayOfAllowancePeriod(now.date(), debfor->value()));
    const qint32 periodUsed =
        JournalSums->PeriodUsedSeconds(now.date(), debfor->value(), Session.tariff);
    CostRates tariff;
    tariff.coutmin = coutmin->value();
    tariff.coutdeb = coutdeb->value();
    tariff.durdeb = durdeb->value();
    tariff.coutminc = coutminc->value();
    tariff.coutdebc = coutdebc->value();
    tariff.durdebc = durdebc->value();
    tariff.durfor = durfor->value();
    tariff.dch = dch->value();
    tariff.dcm = dcm->value();

    if (tariff.durfor > 0 &&
        EntersNewAllowancePeriod(Session.lastCostDay, now.date(), debfor->value())) {
        AllowanceAlarmArmed = true;
        AllowanceExceededAt = 0;
        Session.allowancePeriodStartedAt = elapsed;
        Session.costBeforeAllowancePeriod = SessionCost;
    }
    Session.lastCostDay = now.date();
    const CostOutcome outcome = ComputeSessionCost(
        {tariff, elapsed, periodUsed, period.offPeak, SessionCost,
         AllowanceState{AllowanceAlarmArmed, AllowanceExceededAt, Session.allowancePeriodStartedAt,
                        Session.costBeforeAllowancePeriod}});

    const QString usedHint = MonthTimeHint(outcome.used);
    SetHint(Label13, usedHint);

    if (outcome.allowanceShown) {
        if (outcome.allowanceExceededNow) {
            AllowanceExceededAt = outcome.allowance.exceededAt;
            StoreSelectedTariff();
            if (CheckBox1->isChecked())
                PlayAlarmSound();
            if (CheckBox4->isChecked())
                ShowVisualAlert(UsedTimeText(outcome.used), AllowanceExceededMessage(),
                                AllowanceExceededDetail(tariff.durfor));
            AllowanceAlarmArmed = false;
        }
        SetTextColour(restefor, outcome.remainingPositive ? QColor(Qt::black) : QColor(Qt::red));
        SetCounterText(restefor, outcome.remainingText);
    }
    Label31->setVisible(outcome.allowanceShown);
    restefor->setVisible(outcome.allowanceShown);

    SessionCost = outcome.sessionCost;
    const double periodCost = JournalSums->PeriodCost(now.date(), debfor->value(), Session.tariff);
    const QString costHint = MonthCostHint(periodCost, SessionCost, CurrEdit->text());
    // The main window's hint also extrapolates the period's figures to its end; the mini
    // window keeps the total alone.
    const MonthEstimate estimate = EstimateMonthEnd(
        {now, debfor->value(), outcome.used - elapsed, periodCost, elapsed, SessionCost});
    QString estimateHint =
        costHint + QLatin1Char('\n') + MonthEstimateText(estimate, CurrEdit->text());
    if (const QString outlook = AllowanceOutlookText(estimate, tariff.durfor); !outlook.isEmpty())
        estimateHint += QLatin1Char('\n') + outlook;
    SetHint(Label29, estimateHint);
    emit CostShown({usedHint, costHint, outcome.allowanceShown, outcome.remainingPositive,
                    outcome.remainingMiniText});
    return AmountText(SessionCost, CurrEdit->text());
}
