// The alarms of the page "Alarme": every N minutes or every N currency units, by sound and
// by the visual alert window.

#include "app/alarm_rules.h"
#include "app/ui/visual_alert.h"
#include "app/ui/windows.h"
#include "base/program_files.h"
#include "base/safe_write.h"
#include "base/wave_file.h"
#include "widgets/message_box.h"
#include "widgets/plain_file_icons.h"
#include "widgets/tform1.h"
#include "widgets/wav_player.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>

namespace {
qint32 PeriodOf(const QSpinBox* spin) {
    return std::clamp(spin->value(), 1, 9999);
}

QString Detail(const QSpinBox* spin, const QLabel* unit) {
    return QStringLiteral("( ") + QString::number(spin->value()) + QLatin1Char(' ') + unit->text() +
           QStringLiteral(" )");
}
} // namespace

void TForm1::EvaluateAlarms(qint32 elapsed, AlarmMode mode) {
    const bool sessionCondition = mode == AlarmMode::Chronometer || SessionActive;

    CostAlarmState sound{SoundUnitsSeen, SoundUnitsArmed};
    const bool soundDue = AlarmDue({RadioButton5->isChecked(), SoundMinutes, SoundUnits}, elapsed,
                                   SessionCost, sessionCondition, sound);
    SoundUnitsSeen = sound.unitsSeen;
    SoundUnitsArmed = sound.armed;
    if (CheckBox1->isChecked() && soundDue)
        PlayAlarmSound();

    CostAlarmState visual{VisualUnitsSeen, VisualUnitsArmed};
    const bool visualDue = AlarmDue({RadioButton7->isChecked(), VisualMinutes, VisualUnits},
                                    elapsed, SessionCost, sessionCondition, visual);
    VisualUnitsSeen = visual.unitsSeen;
    VisualUnitsArmed = visual.armed;
    if (CheckBox4->isChecked() && visualDue) {
        if (RadioButton7->isChecked())
            ShowVisualAlert(Label13->text(),
                            QStringLiteral("Vous avez dépassé la limite de temps !"),
                            Detail(SpinEdit4, Label45));
        else
            ShowVisualAlert(Label29->text(),
                            QStringLiteral("Vous avez dépassé la limite de coût !"),
                            Detail(SpinEdit5, Label46));
    }
}

void TForm1::RearmCostAlarms() {
    // A count starts from a cost of 0, which re-arms the cost alarms. Its first tick may
    // already show the start-of-call charge: the 0 is taken here, or a second session with
    // the same charge would find the alarm spent at that value.
    SoundUnitsSeen = VisualUnitsSeen = 0;
    SoundUnitsArmed = VisualUnitsArmed = true;
}

void TForm1::PlayAlarmSound() {
    // A sound server started after the program (a login that autostarts it late) counts:
    // WAVCapable looks again while no output was found.
    if (WAVPlayer1->WAVCapable() && !WAVPlayer1->FileName.isEmpty())
        WAVPlayer1->Play(); // a file deleted since it was chosen plays nothing
    else
        WAVPlayer1->Beep();
}

void TForm1::ShowVisualAlert(const QString& value, const QString& message, const QString& detail) {
    if (VisualAlert)
        VisualAlert->ShowAlert(value, message, detail);
}

void TForm1::SelectAlarmSound() {
    const QString chosen = ProgramFiles::SoundFileName();
    const QString fallback = ProgramFiles::ShippedFile(QStringLiteral("default.wav"));
    if (QFile::exists(chosen))
        WAVPlayer1->FileName = chosen;
    else if (QFile::exists(fallback))
        WAVPlayer1->FileName = fallback;
    else
        WAVPlayer1->FileName.clear();
}

void TForm1::Button9Click() {
    QFileDialog dialog(this, QStringLiteral("Choix d'un fichier son"));
    dialog.setObjectName(QStringLiteral("SoundDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    UsePlainFileIcons(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Sons (*.wav)"));
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    // The chosen sound is kept beside the program under its name, where it outlives the
    // original and wins over "default.wav". A failed copy keeps the previous choice, and says
    // why. A device or a huge file is no alarm sound, and would never end being read.
    constexpr qint64 largestSound = 64 << 20;
    const QString chosen = dialog.selectedFiles().constFirst();
    const QFileInfo chosenInfo(chosen);
    QFile source(chosen);
    const QString notASound = QStringLiteral("%1 n'est pas un fichier son utilisable : le son "
                                             "de l'alarme n'a pas changé.")
                                  .arg(QDir::toNativeSeparators(chosen));
    QString failure;
    if (!chosenInfo.isFile() || chosenInfo.size() > largestSound)
        failure = notASound;
    else if (!source.open(QIODevice::ReadOnly))
        failure = QStringLiteral("Le fichier %1 ne peut pas être lu : le son de l'alarme n'a "
                                 "pas changé.")
                      .arg(QDir::toNativeSeparators(chosen));
    else if (!WaveChunksFitTheFile(source) || !source.seek(0))
        failure = notASound;
    else if (const Result copied = WriteFileSafely(ProgramFiles::SoundFileName(), source.readAll());
             !copied)
        failure = copied.Message();
    if (!failure.isEmpty())
        ShowErrorBox(failure, this);
    SelectAlarmSound();
}

void TForm1::SpinEdit2Change() {
    SoundMinutes = PeriodOf(SpinEdit2);
    Label11->setText(QString::fromLatin1(MinuteLabel(SoundMinutes)));
}

void TForm1::SpinEdit3Change() {
    SoundUnits = PeriodOf(SpinEdit3);
}

void TForm1::SpinEdit4Change() {
    VisualMinutes = PeriodOf(SpinEdit4);
    Label45->setText(QString::fromLatin1(MinuteLabel(VisualMinutes)));
}

void TForm1::SpinEdit5Change() {
    VisualUnits = PeriodOf(SpinEdit5);
}
