#include "app/ui/mini_window.h"
#include "app/ui/windows.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>

namespace {
class SettingsTest : public AppWindowsTest {
  protected:
    QString SettingsPath() const { return ProgramFiles::SettingsFileName(); }

    // The settings file holds exactly these lines when the program reads them.
    void LoadFrom(const QByteArray& contents) {
        WriteWholeFile(SettingsPath(), contents);
        Form1->LoadSettings();
    }

    // Section names and keys of the file, in file order.
    QStringList FileOutline() const {
        QStringList outline;
        for (const QByteArray& line : ReadWholeFile(SettingsPath()).split('\n')) {
            if (line.isEmpty())
                continue;
            const int equals = line.indexOf('=');
            outline.append(QString::fromUtf8(equals < 0 ? line : line.left(equals)));
        }
        return outline;
    }
};
} // namespace

TEST_F(SettingsTest, TheFirstSaveWritesMainWLastAndMiniwinInOrder) {
    QFile::remove(SettingsPath());
    Form1->SaveSettings();
    EXPECT_EQ(FileOutline(), QStringList({"[MainW]",
                                          "ComboBox1",
                                          "ComboTarif",
                                          "Automail",
                                          "Visuelle",
                                          "HeureAuto",
                                          "x",
                                          "y",
                                          "[Last]",
                                          "Host",
                                          "MinuteST",
                                          "RadioButton1",
                                          "RadioButton2",
                                          "HeureQ",
                                          "RadioButton3",
                                          "RadioButton4",
                                          "Jour",
                                          "HeureH",
                                          "RadioButton5",
                                          "RadioButton6",
                                          "RadioButton7",
                                          "RadioButton8",
                                          "Minute",
                                          "Franc",
                                          "Minutev",
                                          "Francv",
                                          "ShowOnStart",
                                          "StayOnTop",
                                          "WinStart",
                                          "monnaie",
                                          "CheminExport",
                                          "ExportFilterIndex",
                                          "[Miniwin]",
                                          "x",
                                          "y"}));
    const IniFile settings(SettingsPath());
    EXPECT_EQ(settings.ReadInteger("MainW", "ComboBox1", -2), Form1->ComboBox1->currentIndex());
    EXPECT_EQ(settings.ReadInteger("MainW", "ComboTarif", -1), 0);
    EXPECT_EQ(settings.ReadString("Last", "HeureQ", ""), "12:00");
    EXPECT_EQ(settings.ReadString("Last", "monnaie", ""), "F");
    EXPECT_TRUE(settings.ReadBool("Last", "RadioButton4", false));
    EXPECT_FALSE(settings.ReadBool("Last", "RadioButton6", true));
    EXPECT_EQ(settings.ReadInteger("Last", "Minute", 0), 10);
    EXPECT_FALSE(settings.SectionExists("Associations"));
}

TEST_F(SettingsTest, AnEntryIndexOutsideTheListSelectsTheFirstEntry) {
    Form1->ComboBox1->clear();
    Form1->ComboBox1->addItems({"Free", "Orange", "Wanadoo"});
    LoadFrom("[MainW]\nComboBox1=7\n");
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 0);
    LoadFrom("[MainW]\nComboBox1=2\n");
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 2);
    LoadFrom("[MainW]\nComboBox1=-1\n");
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 0);
}

TEST_F(SettingsTest, BooleansAcceptHexadecimalAndBadValuesGiveTheDefault) {
    LoadFrom("[MainW]\nAutomail=0\nVisuelle=0\n");
    ASSERT_FALSE(Form1->CheckBox1->isChecked());
    LoadFrom("[MainW]\nAutomail=0x1\nVisuelle=oui\nHeureAuto=0X0\n");
    EXPECT_TRUE(Form1->CheckBox1->isChecked());
    EXPECT_TRUE(Form1->CheckBox4->isChecked());
    EXPECT_FALSE(Form1->CheckBox3->isChecked());
}

TEST_F(SettingsTest, ClockTimesAreCutToFiveCharacters) {
    LoadFrom("[Last]\nHeureQ=07:45:30 extra\nHeureH=23:10xyz\nJour=9\nMinuteST=15\n");
    EXPECT_EQ(Form1->DailyTime, "07:45");
    EXPECT_EQ(Form1->Edit->text(), "07:45");
    EXPECT_EQ(Form1->WeeklyTime, "23:10");
    EXPECT_EQ(Form1->EditH->text(), "23:10");
    EXPECT_EQ(Form1->ComboBox2->currentIndex(), 0);
    EXPECT_EQ(Form1->IntervalMinutes, 15);
    EXPECT_EQ(Form1->SpinEdit1->value(), 15);
}

TEST_F(SettingsTest, RadioButtonsAreAppliedInOrderAndMayAllBeOff) {
    LoadFrom("[Last]\nRadioButton1=1\nRadioButton4=0\nRadioButton5=1\nRadioButton6=1\n"
             "RadioButton7=0\nRadioButton8=0\n");
    EXPECT_TRUE(Form1->RadioButton1->isChecked());
    EXPECT_FALSE(Form1->RadioButton4->isChecked());
    EXPECT_FALSE(Form1->RadioButton5->isChecked());
    EXPECT_TRUE(Form1->RadioButton6->isChecked()) << "the one applied last wins";
    EXPECT_FALSE(Form1->RadioButton7->isChecked());
    EXPECT_FALSE(Form1->RadioButton8->isChecked());

    LoadFrom("[Last]\nRadioButton1=0\nRadioButton2=0\nRadioButton3=0\nRadioButton4=0\n");
    for (QRadioButton* button :
         {Form1->RadioButton1, Form1->RadioButton2, Form1->RadioButton3, Form1->RadioButton4})
        EXPECT_FALSE(button->isChecked()) << button->objectName().toStdString();
}

TEST_F(SettingsTest, TheCurrencyUnitGoesToTheAmountsAndTheAlarmLabels) {
    Form1->CurrEdit->setText("€");
    EXPECT_EQ(Form1->coutmin->suffix(), " €");
    EXPECT_EQ(Form1->coutdebc->suffix(), " €");
    EXPECT_EQ(Form1->Label10->text(), "€");
    EXPECT_EQ(Form1->Label46->text(), "€");

    LoadFrom("[Last]\nmonnaie=EUR\n"); // longer than can be typed: kept whole
    EXPECT_EQ(Form1->CurrEdit->text(), "EUR");
    EXPECT_EQ(Form1->coutminc->suffix(), " EUR");
}

TEST_F(SettingsTest, SettingsSurviveARestart) {
    Form1->CheckBox1->setChecked(false);
    Form1->CheckBox2->setChecked(false);
    Form1->ShowOnStart->setChecked(false);
    Form1->cbHost->setCurrentText("time.example.org");
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton8->setChecked(true);
    Form1->DailyTime = "06:30";
    Form1->ComboBox2->setCurrentIndex(4);
    Form1->SoundMinutes = 25;
    Form1->VisualUnits = 12;
    Form1->CurrEdit->setText("$");
    Form1->ExportFolder = "/tmp/exports/";
    Form1->ExportFilterIndex = 2;
    Form1->move(40, 50);
    Form1->SaveSettings();

    StopProgram();
    StartProgram();
    EXPECT_FALSE(Form1->CheckBox1->isChecked());
    EXPECT_FALSE(Form1->CheckBox2->isChecked());
    EXPECT_FALSE(MiniWin->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        << "the unchecked box takes the mini window out of the topmost band";
    EXPECT_FALSE(Form1->ShowOnStart->isChecked());
    Form1->hide();
    Form1->ShowIfNoNotificationArea();
    EXPECT_TRUE(Form1->isVisible()) << "no notification area offscreen: nowhere else to be found";
    EXPECT_EQ(Form1->cbHost->currentText(), "time.example.org");
    EXPECT_TRUE(Form1->RadioButton2->isChecked());
    EXPECT_TRUE(Form1->RadioButton8->isChecked());
    EXPECT_EQ(Form1->DailyTime, "06:30");
    EXPECT_EQ(Form1->Edit->text(), "06:30");
    EXPECT_EQ(Form1->ComboBox2->currentIndex(), 4);
    EXPECT_EQ(Form1->SoundMinutes, 25);
    EXPECT_EQ(Form1->SpinEdit2->value(), 25);
    EXPECT_EQ(Form1->VisualUnits, 12);
    EXPECT_EQ(Form1->SpinEdit5->value(), 12);
    EXPECT_EQ(Form1->CurrEdit->text(), "$");
    EXPECT_EQ(Form1->coutmin->suffix(), " $");
    EXPECT_EQ(Form1->ExportFolder, "/tmp/exports/");
    EXPECT_EQ(Form1->ExportFilterIndex, 2);
    EXPECT_EQ(Form1->pos(), QPoint(40, 50));
}

TEST_F(SettingsTest, WindowsStoredOutsideEveryScreenComeBackToTheirDefaultPlace) {
    StopProgram();
    WriteWholeFile(ProgramFiles::SettingsFileName(),
                   "[MainW]\nx=-5000\ny=90000\n[Miniwin]\nx=100\ny=90000\n");
    StartProgram();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_TRUE(screen.intersects(Form1->frameGeometry()));
    EXPECT_EQ(MiniWin->pos(), QPoint(screen.right() + 1 - 58 - MiniWin->width(), screen.y() + 2));
}

TEST_F(SettingsTest, AFailedWriteEndsTheSaveSilently) {
    QFile::remove(SettingsPath());
    QDir().mkpath(SettingsPath()); // the settings file cannot be written
    QFile::remove(ProgramFiles::TariffFileName());
    Form1->SaveSettings();
    EXPECT_FALSE(QFile::exists(ProgramFiles::TariffFileName())) << "the rest was skipped";
}
