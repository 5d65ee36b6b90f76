// The handlers of the page "Mise à l'heure automatique du PC": the schedule's controls, the
// once-a-minute tick and the next-setting line.

#include "base/clock.h"
#include "timesync/clock_schedule.h"
#include "widgets/spin_button.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>

namespace {
ClockSetMode ModeOf(const TForm1& form) {
    if (form.RadioButton1->isChecked())
        return ClockSetMode::EveryMinutes;
    if (form.RadioButton2->isChecked())
        return ClockSetMode::Daily;
    if (form.RadioButton3->isChecked())
        return ClockSetMode::Weekly;
    return ClockSetMode::AtConnection;
}

ClockSchedule ScheduleOf(const TForm1& form) {
    ClockSchedule schedule;
    schedule.mode = ModeOf(form);
    schedule.minutesLeft = form.MinutesLeft;
    schedule.dailyTime = form.DailyTime;
    schedule.weeklyTime = form.WeeklyTime;
    schedule.weeklyDayIndex = std::max(form.ComboBox2->currentIndex(), 0);
    return schedule;
}

// Writes a field's text from code without running its change handler again; the caret stays.
void WriteField(QLineEdit* field, const QString& text) {
    if (field->text() == text)
        return;
    const int caret = field->cursorPosition();
    const QSignalBlocker quiet(field);
    field->setText(text);
    field->setCursorPosition(caret);
}
} // namespace

void TForm1::EnableClockModeControls() {
    const ClockSetMode mode = ModeOf(*this);
    const bool every = mode == ClockSetMode::EveryMinutes;
    const bool daily = mode == ClockSetMode::Daily;
    const bool weekly = mode == ClockSetMode::Weekly;
    for (QWidget* control : std::initializer_list<QWidget*>{SpinEdit1, Label41})
        control->setEnabled(every);
    for (QWidget* control : std::initializer_list<QWidget*>{HSpin, Edit, MSpin})
        control->setEnabled(daily);
    for (QWidget* control :
         std::initializer_list<QWidget*>{ComboBox2, Label43, HSpinH, EditH, MSpinH})
        control->setEnabled(weekly);
}

void TForm1::CheckBox3Click() {
    Timer3->setInterval(60000);
    if (CheckBox3->isChecked())
        Timer3->start();
    else
        Timer3->stop();
    Label42->setVisible(CheckBox3->isChecked());
}

void TForm1::RadioButton1Click() {
    EnableClockModeControls();
    SpinEdit1Change();
}

void TForm1::RadioButton2Click() {
    EnableClockModeControls();
    UpdateNextSetLabel();
}

void TForm1::RadioButton3Click() {
    EnableClockModeControls();
    UpdateNextSetLabel();
}

void TForm1::RadioButton4Click() {
    EnableClockModeControls();
    UpdateNextSetLabel();
}

void TForm1::SpinEdit1Change() {
    IntervalMinutes = SpinEdit1->value();
    if (IntervalMinutes < 1) {
        IntervalMinutes = 1;
        const QSignalBlocker quiet(SpinEdit1);
        SpinEdit1->setValue(1);
    }
    MinutesLeft = IntervalMinutes;
    Label41->setText(IntervalMinutes == 1 ? QStringLiteral(" minute") : QStringLiteral(" minutes"));
    UpdateNextSetLabel();
}

void TForm1::EditChange() {
    DailyTime = ValidatedTimeField(Edit->displayText(), DailyTime);
    WriteField(Edit, DailyTime);
    UpdateNextSetLabel();
}

void TForm1::EditHChange() {
    WeeklyTime = ValidatedTimeField(EditH->displayText(), WeeklyTime);
    WriteField(EditH, WeeklyTime);
    UpdateNextSetLabel();
}

namespace {
void Step(TForm1& form, QLineEdit* field, QString& stored, TimePart part, int step) {
    // What the field shows: its text alone drops the mask's blanks and shifts the figures.
    WriteField(field,
               SteppedTimeField(ValidatedTimeField(field->displayText(), stored), part, step));
    stored = field->displayText().left(5);
    form.UpdateNextSetLabel();
}
} // namespace

void TForm1::HSpinUpClick() {
    Step(*this, Edit, DailyTime, TimePart::Hours, +1);
}
void TForm1::HSpinDownClick() {
    Step(*this, Edit, DailyTime, TimePart::Hours, -1);
}
void TForm1::MSpinUpClick() {
    Step(*this, Edit, DailyTime, TimePart::Minutes, +1);
}
void TForm1::MSpinDownClick() {
    Step(*this, Edit, DailyTime, TimePart::Minutes, -1);
}
void TForm1::HSpinHUpClick() {
    Step(*this, EditH, WeeklyTime, TimePart::Hours, +1);
}
void TForm1::HSpinHDownClick() {
    Step(*this, EditH, WeeklyTime, TimePart::Hours, -1);
}
void TForm1::MSpinHUpClick() {
    Step(*this, EditH, WeeklyTime, TimePart::Minutes, +1);
}
void TForm1::MSpinHDownClick() {
    Step(*this, EditH, WeeklyTime, TimePart::Minutes, -1);
}

void TForm1::ComboBox2Change() {
    UpdateNextSetLabel();
}

void TForm1::TabSheet5Show() {
    UpdateNextSetLabel();
}

void TForm1::UpdateNextSetLabel() {
    // During a setting the line keeps what it said.
    if (!Button8->isEnabled())
        return;
    Label42->setText(NextSetText(MinutesToNextSet(ScheduleOf(*this), Now())));
}

void TForm1::Timer3Timer() {
    QPointer<TForm1> alive(this);
    const ClockSchedule schedule = ScheduleOf(*this);
    if (schedule.mode == ClockSetMode::EveryMinutes) {
        if (--MinutesLeft <= 0) {
            // Restarted before the setting, whose waits let later ticks in.
            MinutesLeft = IntervalMinutes;
            SetClock(false);
        }
    } else if (ClockSetDueAt(schedule, Now())) {
        SetClock(false);
    }
    if (alive)
        UpdateNextSetLabel();
}

void TForm1::TimeQuery1ConnectionFailed() {
    ClockQueryFailed = true;
}
