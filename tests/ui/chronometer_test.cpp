#include "app/ui/mini_window.h"
#include "app/ui/tray_icon.h"
#include "app/ui/windows.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"

#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

using ChronometerTest = AppWindowsTest;

namespace {
void Tick(ScopedClock& clock, int seconds) {
    for (int second = 0; second < seconds; ++second) {
        clock.clock.advanceSeconds(1);
        Form1->Timer1Timer();
    }
}
} // namespace

TEST_F(ChronometerTest, PressingTheChronometerButtonStopsThePollAndReleasingItRestartsIt) {
    ASSERT_TRUE(Form1->Timer2->isActive());
    EXPECT_FALSE(Form1->SpeedButton2->isEnabled());
    Form1->SpeedButton1->click();
    EXPECT_FALSE(Form1->Timer2->isActive());
    EXPECT_TRUE(Form1->SpeedButton2->isEnabled());
    Form1->SpeedButton1->click();
    EXPECT_TRUE(Form1->Timer2->isActive());
    EXPECT_FALSE(Form1->SpeedButton2->isEnabled());
}

TEST_F(ChronometerTest, ARunCountsInTheMainWindowTheMiniWindowAndTheToolTip) {
    Form1->SpeedButton1->click();
    Form1->SpeedButton2->click();
    EXPECT_TRUE(Form1->Timer1->isActive());
    EXPECT_TRUE(MiniWin->isVisible());
    EXPECT_FALSE(Form1->SpeedButton2->isEnabled());
    EXPECT_TRUE(Form1->SpeedButton4->isEnabled());

    Tick(*clock, 90);
    EXPECT_EQ(Form1->Label13->text(), "00:01:30");
    EXPECT_EQ(MiniWin->Label13->text(), "00:01:30");
    EXPECT_TRUE(Form1->TrayIcon1->ToolTip().startsWith("Tallivo - 00:01:30 - "));
    EXPECT_EQ(Form1->TrayIcon1->ToolTip(), "Tallivo - 00:01:30 - " + Form1->Label29->text());
    EXPECT_EQ(MiniWin->height(), 16) << "time and cost only";

    Form1->SpeedButton4->click();
    EXPECT_FALSE(Form1->Timer1->isActive());
    EXPECT_FALSE(MiniWin->isVisible());
    EXPECT_EQ(Form1->Label13->text(), "00:01:30") << "the last count stays on display";
    EXPECT_EQ(Form1->TrayIcon1->ToolTip(), "Tallivo");
    EXPECT_TRUE(Form1->SpeedButton2->isEnabled());
}

TEST_F(ChronometerTest, ReleasingTheButtonDuringARunEndsTheRun) {
    Form1->SpeedButton1->click();
    Form1->SpeedButton2->click();
    Tick(*clock, 5);
    Form1->SpeedButton1->click();
    EXPECT_FALSE(Form1->Timer1->isActive());
    EXPECT_FALSE(MiniWin->isVisible());
    EXPECT_FALSE(Form1->SpeedButton4->isEnabled());
    EXPECT_TRUE(Form1->Timer2->isActive());
}

TEST_F(ChronometerTest, TheMiniWindowIs16Or28Or40PixelsHigh) {
    MiniWin->show();
    MiniWin->mspeed->clear();
    MiniWin->Label1->hide();
    MiniWin->FitMiniWindow();
    EXPECT_EQ(MiniWin->height(), 16);
    MiniWin->mspeed->setText("1,50 Ko/sec");
    MiniWin->FitMiniWindow();
    EXPECT_EQ(MiniWin->height(), 28);
    MiniWin->Label1->show();
    MiniWin->FitMiniWindow();
    EXPECT_EQ(MiniWin->height(), 40);
    MiniWin->hide();
    MiniWin->mspeed->clear();
    MiniWin->Label1->hide();
    MiniWin->FitMiniWindow();
    EXPECT_EQ(MiniWin->height(), 40) << "a hidden window keeps its height";
}

TEST_F(ChronometerTest, TheMiniWindowWidensSoThatNoCounterIsCutOrOverlapped) {
    MiniWin->show();
    MiniWin->mspeed->clear();
    MiniWin->Label1->hide();
    MiniWin->restefor->hide();
    const auto textLeft = [](const QLabel* label) {
        return label->x() + label->contentsRect().right() + 1 -
               label->fontMetrics().horizontalAdvance(label->text());
    };
    const auto textRight = [](const QLabel* label) {
        return label->x() + label->fontMetrics().horizontalAdvance(label->text());
    };
    for (const char* cost : {"0,24 F", "12,35 F", "373,57 F", "12345,67 F"}) {
        MiniWin->Label13->setText("00:01:04");
        MiniWin->Label29->setText(cost);
        MiniWin->FitMiniWindow();
        EXPECT_GE(textLeft(MiniWin->Label29), MiniWin->Label29->x()) << cost << " cut";
        EXPECT_GT(textLeft(MiniWin->Label29), textRight(MiniWin->Label13)) << cost;
        EXPECT_LE(MiniWin->Label29->geometry().right(), MiniWin->width() - 10) << cost;
    }
    MiniWin->Label29->setText("0,24 F");
    MiniWin->FitMiniWindow();
    EXPECT_EQ(MiniWin->width(), 104) << "back to its design";

    // Against the screen's right edge it steps back while wide, and then returns to the place
    // that is saved.
    const int placed = MiniWin->screen()->geometry().right() + 1 - 104;
    MiniWin->move(placed, 100);
    MiniWin->Label29->setText("12345678,90 F");
    MiniWin->FitMiniWindow();
    EXPECT_LT(MiniWin->x(), placed);
    EXPECT_EQ(MiniWin->PlacedLeft(), placed);
    MiniWin->Label29->setText("0,24 F");
    MiniWin->FitMiniWindow();
    EXPECT_EQ(MiniWin->x(), placed);
    MiniWin->hide();
}
