#include "app/ui/mini_window.h"
#include "app/ui/visual_alert.h"
#include "app/ui/windows.h"
#include "journal/ui/journal_window.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"
#include "widgets/wav_player.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

namespace {
class CostDisplayTest : public AppWindowsTest {
  protected:
    void SetUp() override {
        AppWindowsTest::SetUp();
        Form1->Session.SetTariff(QStringLiteral("Forfait"));
        Form1->coutmin->setValue(0.22);
        Form1->coutminc->setValue(0.11);
        for (QDoubleSpinBox* charge : {Form1->coutdeb, Form1->coutdebc})
            charge->setValue(0);
        for (QSpinBox* edit :
             {Form1->durdeb, Form1->durdebc, Form1->durfor, Form1->dch, Form1->dcm})
            edit->setValue(0);
        Form1->debfor->setValue(1);
        Form1->CheckBox1->setChecked(false);
        Form1->CheckBox4->setChecked(false);
    }
    void StartRun() {
        Form1->SpeedButton1->click();
        Form1->SpeedButton2->click();
    }
    void TickTo(qint32 elapsed) {
        const QDateTime start = DaysToDateTime(Form1->SessionStart);
        for (qint64 now = start.secsTo(Now()) + 1; now <= elapsed; ++now) {
            clock->clock.set(start.addSecs(now));
            Form1->Timer1Timer();
        }
    }
    // An allowance of 20 h of which 19 h 59 min are used: it runs out at 61 s of a run.
    // Returns the count of alarm sounds heard from then on.
    std::shared_ptr<int> AllowanceEndingAt61s(bool sound, bool visual) {
        Form1->durfor->setValue(20);
        Form1->dch->setValue(19);
        Form1->dcm->setValue(59);
        Form1->CheckBox1->setChecked(sound);
        Form1->CheckBox4->setChecked(visual);
        auto sounds = std::make_shared<int>(0);
        QObject::connect(Form1->WAVPlayer1, &TWAVPlayer::Beeped, [sounds] { ++*sounds; });
        QObject::connect(Form1->WAVPlayer1, &TWAVPlayer::PlaybackStarted, [sounds] { ++*sounds; });
        return sounds;
    }
    static QColor Colour(const QLabel* label) {
        return label->palette().color(QPalette::WindowText);
    }
    static QList<QLabel*> AllowanceLabels() {
        return {Form1->Label31, Form1->restefor, MiniWin->Label1, MiniWin->restefor};
    }
};
} // namespace

TEST_F(CostDisplayTest, ShowsThePeakCostWithCaptionAndMonthlyHints) {
    StartRun();
    TickTo(90);
    EXPECT_EQ(Form1->Label29->text(), "0,33 F");
    EXPECT_EQ(MiniWin->Label29->text(), "0,33 F");
    EXPECT_EQ(Form1->windowTitle(), "Tallivo - 08/12/2026 10:01:30 (heures pleines)");
    EXPECT_EQ(Form1->Label13->toolTip(), "Total du mois : 00:01:30");
    EXPECT_EQ(MiniWin->Label13->toolTip(), "Total du mois : 00:01:30");
    // The main window's hint ends with the month-end estimate: 7 days 10 h of 31 days passed.
    EXPECT_EQ(Form1->Label29->toolTip(),
              "Total du mois : 0,33 F\nEstimation fin de mois : 1,38 F (0 h 6 mn)");
    EXPECT_EQ(MiniWin->Label29->toolTip(), "Total du mois : 0,33 F");
    for (QLabel* label : AllowanceLabels())
        EXPECT_TRUE(label->isHidden()) << label->objectName().toStdString();
}

TEST_F(CostDisplayTest, AHolidayIsOffPeakAndNamedInTheCaption) {
    clock->clock.set(QDateTime(QDate(2026, 12, 25), QTime(10, 15, 0)));
    StartRun();
    TickTo(60);
    EXPECT_EQ(Form1->windowTitle(), "Tallivo - 25/12/2026 10:16:00 (heures creuses) - Noël");
    EXPECT_EQ(Form1->Label29->text(), "0,11 F");
}

TEST_F(CostDisplayTest, TheMonthlyTotalsIncludeThisPeriodsRowsOfTheSameTariff) {
    SessionRecord earlier;
    earlier.tariff = QStringLiteral("Forfait");
    earlier.date = QDate(2026, 12, 2);
    earlier.startTime = QTime(9, 0);
    earlier.durationSeconds = 3600;
    earlier.cost = 13.2;
    Journal->Store.AppendSession(earlier);
    earlier.tariff = QStringLiteral("Autre");
    Journal->Store.AppendSession(earlier);
    earlier.tariff = QStringLiteral("Forfait");
    earlier.date = QDate(2026, 11, 30);
    Journal->Store.AppendSession(earlier);
    StartRun();
    TickTo(90);
    EXPECT_EQ(Form1->Label13->toolTip(), "Total du mois : 01:01:30");
    EXPECT_EQ(Form1->Label29->toolTip(),
              "Total du mois : 13,53 F\nEstimation fin de mois : 56,54 F (4 h 17 mn)");
}

TEST_F(CostDisplayTest, TheAllowanceAlarmsFollowTheirCheckBoxes) {
    const auto sounds = AllowanceEndingAt61s(false, false);
    StartRun();
    TickTo(61);
    EXPECT_EQ(Form1->AllowanceExceededAt, 61);
    EXPECT_EQ(*sounds, 0);
    EXPECT_FALSE(VisualAlert->isVisible());
}

TEST_F(CostDisplayTest, TheAllowanceRunsOutOnceWithItsAlarmAndItsRedRemainder) {
    const auto sounds = AllowanceEndingAt61s(true, true);
    StartRun();
    TickTo(30);
    EXPECT_EQ(Form1->restefor->text(), "0 h 0 mn");
    EXPECT_EQ(MiniWin->restefor->text(), "0:00");
    EXPECT_EQ(Colour(Form1->restefor), QColor(Qt::black));
    EXPECT_EQ(Colour(MiniWin->restefor), QColor(0, 255, 255));
    for (QLabel* label : AllowanceLabels())
        EXPECT_FALSE(label->isHidden()) << label->objectName().toStdString();

    TickTo(60);
    EXPECT_EQ(*sounds, 0);
    EXPECT_FALSE(VisualAlert->isVisible());
    EXPECT_EQ(Colour(Form1->restefor), QColor(Qt::red)) << "no time left is shown in red";
    TickTo(61);
    EXPECT_EQ(*sounds, 1);
    EXPECT_EQ(Form1->AllowanceExceededAt, 61);
    EXPECT_TRUE(VisualAlert->isVisible());
    EXPECT_EQ(VisualAlert->Label2->text(), "20:00:01");
    EXPECT_EQ(VisualAlert->Label1->text(), "La durée de votre forfait est dépassée !");
    EXPECT_EQ(VisualAlert->Label3->text(), "( 20 heures )");
    VisualAlert->Button1->click();

    TickTo(90);
    EXPECT_EQ(*sounds, 1) << "once per session";
    EXPECT_FALSE(VisualAlert->isVisible());
    EXPECT_DOUBLE_EQ(Form1->SessionCost, 0.22 * 29 / 60);
    EXPECT_EQ(Form1->Label29->text(), "0,11 F");
    EXPECT_EQ(Form1->restefor->text(), "- 0 h 0 mn");
    EXPECT_EQ(MiniWin->restefor->text(), "-0:00");
    EXPECT_EQ(Colour(MiniWin->restefor), QColor(Qt::red));
}
