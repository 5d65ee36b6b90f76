#pragma once

// The main window: a tabbed dialog with five pages and a status bar. Its controls are named
// members whose object names are the same names. Handlers of each page live in the folder
// of their subsystem (tariff page in src/tariff/ui, clock page in src/timesync/ui, ...); the
// shell's own (start-up, session monitor, settings, alarms, tray) in src/app/ui).

#include "journal/session_model.h"
#include "widgets/cost_display.h"

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolButton;
class SpinButton;
class JournalStore;
class TCellGrid;
class TRAS;
class TSimpleFTP;
class TTimeQuery;
class TTrayIcon;
class TickingCaption;
class TWAVPlayer;

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- Page control and status bar -------------------------------------------------
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet2 = nullptr; // "Tallivo"
    QWidget* TabSheet1 = nullptr; // "Options générales"
    QWidget* TabSheet4 = nullptr; // "Alarme"
    QWidget* TabSheet3 = nullptr; // "Tarification"
    QWidget* TabSheet5 = nullptr; // "Mise à l'heure automatique du PC"
    QStatusBar* StatusBar1 = nullptr;

    // ---- Counter page "Tallivo" ------------------------------------------------------
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label28 = nullptr; // selected tariff
    QLabel* Label13 = nullptr; // elapsed time
    QLabel* Label29 = nullptr; // cost
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QLabel* StatXmit = nullptr;
    QLabel* StatRecv = nullptr;
    QLabel* ConnSpeed = nullptr;
    QLabel* mspeed = nullptr;
    QLabel* ips = nullptr;
    QLabel* ipc = nullptr;
    QLabel* Label31 = nullptr; // "Reste dans le forfait :"
    QLabel* restefor = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button12 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button6 = nullptr;

    // ---- Page "Options générales" ----------------------------------------------------
    QComboBox* ComboBox1 = nullptr;
    QToolButton* Poubelle7 = nullptr;
    QComboBox* ComboTarifAsso = nullptr;
    QPushButton* Button13 = nullptr;
    QPushButton* RenameBtn = nullptr;
    QPushButton* CreateBtn = nullptr;
    QPushButton* UserBtn = nullptr;
    QPushButton* PWBtn = nullptr;
    QLabel* Label2 = nullptr; // phone number
    QLabel* Label6 = nullptr; // modem name
    QLabel* Label8 = nullptr; // modem type
    QLabel* Label9 = nullptr; // modem port
    QCheckBox* ShowOnStart = nullptr;
    QCheckBox* WinStart = nullptr;
    QCheckBox* CheckBox2 = nullptr; // mini window stays in front
    QLineEdit* CurrEdit = nullptr;
    QPushButton* AboutBtn = nullptr;

    // ---- Page "Alarme" ---------------------------------------------------------------
    QCheckBox* CheckBox1 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QSpinBox* SpinEdit2 = nullptr;
    QLabel* Label11 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QSpinBox* SpinEdit3 = nullptr;
    QLabel* Label10 = nullptr;
    QPushButton* Button9 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QRadioButton* RadioButton7 = nullptr;
    QSpinBox* SpinEdit4 = nullptr;
    QLabel* Label45 = nullptr;
    QRadioButton* RadioButton8 = nullptr;
    QSpinBox* SpinEdit5 = nullptr;
    QLabel* Label46 = nullptr;

    // ---- Page "Tarification" ---------------------------------------------------------
    QComboBox* ComboTarif = nullptr;
    QLineEdit* design = nullptr;
    QDoubleSpinBox* coutmin = nullptr;
    QDoubleSpinBox* coutdeb = nullptr;
    QSpinBox* durdeb = nullptr;
    QSpinBox* durfor = nullptr;
    QSpinBox* debfor = nullptr;
    QSpinBox* dch = nullptr;
    QSpinBox* dcm = nullptr;
    QDoubleSpinBox* coutminc = nullptr;
    QDoubleSpinBox* coutdebc = nullptr;
    QSpinBox* durdebc = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button5 = nullptr;
    TCellGrid* targrid = nullptr; // hidden tariff table

    // ---- Page "Mise à l'heure automatique du PC" -------------------------------------
    QCheckBox* CheckBox3 = nullptr;
    QLabel* Label40 = nullptr;
    QComboBox* cbHost = nullptr;
    QPushButton* Button8 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QLabel* Label41 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    SpinButton* HSpin = nullptr;
    QLineEdit* Edit = nullptr;
    SpinButton* MSpin = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QLabel* Label43 = nullptr;
    SpinButton* HSpinH = nullptr;
    QLineEdit* EditH = nullptr;
    SpinButton* MSpinH = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QLabel* Label42 = nullptr;

    // ---- Components ------------------------------------------------------------------
    QTimer* Timer1 = nullptr; // manual chronometer, 1000 ms
    QTimer* Timer2 = nullptr; // connection poll, 1000 ms
    QTimer* Timer3 = nullptr; // clock schedule, 60000 ms
    TRAS* RAS = nullptr;
    TTimeQuery* TimeQuery1 = nullptr; // time server client, 5000 ms time-out
    TTrayIcon* TrayIcon1 = nullptr;
    TWAVPlayer* WAVPlayer1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Test11 = nullptr;      // "&Options..."
    QAction* Journal1 = nullptr;    // "&Journal..."
    QAction* N1 = nullptr;          // separator
    QAction* Dconnecter1 = nullptr; // "&Déconnecter"
    QAction* Test31 = nullptr;      // "&Quitter"
    QList<QAction*> EntryMenuItems; // 20 entry items, then the separator "sep"

    // ---- Session state ---------------------------------------------------------------
    // The session lives in its model; the main window's names for its fields are kept.
    SessionModel Session;
    bool& SessionActive = Session.active;
    double& SessionStart = Session.start; // days since 30 December 1899
    double& SessionCost = Session.cost;
    bool& AllowanceAlarmArmed = Session.allowanceAlarmArmed;
    qint32& AllowanceExceededAt = Session.allowanceExceededAt;
    qint64& PrevXmit = Session.previousSent;
    qint64& PrevRecv = Session.previousReceived;
    bool StatsAvailable = false;
    qint32 SoundUnitsSeen = -1;
    qint32 VisualUnitsSeen = -1;
    bool SoundUnitsArmed = true;
    bool VisualUnitsArmed = true;
    qint32 SoundMinutes = 10;
    qint32 SoundUnits = 5;
    qint32 VisualMinutes = 10;
    qint32 VisualUnits = 5;
    bool ChosenFromMenu = false;
    bool QuestionPending = false;
    QString ExportFolder;
    int ExportFilterIndex = 5;
    // Clock page state
    int IntervalMinutes = 30;
    int MinutesLeft = 30;
    QString DailyTime = QStringLiteral("12:00");
    QString WeeklyTime = QStringLiteral("12:00");
    bool ClockQueryFailed = false;
    QString ClockFailureShown; // the status bar's text of the last failed clock setting
    QString OldDesignation;    // text of `design` when it gained the focus

    // ---- Start-up and lifecycle (src/app/ui/tform1.cpp) ------------------------------
    void FormCreate();
    void WarnNoEntries();
    // Hidden at start, the program is reached through its notification-area icon; on a
    // desktop without a notification area it would be nowhere: the window is shown then.
    void ShowIfNoNotificationArea();
    // Shows the window and makes it the foreground window.
    void ShowInFront();
    // Makes that page the active one, as the program (not the user) does.
    void ShowPage(QWidget* page);

  public slots:
    void Button11Click();
    void Button12Click();
    void Test11Click();
    void Test31Click();
    void AboutBtnClick();
    void PageControl1Change();
    void TabSheet1Show();

  public:
    // ---- Session monitor (src/app/ui/session_monitor.cpp) ----------------------------
    void PollConnection();
    void UpdateChronometerButton();
    void ShowStatistics();
    // The elapsed time, the cost and the tooltip of one tick, shared by poll and chronometer.
    void ShowCounters(qint32 elapsed);
    void EndSession();
    // The session or run being counted, as its journal row will be.
    SessionRecord RunningSession() const;
    bool SessionIsCounted() const;
    // The finished session or run becomes a journal row; settings and files are saved.
    void AppendSession();
    void LockEntryControls();
    void UnlockEntryControls();
    void SetEntryControlsEnabled(bool enabled);
    void SetTrayToolTip(const QString& text);
    // Shown beside the tray icon when the main window is hidden, where the status bar is not seen.
    void NoticeWhileHidden(const QString& title, const QString& text);
    // The test "is the followed dial-up link up?" of the poll.
    bool InternetConnected();
  public slots:
    void Timer2Timer();
    void Timer1Timer();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton4Click();
    void RASStateChanged();

  public:
    // ---- Tray icon and menu (src/app/ui/tray_menu.cpp) --------------------------------
    void CreateEntryMenuItems();
  public slots:
    void TrayIcon1DblClick();
    void PopupMenu1Popup();
    void MyHandler();
    void CheckBox2Click();
    void Journal1Click();

  public:
    // ---- Settings and autostart (src/app/ui/settings_handlers.cpp) --------------------
    void LoadSettings();
    void SaveSettings();
    // Each key of the settings table with what it drives (settings_handlers.cpp).
    struct SettingControl;
    QHash<QString, SettingControl> SettingControls();
    void CleanAutostart();
    bool LoadingSettings = false; // the settings are being applied at start-up
  public slots:
    void WinStartClick();
    void CurrEditChange();

  public:
    // ---- Alarms (src/app/ui/alarm_handlers.cpp) ---------------------------------------
    enum class AlarmMode { Poll, Chronometer };
    void EvaluateAlarms(qint32 elapsed, AlarmMode mode);
    void RearmCostAlarms();
    void PlayAlarmSound();
    void ShowVisualAlert(const QString& value, const QString& message, const QString& detail);
    void SelectAlarmSound();
  public slots:
    void Button9Click();
    void SpinEdit2Change();
    void SpinEdit3Change();
    void SpinEdit4Change();
    void SpinEdit5Change();

  public:
    // ---- Tariff table (src/tariff/ui/tariff_handlers.cpp) -----------------------------
    void LoadTariffTable();
    void ShowSelectedTariff();
    void StoreSelectedTariff();
    void ShowAssociation();
    void StoreAssociation();
    // Selects the tariff associated with a dial-up entry (compared without regard to case)
    // and runs ComboTarifClick; false, and nothing changed, when there is none.
    bool SelectAssociatedTariff(const QString& entryName);
    // Writes the tariff table to its file unless protected; throws AppError.
    void SaveTariffFile();
    // Until the table was read whole from the tariff file or the user changed it, the file
    // on disk is the good copy and is not written over.
    bool TariffFileProtected = true;
  public slots:
    void ComboTarifClick();
    void ComboTarifChange();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void designEnter();
    void designExit();
    void coutminExit();
    void coutdebExit();
    void durdebExit();
    void durforExit();
    void ComboTarifAssoClick();

  public:
    // ---- Tariff file update over FTP (src/tariff/ui/tariff_update.cpp) -----------------
    // Fetches the tariff file name from the server into folder; true when it replaced ours.
    bool FetchTariffFile(const QString& name, const QString& folder);
    TSimpleFTP* TariffFTP = nullptr; // the client of the update under way, else none
  public slots:
    void Button7Click();

  public:
    // ---- Cost (src/tariff/ui/compute_cost.cpp) ----------------------------------------
    QString ComputeCost(qint32 elapsed);
    // The caption, which carries the clock while a session is counted.
    TickingCaption* ClockCaption = nullptr;
    // The journal's period sums, which the cost needs (set at start-up).
    JournalStore* JournalSums = nullptr;
  signals:
    // Settings loading reached the clock check box: its click handler runs once.
    void ClockCheckBoxLoaded();
    // After each cost computation: what other windows show of it besides the cost text.
    void CostShown(const CostDisplay& display);

  public:
    void LockConsumedTimeOnFirstDay(bool firstDayOfPeriod);

    // ---- Dial-up entries (src/dialup/ui/entry_handlers.cpp) ---------------------------
    void SelectEntry(const QString& name);
    QString CurrentEntryName() const;
    // The entries are listed again into ComboBox1, its first or last one selected; the
    // commands that manage entries live in src/dialup/ui/entry_commands.cpp.
    void TakeEntryList(bool selectLast);
  public slots:
    void ComboBox1Click();
    void Button1Click();
    void Button2Click();
    void Poubelle7Click();
    void Button13Click();
    void CreateBtnClick();
    void RenameBtnClick();
    void UserBtnClick();
    void PWBtnClick();

  public:
    // ---- Clock setting (src/timesync/ui/) ---------------------------------------------
    // Asks the time server and sets the PC clock; interactive when the user asked for it.
    void SetClock(bool interactive);
    // The session monitor's hook: sets the clock at a new session when the page asks for it.
    void SetClockAtNewSession();
    void UpdateNextSetLabel();
    // Dials the entry selected in ComboBox1 and waits for the outcome; true once connected.
    bool DialDefaultConnection();
  public slots:
    void Button8Click();
    void CheckBox3Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void SpinEdit1Change();
    void EditChange();
    void EditHChange();
    void HSpinUpClick();
    void HSpinDownClick();
    void MSpinUpClick();
    void MSpinDownClick();
    void HSpinHUpClick();
    void HSpinHDownClick();
    void MSpinHUpClick();
    void MSpinHDownClick();
    void ComboBox2Change();
    void TabSheet5Show();
    void Timer3Timer();
    void TimeQuery1ConnectionFailed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void FormClose();
    // The field being edited is stored, as when the user leaves it.
    void CommitFieldBeingEdited();
    void FormDestroy();

  private:
    void BuildCounterPage();
    void BuildOptionsPage();
    void BuildAlarmPage();
    void BuildTariffPage();
    void BuildClockPage();
    void ConnectClockPage();
    // Enables the controls of the chosen clock-setting mode and disables the others.
    void EnableClockModeControls();
    void BuildTrayMenu();
};

// The program-wide name of the connection followed or being dialled; empty when none.
extern QString CurrentConnection;
