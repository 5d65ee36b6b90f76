#include "app/ui/visual_alert.h"
#include "app/ui/windows.h"
#include "base/program_files.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"
#include "widgets/wav_player.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <sys/stat.h>
#include <vector>

namespace {
class AlarmsTest : public AppWindowsTest {
  protected:
    void SetUp() override {
        AppWindowsTest::SetUp();
        Form1->coutmin->setValue(1.0); // one unit a minute
        Form1->coutminc->setValue(1.0);
        for (QDoubleSpinBox* charge : {Form1->coutdeb, Form1->coutdebc})
            charge->setValue(0);
        for (QSpinBox* edit : {Form1->durdeb, Form1->durdebc, Form1->durfor})
            edit->setValue(0);
        Form1->CheckBox1->setChecked(true);
        Form1->CheckBox4->setChecked(false);
        QObject::connect(Form1->WAVPlayer1, &TWAVPlayer::Beeped,
                         [this] { sounds.push_back(Form1->Label13->text()); });
        QObject::connect(Form1->WAVPlayer1, &TWAVPlayer::PlaybackStarted,
                         [this] { sounds.push_back(Form1->Label13->text()); });
    }
    void StartRun() {
        Form1->SpeedButton1->click();
        Form1->SpeedButton2->click();
    }
    void Tick(int seconds = 1) {
        clock->clock.advanceSeconds(seconds);
        Form1->Timer1Timer();
    }
    static void Uncheck(QRadioButton* a, QRadioButton* b) {
        QButtonGroup* group = a->group();
        group->setExclusive(false);
        a->setChecked(false);
        b->setChecked(false);
        group->setExclusive(true);
    }
    std::vector<QString> sounds; // elapsed time shown at each sound
};
} // namespace

TEST_F(AlarmsTest, TheTimeAlarmSoundsOnEachPeriodButNeverAtZero) {
    Form1->RadioButton5->setChecked(true);
    Form1->SpinEdit2->setValue(10);
    StartRun();
    Form1->Timer1Timer(); // E = 0
    for (int second = 0; second < 1800; ++second)
        Tick();
    EXPECT_EQ(sounds, (std::vector<QString>{"00:10:00", "00:20:00", "00:30:00"}));
}

TEST_F(AlarmsTest, ATickThatSkipsTheExactSecondRaisesNothing) {
    Form1->RadioButton5->setChecked(true);
    Form1->SpinEdit2->setValue(10);
    StartRun();
    Tick(599);
    Tick(2);
    EXPECT_TRUE(sounds.empty());
    Tick(599);
    EXPECT_EQ(sounds, (std::vector<QString>{"00:20:00"}));
}

TEST_F(AlarmsTest, TheCostAlarmSoundsOnceAtEachMultipleOfItsUnits) {
    Form1->RadioButton6->setChecked(true);
    Form1->SpinEdit3->setValue(5);
    StartRun();
    for (int second = 0; second < 660; ++second)
        Tick();
    EXPECT_EQ(sounds, (std::vector<QString>{"00:05:00", "00:10:00"}));
}

TEST_F(AlarmsTest, ACostJumpingOverAMultipleRaisesNothingForIt) {
    Form1->RadioButton6->setChecked(true);
    Form1->SpinEdit3->setValue(5);
    Form1->SessionCost = 3;
    Form1->EvaluateAlarms(10, TForm1::AlarmMode::Chronometer);
    Form1->SessionCost = 6;
    Form1->EvaluateAlarms(11, TForm1::AlarmMode::Chronometer);
    EXPECT_TRUE(sounds.empty());
    Form1->SessionCost = 10.5;
    Form1->EvaluateAlarms(12, TForm1::AlarmMode::Chronometer);
    EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(AlarmsTest, AStartChargeOfFiveComma2SoundsOnTheFirstTick) {
    Form1->RadioButton6->setChecked(true);
    Form1->SpinEdit3->setValue(5);
    Form1->coutdeb->setValue(5.2);
    Form1->durdeb->setValue(60);
    StartRun();
    Form1->Timer1Timer(); // E = 0
    EXPECT_EQ(Form1->Label29->text(), "5,20 F");
    EXPECT_EQ(sounds, (std::vector<QString>{"00:00:00"}));
    Tick();
    EXPECT_EQ(sounds.size(), 1u);
    // The next count starts from 0 again: its own start charge sounds too.
    Form1->SpeedButton4->click();
    Form1->SpeedButton2->click();
    Form1->Timer1Timer();
    EXPECT_EQ(sounds.size(), 2u);
}

TEST_F(AlarmsTest, NeitherRadioButtonCheckedMeansByCost) {
    Uncheck(Form1->RadioButton5, Form1->RadioButton6);
    Form1->SpinEdit2->setValue(1);
    Form1->SpinEdit3->setValue(5);
    StartRun();
    for (int second = 0; second < 300; ++second)
        Tick();
    EXPECT_EQ(sounds, (std::vector<QString>{"00:05:00"})) << "not every minute";
}

TEST_F(AlarmsTest, ThePollRaisesNothingWithoutASession) {
    Form1->RadioButton5->setChecked(true);
    Form1->SpinEdit2->setValue(10);
    Form1->SessionActive = false;
    Form1->EvaluateAlarms(600, TForm1::AlarmMode::Poll);
    EXPECT_TRUE(sounds.empty());
    Form1->EvaluateAlarms(600, TForm1::AlarmMode::Chronometer);
    EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(AlarmsTest, TheVisualAlertIsRefreshedWhileOpenAndOkClosesIt) {
    Form1->CheckBox1->setChecked(false);
    Form1->CheckBox4->setChecked(true);
    Form1->RadioButton7->setChecked(true);
    Form1->SpinEdit4->setValue(10);
    StartRun();
    Tick(600);
    ASSERT_TRUE(VisualAlert->isVisible());
    EXPECT_FALSE(VisualAlert->isModal());
    EXPECT_TRUE(VisualAlert->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(VisualAlert->windowTitle(), "Tallivo");
    EXPECT_EQ(VisualAlert->Label2->text(), "00:10:00");
    EXPECT_EQ(VisualAlert->Label1->text(), "Vous avez dépassé la limite de temps !");
    EXPECT_EQ(VisualAlert->Label3->text(), "( 10 minutes )");
    EXPECT_TRUE(Form1->Timer1->isActive()) << "counting goes on";
    Tick(600);
    EXPECT_TRUE(VisualAlert->isVisible());
    EXPECT_EQ(VisualAlert->Label2->text(), "00:20:00");
    VisualAlert->showMinimized(); // by the user: the next alarm brings it back
    Tick(600);
    EXPECT_FALSE(VisualAlert->isMinimized());
    EXPECT_EQ(VisualAlert->Label2->text(), "00:30:00");
    VisualAlert->Button1->click();
    EXPECT_FALSE(VisualAlert->isVisible());
    EXPECT_TRUE(sounds.empty());

    Form1->RadioButton8->setChecked(true);
    Form1->SpinEdit5->setValue(35);
    Tick(300); // 35 units at 35 minutes
    ASSERT_TRUE(VisualAlert->isVisible());
    EXPECT_EQ(VisualAlert->Label2->text(), Form1->Label29->text());
    EXPECT_EQ(VisualAlert->Label1->text(), "Vous avez dépassé la limite de coût !");
    EXPECT_EQ(VisualAlert->Label3->text(), "( 35 " + Form1->Label46->text() + " )");

    // A dialog being answered stays above the next alert, its buttons in reach.
    QDialog question;
    question.setModal(true);
    question.show();
    Tick(2100);
    EXPECT_TRUE(VisualAlert->isVisible());
    EXPECT_FALSE(VisualAlert->windowFlags() & Qt::WindowStaysOnTopHint);
    question.close();
    Tick(2100);
    EXPECT_TRUE(VisualAlert->windowFlags() & Qt::WindowStaysOnTopHint);
    // Likewise for a dialog opened while the alert is up, until it closes.
    question.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(VisualAlert->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(VisualAlert->isVisible());
    question.close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(VisualAlert->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(AlarmsTest, MinuteOrMinutesAndThePeriodsFollowTheSpinEdits) {
    Form1->SpinEdit2->setValue(1);
    EXPECT_EQ(Form1->Label11->text(), "minute");
    EXPECT_EQ(Form1->SoundMinutes, 1);
    Form1->SpinEdit2->setValue(2);
    EXPECT_EQ(Form1->Label11->text(), "minutes");
    Form1->SpinEdit4->setValue(1);
    EXPECT_EQ(Form1->Label45->text(), "minute");
    Form1->SpinEdit3->setValue(7);
    Form1->SpinEdit5->setValue(9);
    EXPECT_EQ(Form1->SoundUnits, 7);
    EXPECT_EQ(Form1->VisualUnits, 9);
    Form1->SpinEdit5->setValue(0); // clamped by the spin edit
    EXPECT_EQ(Form1->VisualUnits, 1);
    // So is a 0 typed over 10, when the field is left.
    Form1->SpinEdit2->setValue(10);
    Form1->SpinEdit2->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(Form1->SpinEdit2, "0");
    QTest::keyClick(Form1->SpinEdit2, Qt::Key_Return);
    EXPECT_EQ(Form1->SoundMinutes, 1);
}

TEST_F(AlarmsTest, AChosenSoundIsCopiedBesideTheProgramAndWinsOverDefault) {
    const QString defaultSound = ProgramFiles::ProgramFolder() + "default.wav";
    WriteWholeFile(defaultSound, "RIFF default");
    Form1->SelectAlarmSound();
    EXPECT_EQ(Form1->WAVPlayer1->FileName, defaultSound);

    const auto choose = [](const QString& chosen) {
        QTimer::singleShot(0, [chosen] {
            WaitUntil([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); });
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Choix d'un fichier son");
            EXPECT_EQ(dialog->nameFilters(), QStringList{"Sons (*.wav)"});
            // Typed into the name field: selectFile() leaves a focused field alone.
            dialog->setDirectory(QFileInfo(chosen).absolutePath());
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QFileInfo(chosen).fileName());
            static_cast<QDialog*>(dialog)->accept();
        });
        Form1->Button9->click();
    };
    const auto wave = [](const char* formatSize) {
        return QByteArray("RIFF\0\0\0\0WAVEfmt ", 16) + QByteArray(formatSize, 4) +
               QByteArray(16, '\1') + QByteArray("data\0\0\0\0", 8);
    };
    const QByteArray chime = wave("\x10\0\0\0");
    const QString chosen = folder->file("chime.wav");
    WriteWholeFile(chosen, chime);
    choose(chosen);
    EXPECT_EQ(Form1->WAVPlayer1->FileName, ProgramFiles::SoundFileName());
    EXPECT_EQ(ReadWholeFile(ProgramFiles::SoundFileName()), chime);
    // A header running past the file's end would hold Qt's decoder for ever: refused.
    const QString damaged = folder->file("damaged.wav");
    WriteWholeFile(damaged, wave("\xf0\xff\xff\xff"));
    auto notASound = AnswerNextBox("OK");
    choose(damaged);
    EXPECT_TRUE(notASound->text.startsWith(damaged + " n'est pas un fichier son utilisable"));
    // A pipe is refused with the reason (reading it would never end), and the sound stays.
    const QString pipe = folder->file("pipe.wav");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    auto refused = AnswerNextBox("OK");
    choose(pipe);
    EXPECT_EQ(refused->text,
              pipe + " n'est pas un fichier son utilisable : le son de l'alarme n'a pas changé.");
    EXPECT_EQ(ReadWholeFile(ProgramFiles::SoundFileName()), chime);

    QFile::remove(ProgramFiles::SoundFileName());
    Form1->SelectAlarmSound();
    EXPECT_EQ(Form1->WAVPlayer1->FileName, defaultSound);
    QFile::remove(defaultSound);
    Form1->SelectAlarmSound();
    EXPECT_EQ(Form1->WAVPlayer1->FileName, "");
}
