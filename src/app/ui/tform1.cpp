#include "widgets/tform1.h"

#include "app/application_title.h"
#include "app/single_instance.h"
#include "app/ui/about_box.h"
#include "app/ui/close_box_only.h"
#include "app/ui/mini_window.h"
#include "app/ui/tray_icon.h"
#include "app/ui/windows.h"
#include "dialup/ras_records.h"
#include "dialup/tras.h"
#include "journal/ui/journal_window.h"
#include "widgets/message_box.h"
#include "widgets/ticking_caption.h"
#include "widgets/wav_player.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

QString CurrentConnection;

// A tool window: the program has no task-bar button, it lives in the notification area.
TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(QIcon(QStringLiteral(":/tallivo.png")));
    AskForCloseBoxOnly(this);
    ClockCaption = new TickingCaption(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(2);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(StatusBar1);
    // The window's width is fixed, and a long message (a dial-up error, a server's answer) is
    // cut at its edge: the whole of it is then the bar's hint.
    connect(StatusBar1, &QStatusBar::messageChanged, StatusBar1, [this](const QString& message) {
        const int room = StatusBar1->width() - 18; // the bar's margins around its message
        const bool cut = StatusBar1->fontMetrics().horizontalAdvance(message) > room;
        StatusBar1->setToolTip(cut ? message : QString());
    });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setInterval(60000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);

    RAS = new TRAS(this);
    RAS->setObjectName(QStringLiteral("RAS"));
    connect(RAS, &TRAS::OnStateChanged, this, &TForm1::RASStateChanged);
    WAVPlayer1 = new TWAVPlayer(this);
    WAVPlayer1->setObjectName(QStringLiteral("WAVPlayer1"));

    BuildCounterPage();
    BuildOptionsPage();
    BuildAlarmPage();
    BuildTariffPage();
    BuildClockPage();
    PageControl1->addTab(TabSheet2, QStringLiteral("Tallivo"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Options générales"));
    PageControl1->addTab(TabSheet4, QStringLiteral("Alarme"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Tarification"));
    PageControl1->addTab(TabSheet5, QStringLiteral("Mise à l'heure automatique du PC"));
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PageControl1->widget(index) == TabSheet1)
            TabSheet1Show();
        PageControl1Change();
    });

    BuildTrayMenu();
    // Enter presses the focused button, as in the dialogs (Qt does so only in a dialog).
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true);
    setFixedSize(layout->sizeHint().expandedTo(QSize(550, 296)));
}

TForm1::~TForm1() {
    // Stored while this window is whole; then no child may reach a handler of it, since
    // QWidget's destructor still moves the focus.
    CommitFieldBeingEdited();
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    FormDestroy();
}

void TForm1::FormCreate() {
    Image1->hide();
    Image2->hide();
    Image3->hide();
    setWindowTitle(ApplicationTitle());
    Button11->setText(QStringLiteral("Quitter \"") + ApplicationTitle() + QLatin1Char('"'));
    SoundUnitsArmed = VisualUnitsArmed = true;
    SoundUnitsSeen = VisualUnitsSeen = -1;
    Label42->clear();
    QuestionPending = false;
    ChosenFromMenu = false;
    CurrentConnection.clear();
    SessionCost = 0;

    ComboBox1->clear();
    StatsAvailable = false;
    if (RAS->RasAvailable()) {
        RAS->EnumEntries();
        ComboBox1->addItems(RAS->Entries);
        if (ComboBox1->count() > 0)
            ComboBox1->setCurrentIndex(0);
        ComboBox1Click();
        StatsAvailable = RAS->ControlStats(true, true);
    }

    LoadSettings();

    ShowPage(TabSheet2);
    SelectAlarmSound();

    SessionActive = false;
    Label13->setText(QStringLiteral("00:00:00"));
    Label29->setText(QStringLiteral("0 ") + CurrEdit->text());
    MiniWin->Label13->setText(Label13->text());
    MiniWin->Label29->setText(Label29->text());

    for (QLabel* label : {StatXmit, StatRecv, ConnSpeed, mspeed, ips, ipc})
        label->clear();
    PrevXmit = PrevRecv = 0;

    LoadTariffTable();
    ShowAssociation();
    // A second copy that hands over to the first shows nothing: the first one comes forward.
    const bool handingOver = MiniWin->OnlyOne1->TerminationRequested();
    if (!handingOver) {
        WarnNoEntries();
        if (ShowOnStart->isChecked())
            ShowInFront();
        else // a panel started with the desktop session may come a few seconds after
            QTimer::singleShot(15000, this, &TForm1::ShowIfNoNotificationArea);
    }
    CleanAutostart();
    CreateEntryMenuItems();
}

void TForm1::WarnNoEntries() {
    if (ComboBox1->count() > 0)
        return;
    // Entries that exist but cannot be read are not "none": the reason is said instead.
    const bool unreadable = RAS->RasAvailable() && RAS->EnumEntries() == Ras::CannotOpenPhonebook;
    ShowMessageBox(BoxKind::Warning,
                   unreadable ? RAS->StatusStr
                              : QStringLiteral("Aucune connexion n'est définie dans Windows. "
                                               "Utilisez le bouton \"Créer\"."),
                   {BoxButton::Ok});
    ShowInFront();
    ShowPage(TabSheet1);
    CreateBtn->setFocus();
}

void TForm1::ShowIfNoNotificationArea() {
    if (!QSystemTrayIcon::isSystemTrayAvailable() && !isVisible())
        ShowInFront();
}

void TForm1::ShowPage(QWidget* page) {
    // A page chosen by the program is not a user's page switch: no settings save.
    PageControl1->blockSignals(true);
    PageControl1->setCurrentWidget(page);
    PageControl1->blockSignals(false);
    if (page == TabSheet1)
        TabSheet1Show();
}

void TForm1::ShowInFront() {
    // A window the user minimised stays unmapped until its state is cleared: show() alone
    // leaves it minimised, and without a task-bar button nothing else would bring it back.
    if (windowState().testFlag(Qt::WindowMinimized))
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    CommitFieldBeingEdited(); // a price typed just before closing is saved with the rest
    SaveSettings();
}

void TForm1::CommitFieldBeingEdited() {
    if (QWidget* focused = focusWidget())
        focused->clearFocus();
}

void TForm1::FormDestroy() {
    for (QAction* item : EntryMenuItems)
        delete item;
    EntryMenuItems.clear();
}

void TForm1::Button12Click() {
    close();
}

void TForm1::Button11Click() {
    Test31Click();
}

void TForm1::Test11Click() {
    ShowInFront();
}

void TForm1::Test31Click() {
    const QString question = QStringLiteral("Si vous quittez \"") + ApplicationTitle() +
                             QStringLiteral("\", celui-ci ne sera plus en mesure de surveiller "
                                            "vos connexions.\rSouhaitez-vous vraiment quitter le "
                                            "programme ?");
    if (ShowMessageBox(BoxKind::Confirmation, question, {BoxButton::Yes, BoxButton::No}, this) !=
        BoxButton::Yes)
        return;
    if (RAS->RASConn != 0) {
        switch (ShowMessageBox(BoxKind::Confirmation,
                               QStringLiteral("Voulez-vous aussi fermer la connexion à Internet ?"),
                               {BoxButton::Yes, BoxButton::No, BoxButton::Cancel}, this)) {
        case BoxButton::Yes:
            Button2Click();
            break;
        case BoxButton::No:
            RAS->ReleaseConnection();
            break;
        default:
            return;
        }
    }
    if (Journal && !Journal->MayEndProgram())
        return;
    EndProgram();
}

void TForm1::AboutBtnClick() {
    if (AboutBox)
        AboutBox->exec();
}

void TForm1::PageControl1Change() {
    SaveSettings();
}

void TForm1::TabSheet1Show() {
    ComboBox1Click();
}
