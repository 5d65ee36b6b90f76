#include "base/formats.h"
#include "support/test_support.h"
#include "tariff/cost.h"

#include <gtest/gtest.h>

namespace {
CostRates PeakRate(double perMinute) {
    CostRates tariff;
    tariff.coutmin = perMinute;
    tariff.coutminc = perMinute / 2;
    return tariff;
}

// Runs a session tick by tick, as the window does, carrying the cost and allowance state.
struct SessionRun {
    explicit SessionRun(const CostRates& values) : tariff(values) {}
    CostRates tariff;
    qint64 periodUsed = 0;
    bool offPeak = false;
    double cost = 0;
    AllowanceState allowance;
    int events = 0;
    int firstEventAt = -1;

    CostOutcome Tick(qint32 elapsed) {
        CostInput input{tariff, elapsed, periodUsed, offPeak, cost, allowance};
        const CostOutcome outcome = ComputeSessionCost(input);
        cost = outcome.sessionCost;
        allowance = outcome.allowance;
        if (outcome.allowanceExceededNow) {
            ++events;
            if (firstEventAt < 0)
                firstEventAt = elapsed;
        }
        return outcome;
    }
};
} // namespace

TEST(SessionCost, RunsByTheSecondFromThePerMinutePrice) {
    SessionRun run(PeakRate(0.22));
    const CostOutcome outcome = run.Tick(90);
    EXPECT_DOUBLE_EQ(outcome.sessionCost, 0.22 * 90 / 60);
    EXPECT_EQ(AmountText(outcome.sessionCost, "F"), "0,33 F");
    EXPECT_FALSE(outcome.allowanceShown);
}

TEST(SessionCost, StartOfCallChargeCoversItsDurationThenThePriceRuns) {
    CostRates tariff = PeakRate(0.033);
    tariff.coutdeb = 0.11;
    tariff.durdeb = 180;
    SessionRun run(tariff);
    EXPECT_DOUBLE_EQ(run.Tick(0).sessionCost, 0.11);
    EXPECT_DOUBLE_EQ(run.Tick(100).sessionCost, 0.11);
    EXPECT_DOUBLE_EQ(run.Tick(180).sessionCost, 0.11);
    const double cost = run.Tick(240).sessionCost;
    EXPECT_NEAR(cost, 0.143, 1e-12);
    EXPECT_EQ(AmountText(cost, "F"), "0,14 F");
}

TEST(SessionCost, NoStartChargeWithoutStartDuration) {
    CostRates tariff = PeakRate(0.22);
    tariff.coutdeb = 5; // ignored: durdeb is 0
    EXPECT_DOUBLE_EQ(SessionRun(tariff).Tick(60).sessionCost, 0.22);
}

TEST(SessionCost, OffPeakUsesTheOffPeakValuesForTheWholeSession) {
    CostRates tariff;
    tariff.coutmin = 0.22;
    tariff.coutdeb = 0.5;
    tariff.durdeb = 60;
    tariff.coutminc = 0.10;
    tariff.coutdebc = 0.2;
    tariff.durdebc = 30;
    // A session started at 18:58:00 on a Tuesday: peak until its tick at 19:00:00.
    const QDateTime start(QDate(2026, 4, 7), QTime(18, 58, 0));
    SessionRun run(tariff);
    for (qint32 elapsed = 0; elapsed <= 150; ++elapsed) {
        run.offPeak = IsOffPeak(start.addSecs(elapsed)).offPeak;
        run.Tick(elapsed);
        if (elapsed == 119) {
            EXPECT_DOUBLE_EQ(run.cost, 0.5 + 0.22 * (119 - 60) / 60);
        } else if (elapsed == 120) {
            EXPECT_DOUBLE_EQ(run.cost, 0.2 + 0.10 * (120 - 30) / 60);
        }
    }
    EXPECT_DOUBLE_EQ(run.cost, 0.2 + 0.10 * (150 - 30) / 60);
}

TEST(Allowance, ExhaustedDuringTheSessionFiresOnceAndChargesFromThatTick) {
    CostRates tariff = PeakRate(0.22);
    tariff.durfor = 20;
    tariff.dch = 19;
    tariff.dcm = 59;
    SessionRun run(tariff);
    for (qint32 elapsed = 0; elapsed <= 90; ++elapsed) {
        const CostOutcome outcome = run.Tick(elapsed);
        EXPECT_TRUE(outcome.allowanceShown);
        if (elapsed <= 60) {
            EXPECT_EQ(run.cost, 0.0) << elapsed;
        }
    }
    EXPECT_EQ(run.events, 1);
    EXPECT_EQ(run.firstEventAt, 61);
    EXPECT_EQ(run.allowance.exceededAt, 61);
    EXPECT_FALSE(run.allowance.armed);
    EXPECT_DOUBLE_EQ(run.cost, 0.22 * 29 / 60);
}

TEST(Allowance, AlreadyExhaustedAtTheFirstTickFiresThere) {
    CostRates tariff = PeakRate(0.6);
    tariff.durfor = 10;
    SessionRun run(tariff);
    run.periodUsed = 11 * 3600;
    run.Tick(0);
    EXPECT_EQ(run.firstEventAt, 0);
    run.Tick(1);
    run.Tick(60);
    EXPECT_EQ(run.events, 1);
    EXPECT_DOUBLE_EQ(run.cost, 0.6);
}

TEST(Allowance, ASessionRunningIntoANewPeriodKeepsItsCostAndStartsTheNewAllowance) {
    EXPECT_FALSE(EntersNewAllowancePeriod({}, QDate(2026, 12, 1), 1));
    EXPECT_FALSE(EntersNewAllowancePeriod(QDate(2026, 11, 30), QDate(2026, 11, 30), 1));
    EXPECT_TRUE(EntersNewAllowancePeriod(QDate(2026, 11, 30), QDate(2026, 12, 1), 1));
    EXPECT_FALSE(EntersNewAllowancePeriod(QDate(2026, 11, 30), QDate(2026, 12, 1), 15));
    EXPECT_TRUE(EntersNewAllowancePeriod(QDate(2026, 12, 10), QDate(2027, 1, 20), 15));

    // Off-peak: 0,20 covers the first 30 s, then 0,30 a minute; an hour's allowance, spent.
    CostRates tariff = PeakRate(0.6);
    tariff.coutminc = 0.3;
    tariff.coutdebc = 0.2;
    tariff.durdebc = 30;
    tariff.durfor = 1;
    SessionRun run(tariff);
    run.offPeak = true;
    run.periodUsed = 3601;
    run.Tick(0);
    run.Tick(34);
    EXPECT_NEAR(run.cost, 0.22, 1e-12);

    // Midnight of the first day: the journal holds nothing of the new period yet.
    run.periodUsed = 0;
    run.allowance = {true, 0, 34, run.cost};
    EXPECT_EQ(run.Tick(35).remaining, 3599);
    EXPECT_NEAR(run.Tick(3634).sessionCost, 0.22, 1e-12) << "the new hour is free";
    run.Tick(3635);
    EXPECT_EQ(run.events, 2);
    EXPECT_EQ(run.allowance.exceededAt, 3635);
    EXPECT_NEAR(run.Tick(3695).sessionCost, 0.22 + 0.3, 1e-12);
}

TEST(Allowance, TimeLeftKeepsTheStartCharge) {
    CostRates tariff = PeakRate(0.22);
    tariff.coutdeb = 0.11;
    tariff.durdeb = 30;
    tariff.durfor = 20;
    SessionRun run(tariff);
    run.Tick(0);
    run.Tick(30);
    EXPECT_DOUBLE_EQ(run.Tick(600).sessionCost, 0.11);
    EXPECT_EQ(run.events, 0);
}

TEST(Allowance, RunningOutInsideTheStartDurationNeverGivesANegativeCost) {
    CostRates tariff = PeakRate(0.3);
    tariff.coutdeb = 0.11;
    tariff.durdeb = 180;
    tariff.durfor = 1;
    SessionRun run(tariff);
    run.periodUsed = 3600 - 60; // runs out at E = 61
    for (qint32 elapsed = 0; elapsed <= 300; ++elapsed) {
        const double before = run.cost;
        run.Tick(elapsed);
        EXPECT_GE(run.cost, before) << elapsed;
    }
    EXPECT_EQ(run.firstEventAt, 61);
    EXPECT_DOUBLE_EQ(run.cost, 0.11 + 0.3 * (300 - 61 - 180) / 60);
}

TEST(Allowance, UsedTimeAddsJournalHoursBeforeItAndTheSession) {
    CostRates tariff = PeakRate(0.22);
    tariff.durfor = 20;
    tariff.dch = 2;
    tariff.dcm = 30;
    SessionRun run(tariff);
    run.periodUsed = 3600;
    const CostOutcome outcome = run.Tick(125);
    EXPECT_EQ(outcome.used, 3600 + 9000 + 125);
    EXPECT_EQ(outcome.remaining, 72000 - 12725);
    EXPECT_EQ(outcome.remainingText, "16 h 27 mn");
    EXPECT_EQ(outcome.remainingMiniText, "16:27");
    EXPECT_TRUE(outcome.remainingPositive);
    EXPECT_EQ(MonthTimeHint(outcome.used), "Total du mois : 03:32:05");
}

TEST(Allowance, RemainingTextsAtZeroAndBelow) {
    EXPECT_EQ(RemainingAllowanceText(0), "0 h 0 mn");
    EXPECT_EQ(RemainingAllowanceMiniText(0), "0:00");
    EXPECT_EQ(RemainingAllowanceText(-3700), "- 1 h 1 mn");
    EXPECT_EQ(RemainingAllowanceMiniText(-3700), "-1:01");

    CostRates tariff = PeakRate(0.22);
    tariff.durfor = 1;
    SessionRun run(tariff);
    run.periodUsed = 3590;
    EXPECT_FALSE(run.Tick(10).remainingPositive); // R = 0 is shown in red
    EXPECT_TRUE(run.Tick(9).remainingPositive);
}

TEST(Allowance, WithoutAllowanceNothingIsShownAndNothingFires) {
    SessionRun run(PeakRate(0.22));
    run.periodUsed = 1000 * 3600;
    for (qint32 elapsed = 0; elapsed < 100; ++elapsed)
        EXPECT_FALSE(run.Tick(elapsed).allowanceShown);
    EXPECT_EQ(run.events, 0);
    EXPECT_TRUE(run.allowance.armed);
}

TEST(CostTexts, CaptionHintsAndAlertDetail) {
    EXPECT_EQ(CostCaption("Tallivo", QDateTime(QDate(2026, 12, 25), QTime(10, 15, 0)),
                          {true, QStringLiteral("Noël")}),
              "Tallivo - 25/12/2026 10:15:00 (heures creuses) - Noël");
    EXPECT_EQ(CostCaption("Tallivo", QDateTime(QDate(2026, 4, 7), QTime(9, 0, 5)), {false, {}}),
              "Tallivo - 07/04/2026 09:00:05 (heures pleines)");
    EXPECT_EQ(MonthCostHint(12.2, 0.15, "F"), "Total du mois : 12,35 F");
    EXPECT_EQ(AllowanceExceededDetail(20), "( 20 heures )");
    EXPECT_EQ(AllowanceExceededDetail(1), "( 1 heure )");
    EXPECT_EQ(AllowanceExceededMessage(), "La durée de votre forfait est dépassée !");
}
