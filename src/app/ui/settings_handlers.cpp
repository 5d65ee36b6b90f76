// The settings file: reading it into the controls at start-up, writing it back, and the
// small handlers of the "Options générales" page that act on settings.
#include "app/autostart.h"
#include "app/settings_keys.h"
#include "app/ui/mini_window.h"
#include "app/ui/settings_positions.h"
#include "app/ui/windows.h"
#include "app/window_placement.h"
#include "base/errors.h"
#include "base/ini_file.h"
#include "base/log.h"
#include "base/program_files.h"
#include "journal/ui/journal_window.h"
#include "timesync/clock_schedule.h"
#include "widgets/message_box.h"
#include "widgets/tform1.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <algorithm>

namespace {
const QString mainW = QStringLiteral("MainW");
const QString last = QStringLiteral("Last");
const QString miniwin = QStringLiteral("Miniwin");

QRect PrimaryScreenGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// A window placed where it cannot be seen or grabbed (a screen since removed or made
// smaller, a copy of the program that hid its counter above the screen) would be lost.
QPoint VisiblePosition(const QPoint& stored, const QSize& size, const QPoint& fallback) {
    QList<ScreenAreas> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append({screen->geometry(), screen->availableGeometry()});
    return OnScreenPosition(stored, size, fallback, screens);
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

namespace {
QPoint MiniWindowDefaultPosition(const QSize& windowSize) {
    const QRect screen = PrimaryScreenGeometry();
    return QPoint(screen.x() + screen.width() - 58 - windowSize.width(), screen.y() + 2);
}
} // namespace

QPoint LoadMiniWindowPosition(const QSize& windowSize) {
    return ReadPosition(ProgramFiles::SettingsFile(), miniwin,
                        MiniWindowDefaultPosition(windowSize), windowSize);
}

QPoint MiniWindowKeptOnScreen(const QPoint& current, const QSize& windowSize) {
    return VisiblePosition(current, windowSize, MiniWindowDefaultPosition(windowSize));
}

// What a key of the settings table drives: `value` is what the save writes (nothing when
// invalid), `apply` what the load does with what it read (none for the positions, which
// are read together with their fallback).
struct TForm1::SettingControl {
    std::function<QVariant()> value;
    std::function<void(const QVariant&)> apply;
};

namespace {
QString Name(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

void SetChecked(QCheckBox* box, const QVariant& value) {
    box->setChecked(value.toBool());
}
} // namespace

QHash<QString, TForm1::SettingControl> TForm1::SettingControls() {
    QHash<QString, SettingControl> controls;
    const auto bind = [&controls](const QString& section, const char* key,
                                  std::function<QVariant()> value,
                                  std::function<void(const QVariant&)> apply = {}) {
        controls.insert(Name(section, QLatin1String(key)), {std::move(value), std::move(apply)});
    };
    const auto box = [&bind](const QString& section, const char* key, QCheckBox* control) {
        bind(
            section, key, [control] { return control->isChecked(); },
            [control](const QVariant& value) { SetChecked(control, value); });
    };
    bind(
        mainW, "ComboBox1", [this] { return ComboBox1->currentIndex(); },
        [this](const QVariant& value) {
            const int entry = value.toInt();
            if (ComboBox1->count() > 0)
                ComboBox1->setCurrentIndex(entry >= 0 && entry < ComboBox1->count() ? entry : 0);
        });
    // Read with the tariff table, once it is loaded.
    bind(mainW, "ComboTarif", [this] { return ComboTarif->currentIndex(); });
    box(mainW, "Automail", CheckBox1);
    box(mainW, "Visuelle", CheckBox4);
    box(mainW, "HeureAuto", CheckBox3);
    bind(
        last, "Host", [this] { return cbHost->currentText(); },
        [this](const QVariant& value) { cbHost->setCurrentText(value.toString()); });
    bind(
        last, "MinuteST", [this] { return IntervalMinutes; },
        [this](const QVariant& value) {
            IntervalMinutes = value.toInt();
            SpinEdit1->setValue(IntervalMinutes);
        });
    bind(
        last, "HeureQ", [this] { return DailyTime; },
        [this](const QVariant& value) {
            DailyTime = ValidatedTimeField(value.toString(), QStringLiteral("12:00"));
        });
    bind(
        last, "HeureH", [this] { return WeeklyTime; },
        [this](const QVariant& value) {
            WeeklyTime = ValidatedTimeField(value.toString(), QStringLiteral("12:00"));
        });
    bind(
        last, "Jour", [this] { return ComboBox2->currentIndex(); },
        [this](const QVariant& value) {
            const int day = value.toInt();
            ComboBox2->setCurrentIndex(day >= 0 && day < ComboBox2->count() ? day : 0);
        });
    for (QRadioButton* button : {RadioButton1, RadioButton2, RadioButton3, RadioButton4,
                                 RadioButton5, RadioButton6, RadioButton7, RadioButton8})
        bind(
            last, qPrintable(button->objectName()), [button] { return button->isChecked(); },
            [button](const QVariant& value) { ApplyRadioButton(button, value.toBool()); });
    const auto number = [&bind](const char* key, qint32* member) {
        bind(
            last, key, [member] { return *member; },
            [member](const QVariant& value) { *member = value.toInt(); });
    };
    number("Minute", &SoundMinutes);
    number("Franc", &SoundUnits);
    number("Minutev", &VisualMinutes);
    number("Francv", &VisualUnits);
    box(last, "ShowOnStart", ShowOnStart);
    box(last, "WinStart", WinStart);
    bind(
        last, "StayOnTop", [this] { return CheckBox2->isChecked(); },
        [this](const QVariant& value) {
            const bool stayOnTop = value.toBool();
            CheckBox2->setChecked(stayOnTop);
            // The mini window is created in the topmost band: an unchecked box that kept
            // its state must still take it out.
            if (MiniWin && MiniWin->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != stayOnTop)
                CheckBox2Click();
        });
    bind(
        last, "monnaie", [this] { return CurrEdit->text(); },
        [this](const QVariant& value) { ApplyText(CurrEdit, value.toString()); });
    bind(mainW, "x", [this] { return x(); });
    bind(mainW, "y", [this] { return y(); });
    bind(miniwin, "x", [] { return MiniWin ? QVariant(MiniWin->PlacedLeft()) : QVariant(); });
    bind(miniwin, "y", [] { return MiniWin ? QVariant(MiniWin->y()) : QVariant(); });
    bind(
        last, "CheminExport", [this] { return ExportFolder; },
        [this](const QVariant& value) { ExportFolder = value.toString(); });
    bind(
        last, "ExportFilterIndex", [this] { return ExportFilterIndex; },
        [this](const QVariant& value) { ExportFilterIndex = value.toInt(); });
    return controls;
}

void TForm1::LoadSettings() {
    const Result setAside = IniFile::SetAsideWhenTooLarge(ProgramFiles::SettingsFileName());
    if (!setAside)
        ShowErrorBox(setAside.Message(), this);
    const IniFile settings = ProgramFiles::SettingsFile();
    const QHash<QString, SettingControl> controls = SettingControls();
    const auto load = [&](const QString& section, const char* key, const QVariant& fallback = {}) {
        const SettingKey& entry = SettingKeys::Find(section, QLatin1String(key));
        controls.value(Name(section, entry.key))
            .apply(SettingKeys::Read(settings, entry, fallback));
    };
    LoadingSettings = true;

    load(mainW, "ComboBox1");
    load(mainW, "Automail");
    load(mainW, "Visuelle");
    load(mainW, "HeureAuto");
    load(last, "Host");
    // The clock check box's handler runs once whatever the value, so that the clock page's
    // timer and label follow it even when the box kept its state.
    emit ClockCheckBoxLoaded();

    load(last, "MinuteST");
    load(last, "HeureQ");
    load(last, "HeureH");
    load(last, "Jour");
    Edit->setText(DailyTime);
    EditH->setText(WeeklyTime);
    for (const char* button : {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4",
                               "RadioButton5", "RadioButton6", "RadioButton7", "RadioButton8"})
        load(last, button);

    for (const char* key : {"Minute", "Franc", "Minutev", "Francv"})
        load(last, key);
    SpinEdit2->setValue(SoundMinutes);
    SpinEdit3->setValue(SoundUnits);
    SpinEdit4->setValue(VisualMinutes);
    SpinEdit5->setValue(VisualUnits);

    load(last, "ShowOnStart");
    load(last, "WinStart");
    load(last, "StayOnTop");
    load(last, "monnaie");

    const QRect screen = PrimaryScreenGeometry();
    const QSize windowSize = frameGeometry().size();
    // A window larger than the screen keeps its top left corner in view.
    const QPoint centred(screen.x() + std::max(0, (screen.width() - windowSize.width()) / 2),
                         screen.y() + std::max(0, (screen.height() - windowSize.height()) / 2));
    // Before the window is first shown its frame is not known: room is kept for a title bar.
    const int titleBar = windowSize == size() ? 30 : 0;
    move(ReadPosition(settings, mainW, centred, windowSize + QSize(0, titleBar)));

    // The old platform's "c:\" means nothing here: the export starts in the home folder.
    load(last, "CheminExport", QDir::homePath() + QLatin1Char('/'));
    load(last, "ExportFilterIndex");
    LoadingSettings = false;
}

void TForm1::SaveSettings() {
    // Any failure ends the save where it is, silently: the next save tries again.
    try {
        IniFile settings = ProgramFiles::SettingsFile();
        const QHash<QString, SettingControl> controls = SettingControls();
        settings.BeginBatch();
        settings.EraseSection(mainW);
        for (const SettingKey& key : SettingKeys::All()) {
            const QVariant value = controls.value(Name(key.section, key.key)).value();
            if (value.isValid())
                SettingKeys::Write(settings, key, value);
        }
        settings.CommitBatch();

        SaveTariffFile();
        if (Journal && Journal->RowCount() > 1)
            Journal->SaveJournal();
        CleanAutostart();
    } catch (const std::exception& error) {
        qCWarning(logSettings) << "settings not saved:" << error.what();
    }
}

void TForm1::CleanAutostart() {
    Autostart::CleanObsoleteEntries(ProgramFiles::BaseName());
}

void TForm1::WinStartClick() {
    const Result result = WinStart->isChecked() ? Autostart::Install(Autostart::EntryName(),
                                                                     ProgramFiles::ExecutablePath())
                                                : Autostart::Remove(Autostart::EntryName());
    if (!result) {
        qCWarning(logSettings).noquote() << result.Message();
        // At start-up too: the box waits for its OK, then the start-up goes on.
        ShowErrorBox(result.Message(), LoadingSettings ? nullptr : this);
    }
}

void TForm1::CurrEditChange() {
    const QString unit = CurrEdit->text();
    for (QDoubleSpinBox* amount : {coutmin, coutdeb, coutminc, coutdebc})
        amount->setSuffix(QLatin1Char(' ') + unit);
    Label10->setText(unit);
    Label46->setText(unit);
}
