// The page "Mise à l'heure automatique du PC": the schedule's controls on the manual clock, and
// the clock setting against a time server on 127.0.0.1 and a mock time service on a private
// system bus (the machine's clock is never touched).

#include "app/ui/windows.h"
#include "support/app_fixture.h"
#include "support/time_servers.h"
#include "timesync/clock_setter.h"
#include "timesync/internet_state.h"
#include "timesync/time_query.h"
#include "widgets/spin_button.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {
const QString mockService = QStringLiteral("org.freedesktop.timedate1");
const QString mockPath = QStringLiteral("/org/freedesktop/timedate1");
const QString mockInterface = QStringLiteral("org.freedesktop.DBus.Mock");

// A private bus given as the system bus, with python3-dbusmock's timedated on it, for the whole
// test program (the system bus connection is made once per process).
struct MockTimeService {
    QTemporaryDir folder;
    QProcess bus;
    QProcess mock;
    bool ready = false;

    MockTimeService() {
        bus.start(
            QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"),
             QStringLiteral("--print-address=1"),
             QStringLiteral("--address=unix:path=") + folder.filePath(QStringLiteral("bus"))});
        if (!bus.waitForReadyRead(5000))
            return;
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.readLine().trimmed());
        mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mock.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("-t"),
                    QStringLiteral("timedated")});
        ready = WaitUntil(
            [] {
                QDBusConnectionInterface* names = QDBusConnection::systemBus().interface();
                return names && names->isServiceRegistered(mockService).value();
            },
            10000);
    }
    ~MockTimeService() {
        for (QProcess* process : {&mock, &bus}) { // by the PIDs of the processes started here
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished(3000);
        }
    }

    static QDBusMessage Call(const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(mockService, mockPath, mockInterface, method);
        call.setArguments(arguments);
        return QDBusConnection::systemBus().call(call);
    }
    // The microseconds of each SetTime call received.
    static QList<qint64> SetTimeCalls() {
        QList<qint64> calls;
        const QDBusMessage reply =
            Call(QStringLiteral("GetMethodCalls"), {QStringLiteral("SetTime")});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return calls;
        const QDBusArgument list = reply.arguments().at(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            quint64 stamp = 0;
            QVariantList arguments;
            list.beginStructure();
            list >> stamp;
            list.beginArray();
            while (!list.atEnd()) {
                QDBusVariant argument;
                list >> argument;
                arguments << argument.variant();
            }
            list.endArray();
            list.endStructure();
            calls << arguments.value(0).toLongLong();
        }
        list.endArray();
        return calls;
    }
};

MockTimeService* timeService = nullptr;

class ClockPageTest : public AppWindowsTest {
  protected:
    static void SetUpTestSuite() { timeService = new MockTimeService; }
    static void TearDownTestSuite() {
        delete timeService;
        timeService = nullptr;
    }

    void SetUp() override {
        AppWindowsTest::SetUp();
        ASSERT_TRUE(timeService->ready) << "no mock time service on the private bus";
        MockTimeService::Call(QStringLiteral("Reset"));
        MockTimeService::Call(QStringLiteral("ClearCalls"));
        previousSetter = &AppClockSetter();
        SetAppClockSetter(&mockSetter);
        Online(true);
        Form1->cbHost->setCurrentText(QStringLiteral("127.0.0.1"));
    }
    void TearDown() override {
        SetAppClockSetter(previousSetter);
        SetRouteTableFiles({}, {});
        AppWindowsTest::TearDown();
    }

    void Online(bool online) {
        const QString table = folder->file(QStringLiteral("route"));
        WriteWholeFile(table, online ? "Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\t"
                                       "Mask\neth0\t00000000\t0100007F\t0003\t0\t0\t0\t00000000\n"
                                     : "Iface\tDestination\n");
        WriteWholeFile(folder->file(QStringLiteral("route6")), "");
        SetRouteTableFiles(table, folder->file(QStringLiteral("route6")));
    }

    // The machine's UTC time as the program reads it, moved by `seconds`, as a server's answer.
    QByteArray ServerAnswer(int seconds) const {
        return TimeAnswerFor(clock->clock.now().toUTC().addSecs(seconds));
    }
    void UseServer(const FakeTimeServer& server) { Form1->TimeQuery1->Port = server.port(); }

    // Clicks "Mettre à l'heure maintenant" and answers the box that comes.
    std::shared_ptr<AnsweredBox> SetNow(const QString& button = QStringLiteral("OK")) {
        auto box = AnswerNextBox(button, 10000);
        Form1->Button8->click();
        return box;
    }

    SystemClockSetter mockSetter{false}; // never clock_settime, even as root
    ClockSetter* previousSetter = nullptr;
};

qint64 Microseconds(const QDateTime& utc) {
    return utc.toMSecsSinceEpoch() * 1000;
}
} // namespace

TEST_F(ClockPageTest, SetNowSetsTheServersTimeOfDayAndReportsTheCorrection) {
    const QDateTime machineUtc = clock->clock.now().toUTC();
    FakeTimeServer late(FakeTimeServer::Behaviour::Answer, ServerAnswer(11));
    UseServer(late);
    auto box = SetNow();
    EXPECT_TRUE(box->seen);
    EXPECT_EQ(box->title, "Information");
    EXPECT_EQ(box->text, "Votre PC retardait de 11 secondes.\nLa correction a été faite.");
    EXPECT_EQ(MockTimeService::SetTimeCalls(), QList<qint64>{Microseconds(machineUtc.addSecs(11))});
    EXPECT_TRUE(Form1->Button8->isEnabled());
    EXPECT_TRUE(Form1->cbHost->isEnabled());

    FakeTimeServer close(FakeTimeServer::Behaviour::Answer, ServerAnswer(8));
    UseServer(close);
    EXPECT_EQ(SetNow()->text, "Votre PC était parfaitement à l'heure !");
    EXPECT_EQ(MockTimeService::SetTimeCalls().size(), 2);
}

TEST_F(ClockPageTest, FailuresAreReportedAndTheClockIsLeftAlone) {
    FakeTimeServer cut(FakeTimeServer::Behaviour::ThreeBytesThenClose, ServerAnswer(3600));
    UseServer(cut);
    auto box = SetNow();
    EXPECT_EQ(box->title, "Erreur");
    EXPECT_EQ(box->text,
              "Erreur de connexion au serveur d'horloge.\nMerci de bien vouloir réessayer.");
    EXPECT_TRUE(MockTimeService::SetTimeCalls().isEmpty());

    // The time service refuses: the user is not told that the correction was made.
    MockTimeService::Call(
        QStringLiteral("AddMethod"),
        {mockService, QStringLiteral("SetTime"), QStringLiteral("xbb"), QString(),
         QStringLiteral("raise dbus.exceptions.DBusException('Interactive authentication "
                        "required.', name='org.freedesktop.DBus.Error."
                        "InteractiveAuthorizationRequired')")});
    FakeTimeServer late(FakeTimeServer::Behaviour::Answer, ServerAnswer(3600));
    UseServer(late);
    box = SetNow();
    EXPECT_EQ(box->title, "Avertissement");
    EXPECT_EQ(box->text, "Votre PC retardait de 1 heure.\nL'heure du PC n'a pas pu être "
                         "corrigée : l'autorisation de changer l'heure du système a été refusée.");
    EXPECT_TRUE(Form1->Button8->isEnabled());

    // A later success takes the failure's text off the status bar.
    EXPECT_TRUE(Form1->StatusBar1->currentMessage().startsWith("L'heure du PC n'a pas pu"));
    MockTimeService::Call(QStringLiteral("Reset"));
    FakeTimeServer right(FakeTimeServer::Behaviour::Answer, ServerAnswer(0));
    UseServer(right);
    SetNow();
    EXPECT_EQ(Form1->StatusBar1->currentMessage(), "");
}

TEST_F(ClockPageTest, OfflineScheduledSettingAsksFirstAndNoEndsQuietly) {
    FakeTimeServer server(FakeTimeServer::Behaviour::Answer, ServerAnswer(60));
    UseServer(server);
    Online(false);
    Form1->CheckBox3->setChecked(true);
    Form1->RadioButton1->setChecked(true);
    Form1->SpinEdit1->setValue(1);
    auto box = AnswerNextBox(QStringLiteral("&Non"), 5000);
    Form1->Timer3Timer();
    EXPECT_TRUE(box->seen);
    EXPECT_EQ(box->text, "Mise à jour automatique de l'heure du PC via Tallivo.\nVous n'êtes pas "
                         "actuellement connecté à Internet.\nVoulez-vous vous connecter "
                         "maintenant ?");
    EXPECT_FALSE(Form1->QuestionPending);
    EXPECT_EQ(server.accepted, 0);
    EXPECT_TRUE(MockTimeService::SetTimeCalls().isEmpty());
    EXPECT_TRUE(Form1->Button8->isEnabled());
    EXPECT_EQ(Form1->MinutesLeft, 1);
}

TEST_F(ClockPageTest, ScheduledSettingsRunOnTheirMinuteWithoutABox) {
    FakeTimeServer server(FakeTimeServer::Behaviour::Answer, ServerAnswer(120));
    UseServer(server);
    Form1->CheckBox3->setChecked(true);
    EXPECT_TRUE(Form1->Timer3->isActive());
    EXPECT_EQ(Form1->Timer3->interval(), 60000);

    // Mode 1 counts down and starts again after each setting.
    Form1->RadioButton1->setChecked(true);
    Form1->SpinEdit1->setValue(2);
    EXPECT_EQ(Form1->Label42->text(), "Prochaine mise à l'heure dans 2 minutes");
    Form1->Timer3Timer();
    EXPECT_EQ(Form1->Label42->text(), "Prochaine mise à l'heure dans 1 minute");
    EXPECT_EQ(server.accepted, 0);
    Form1->Timer3Timer();
    EXPECT_EQ(server.accepted, 1);
    EXPECT_EQ(MockTimeService::SetTimeCalls().size(), 1);
    EXPECT_EQ(Form1->Label42->text(), "Prochaine mise à l'heure dans 2 minutes");

    // Mode 2 at its minute (the clock stands at Tuesday 8 December 2026, 10:00).
    Form1->RadioButton2->setChecked(true);
    Form1->Edit->setText(QStringLiteral("10:01"));
    Form1->Timer3Timer();
    EXPECT_EQ(server.accepted, 1);
    clock->clock.advanceSeconds(60);
    Form1->Timer3Timer();
    EXPECT_EQ(server.accepted, 2);

    // Mode 3 on its day only.
    Form1->RadioButton3->setChecked(true);
    Form1->EditH->setText(QStringLiteral("10:01"));
    Form1->ComboBox2->setCurrentIndex(2); // Mercredi
    Form1->Timer3Timer();
    EXPECT_EQ(server.accepted, 2);
    Form1->ComboBox2->setCurrentIndex(1); // Mardi
    Form1->Timer3Timer();
    EXPECT_EQ(server.accepted, 3);
    EXPECT_EQ(MockTimeService::SetTimeCalls().size(), 3);
}

TEST_F(ClockPageTest, ThePageFollowsItsModeAndFields) {
    Form1->CheckBox3->setChecked(true);
    EXPECT_FALSE(Form1->Label42->isHidden());
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton4->setChecked(true);
    EXPECT_EQ(Form1->Label42->text(), "Prochaine mise à l'heure lors de la prochaine connexion");
    for (QWidget* control : std::initializer_list<QWidget*>{Form1->SpinEdit1, Form1->Edit,
                                                            Form1->ComboBox2, Form1->EditH})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();

    Form1->RadioButton1->setChecked(true);
    EXPECT_TRUE(Form1->SpinEdit1->isEnabled());
    EXPECT_FALSE(Form1->Edit->isEnabled());
    Form1->SpinEdit1->setValue(1);
    EXPECT_EQ(Form1->Label41->text(), " minute");
    Form1->SpinEdit1->setValue(2);
    EXPECT_EQ(Form1->Label41->text(), " minutes");

    // Mode 2 at 10:00: 08:00 is 22 hours away; 25 hours and 75 minutes are refused.
    Form1->RadioButton2->setChecked(true);
    EXPECT_TRUE(Form1->Edit->isEnabled() && Form1->HSpin->isEnabled());
    Form1->Edit->setText(QStringLiteral("08:00"));
    EXPECT_EQ(Form1->Label42->text(), "Prochaine mise à l'heure dans 22 heures");
    Form1->Edit->setText(QStringLiteral("25:00"));
    EXPECT_EQ(Form1->Edit->text(), "08:00");
    Form1->Edit->setText(QStringLiteral("09:75"));
    EXPECT_EQ(Form1->Edit->text(), "09:00");
    EXPECT_EQ(Form1->DailyTime, "09:00");
    // A figure deleted in the field is a zero; the others keep their places.
    Form1->Edit->setText(QStringLiteral("19:45"));
    Form1->Edit->setCursorPosition(0);
    QTest::keyClick(Form1->Edit, Qt::Key_Delete);
    EXPECT_EQ(Form1->DailyTime, "09:45");
    EXPECT_EQ(Form1->Edit->displayText(), "09:45");

    // The spin buttons stop at their limits.
    Form1->Edit->setText(QStringLiteral("23:00"));
    Form1->HSpin->UpButton->click();
    EXPECT_EQ(Form1->Edit->text(), "23:00");
    Form1->MSpin->DownButton->click();
    EXPECT_EQ(Form1->Edit->text(), "23:00");
    Form1->HSpin->DownButton->click();
    Form1->MSpin->UpButton->click();
    EXPECT_EQ(Form1->DailyTime, "22:01");
    EXPECT_EQ(Form1->Label42->text(), "Prochaine mise à l'heure dans 12 heures et 1 minute");

    Form1->RadioButton3->setChecked(true);
    Form1->EditH->setText(QStringLiteral("00:00"));
    Form1->HSpinH->DownButton->click();
    EXPECT_EQ(Form1->EditH->text(), "00:00");
    Form1->ComboBox2->setCurrentIndex(2); // Mercredi, from Tuesday 10:00
    EXPECT_EQ(Form1->Label42->text(), "Prochaine mise à l'heure dans 14 heures");
}

TEST_F(ClockPageTest, ANewSessionSetsTheClockInModeFour) {
    FakeTimeServer server(FakeTimeServer::Behaviour::Answer, ServerAnswer(30));
    UseServer(server);
    Form1->CheckBox3->setChecked(true);
    Form1->RadioButton4->setChecked(true);
    Form1->SetClockAtNewSession();
    EXPECT_TRUE(WaitUntil([&] { return MockTimeService::SetTimeCalls().size() == 1; }));
    Form1->RadioButton1->setChecked(true);
    Form1->SetClockAtNewSession();
    QTest::qWait(200);
    EXPECT_EQ(server.accepted, 1);
}

TEST_F(ClockPageTest, TheCorrectionIsNotCountedAsTimeOfTheRunningSession) {
    Form1->SpeedButton1->click();
    Form1->SpeedButton2->click();
    clock->clock.advanceSeconds(5);
    Form1->Timer1Timer();
    FakeTimeServer late(FakeTimeServer::Behaviour::Answer, ServerAnswer(300));
    UseServer(late);
    SetNow();
    ASSERT_EQ(MockTimeService::SetTimeCalls().size(), 1);
    // The PC's clock now reads five minutes later, and a second has passed.
    clock->clock.advanceSeconds(301);
    Form1->Timer1Timer();
    EXPECT_EQ(Form1->Label13->text(), "00:00:06");
    Form1->SpeedButton4->click();
}
