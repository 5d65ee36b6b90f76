// The settings file: reading it into the controls at start-up, writing it back, and the
// small handlers of the "Options générales" page that act on settings.
#include "app/autostart.h"
#include "app/errors.h"
#include "app/ini_file.h"
#include "app/program_files.h"
#include "app/ui/message_box.h"
#include "app/ui/mini_window.h"
#include "app/ui/settings_positions.h"
#include "app/ui/tform1.h"
#include "app/ui/windows.h"
#include "journal/ui/journal_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>

namespace {
const QString mainW = QStringLiteral("MainW");
const QString last = QStringLiteral("Last");
const QString miniwin = QStringLiteral("Miniwin");
const QString defaultTimeServer = QStringLiteral("time.nist.gov");

IniFile SettingsFile() {
    return IniFile(ProgramFiles::SettingsFileName());
}

QRect PrimaryScreenGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// A window placed where no screen shows it (a screen since removed, or a copy of the
// program that hid its counter below the screen) would be lost to the user.
QPoint VisiblePosition(const QPoint& stored, const QSize& size, const QPoint& fallback) {
    const QRect window(stored, size);
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().intersects(window))
            return stored;
    return fallback;
}

QPoint ReadPosition(const IniFile& settings, const QString& section, const QPoint& fallback,
                    const QSize& size) {
    const QPoint stored(settings.ReadInteger(section, QStringLiteral("x"), fallback.x()),
                        settings.ReadInteger(section, QStringLiteral("y"), fallback.y()));
    return VisiblePosition(stored, size, fallback);
}

// Sets a radio button as a user's click would, unchecking included: in an exclusive group
// Qt refuses to uncheck the checked button, so exclusivity is lifted for the change.
void ApplyRadioButton(QRadioButton* button, bool checked) {
    if (checked || !button->isChecked()) {
        button->setChecked(checked);
        return;
    }
    QButtonGroup* group = button->group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = button->autoExclusive();
    if (group)
        group->setExclusive(false);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(autoExclusive);
    if (group)
        group->setExclusive(groupExclusive);
}

void ApplyText(QLineEdit* edit, const QString& text) {
    // A unit longer than what can be typed can only come from the file; it is kept whole.
    if (text.size() > edit->maxLength())
        edit->setMaxLength(static_cast<int>(text.size()));
    edit->setText(text);
}
} // namespace

QPoint LoadMiniWindowPosition(const QSize& windowSize) {
    const QRect screen = PrimaryScreenGeometry();
    const QPoint fallback(screen.x() + screen.width() - 58 - windowSize.width(), screen.y() + 2);
    return ReadPosition(SettingsFile(), miniwin, fallback, windowSize);
}

void TForm1::LoadSettings() {
    const QString setAside = IniFile::SetAsideWhenTooLarge(ProgramFiles::SettingsFileName());
    if (!setAside.isEmpty())
        ShowErrorBox(setAside, this);
    const IniFile settings = SettingsFile();
    LoadingSettings = true;

    const int entry = settings.ReadInteger(mainW, QStringLiteral("ComboBox1"), 0);
    if (ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(entry >= 0 && entry < ComboBox1->count() ? entry : 0);
    CheckBox1->setChecked(settings.ReadBool(mainW, QStringLiteral("Automail"), true));
    CheckBox4->setChecked(settings.ReadBool(mainW, QStringLiteral("Visuelle"), true));
    CheckBox3->setChecked(settings.ReadBool(mainW, QStringLiteral("HeureAuto"), true));
    cbHost->setCurrentText(settings.ReadString(last, QStringLiteral("Host"), defaultTimeServer));
    // The clock check box handler runs once whatever the value, so that the clock page's
    // timer and label follow it even when the box kept its state.
    if (metaObject()->indexOfMethod("CheckBox3Click()") >= 0)
        QMetaObject::invokeMethod(this, "CheckBox3Click");

    IntervalMinutes = settings.ReadInteger(last, QStringLiteral("MinuteST"), 30);
    SpinEdit1->setValue(IntervalMinutes);
    DailyTime =
        settings.ReadString(last, QStringLiteral("HeureQ"), QStringLiteral("12:00")).left(5);
    WeeklyTime =
        settings.ReadString(last, QStringLiteral("HeureH"), QStringLiteral("12:00")).left(5);
    const int day = settings.ReadInteger(last, QStringLiteral("Jour"), 0);
    ComboBox2->setCurrentIndex(day >= 0 && day < ComboBox2->count() ? day : 0);
    Edit->setText(DailyTime);
    EditH->setText(WeeklyTime);

    const QList<QPair<QRadioButton*, bool>> radioDefaults = {
        {RadioButton1, false}, {RadioButton2, false}, {RadioButton3, false}, {RadioButton4, true},
        {RadioButton5, true},  {RadioButton6, false}, {RadioButton7, true},  {RadioButton8, false}};
    for (const auto& [button, defaultValue] : radioDefaults)
        ApplyRadioButton(button, settings.ReadBool(last, button->objectName(), defaultValue));

    SoundMinutes = settings.ReadInteger(last, QStringLiteral("Minute"), 10);
    SoundUnits = settings.ReadInteger(last, QStringLiteral("Franc"), 5);
    VisualMinutes = settings.ReadInteger(last, QStringLiteral("Minutev"), 10);
    VisualUnits = settings.ReadInteger(last, QStringLiteral("Francv"), 5);
    SpinEdit2->setValue(SoundMinutes);
    SpinEdit3->setValue(SoundUnits);
    SpinEdit4->setValue(VisualMinutes);
    SpinEdit5->setValue(VisualUnits);

    ShowOnStart->setChecked(settings.ReadBool(last, QStringLiteral("ShowOnStart"), true));
    WinStart->setChecked(settings.ReadBool(last, QStringLiteral("WinStart"), true));
    const bool stayOnTop = settings.ReadBool(last, QStringLiteral("StayOnTop"), true);
    CheckBox2->setChecked(stayOnTop);
    // The mini window is created in the topmost band: an unchecked box that kept its state
    // must still take it out.
    if (MiniWin && MiniWin->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != stayOnTop)
        CheckBox2Click();
    ApplyText(CurrEdit, settings.ReadString(last, QStringLiteral("monnaie"), QStringLiteral("F")));

    const QRect screen = PrimaryScreenGeometry();
    const QSize windowSize = frameGeometry().size();
    const QPoint centred(screen.x() + (screen.width() - windowSize.width()) / 2,
                         screen.y() + (screen.height() - windowSize.height()) / 2);
    move(ReadPosition(settings, mainW, centred, windowSize));

    // The old platform's "c:\" means nothing here: the export starts in the home folder.
    ExportFolder = settings.ReadString(last, QStringLiteral("CheminExport"),
                                       QDir::homePath() + QLatin1Char('/'));
    ExportFilterIndex = settings.ReadInteger(last, QStringLiteral("ExportFilterIndex"), 5);
    LoadingSettings = false;
}

void TForm1::SaveSettings() {
    // Any failure ends the save where it is, silently: the next save tries again.
    try {
        IniFile settings = SettingsFile();
        settings.BeginBatch();
        settings.EraseSection(mainW);
        settings.WriteInteger(mainW, QStringLiteral("ComboBox1"), ComboBox1->currentIndex());
        settings.WriteInteger(mainW, QStringLiteral("ComboTarif"), ComboTarif->currentIndex());
        settings.WriteBool(mainW, QStringLiteral("Automail"), CheckBox1->isChecked());
        settings.WriteBool(mainW, QStringLiteral("Visuelle"), CheckBox4->isChecked());
        settings.WriteBool(mainW, QStringLiteral("HeureAuto"), CheckBox3->isChecked());

        settings.WriteString(last, QStringLiteral("Host"), cbHost->currentText());
        settings.WriteInteger(last, QStringLiteral("MinuteST"), IntervalMinutes);
        settings.WriteBool(last, QStringLiteral("RadioButton1"), RadioButton1->isChecked());
        settings.WriteBool(last, QStringLiteral("RadioButton2"), RadioButton2->isChecked());
        settings.WriteString(last, QStringLiteral("HeureQ"), DailyTime);
        settings.WriteBool(last, QStringLiteral("RadioButton3"), RadioButton3->isChecked());
        settings.WriteBool(last, QStringLiteral("RadioButton4"), RadioButton4->isChecked());
        settings.WriteInteger(last, QStringLiteral("Jour"), ComboBox2->currentIndex());
        settings.WriteString(last, QStringLiteral("HeureH"), WeeklyTime);
        for (QRadioButton* button : {RadioButton5, RadioButton6, RadioButton7, RadioButton8})
            settings.WriteBool(last, button->objectName(), button->isChecked());
        settings.WriteInteger(last, QStringLiteral("Minute"), SoundMinutes);
        settings.WriteInteger(last, QStringLiteral("Franc"), SoundUnits);
        settings.WriteInteger(last, QStringLiteral("Minutev"), VisualMinutes);
        settings.WriteInteger(last, QStringLiteral("Francv"), VisualUnits);
        settings.WriteBool(last, QStringLiteral("ShowOnStart"), ShowOnStart->isChecked());
        settings.WriteBool(last, QStringLiteral("StayOnTop"), CheckBox2->isChecked());
        settings.WriteBool(last, QStringLiteral("WinStart"), WinStart->isChecked());
        settings.WriteString(last, QStringLiteral("monnaie"), CurrEdit->text());

        settings.WriteInteger(mainW, QStringLiteral("x"), x());
        settings.WriteInteger(mainW, QStringLiteral("y"), y());
        if (MiniWin) {
            settings.WriteInteger(miniwin, QStringLiteral("x"), MiniWin->x());
            settings.WriteInteger(miniwin, QStringLiteral("y"), MiniWin->y());
        }
        settings.WriteString(last, QStringLiteral("CheminExport"), ExportFolder);
        settings.WriteInteger(last, QStringLiteral("ExportFilterIndex"), ExportFilterIndex);
        settings.CommitBatch();

        SaveTariffFile();
        if (Journal && Journal->RowCount() > 1)
            Journal->SaveJournal();
        CleanAutostart();
    } catch (const std::exception&) {
    }
}

void TForm1::CleanAutostart() {
    Autostart::CleanObsoleteEntries(ProgramFiles::BaseName());
}

void TForm1::WinStartClick() {
    const QString error = WinStart->isChecked() ? Autostart::Install(Autostart::EntryName(),
                                                                     ProgramFiles::ExecutablePath())
                                                : Autostart::Remove(Autostart::EntryName());
    // At start-up the window is still being made: a failure there must not stop it.
    if (!error.isEmpty() && !LoadingSettings)
        ShowErrorBox(error, this);
}

void TForm1::CurrEditChange() {
    const QString unit = CurrEdit->text();
    for (QDoubleSpinBox* amount : {coutmin, coutdeb, coutminc, coutdebc})
        amount->setSuffix(QLatin1Char(' ') + unit);
    Label10->setText(unit);
    Label46->setText(unit);
}
