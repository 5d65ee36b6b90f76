#include "app/ui/mini_window.h"
#include "app/ui/move_panel.h"
#include "app/ui/tray_icon.h"
#include "app/ui/windows.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using MainWindowTest = AppWindowsTest;

TEST_F(MainWindowTest, WithoutEntriesTheWarningComesFirstThenOptionsWithFocusOnCreate) {
    EXPECT_TRUE(startWarning->seen);
    EXPECT_EQ(startWarning->title, "Avertissement");
    EXPECT_EQ(startWarning->text,
              "Aucune connexion n'est définie dans Windows. Utilisez le bouton \"Créer\".");
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(Form1->PageControl1->currentWidget(), Form1->TabSheet1);
    EXPECT_EQ(QApplication::focusWidget(), Form1->CreateBtn);
}

TEST_F(MainWindowTest, FirstStartShowsTheCountersAtZero) {
    EXPECT_EQ(Form1->windowTitle(), "Tallivo");
    EXPECT_EQ(Form1->Label13->text(), "00:00:00");
    EXPECT_EQ(Form1->Label29->text(), "0 F");
    EXPECT_EQ(MiniWin->Label13->text(), "00:00:00");
    EXPECT_EQ(MiniWin->Label29->text(), "0 F");
    EXPECT_EQ(Form1->GroupBox1->title(), "Non connecté");
    EXPECT_EQ(Form1->Button11->text(), "Quitter \"Tallivo\"");
    EXPECT_FALSE(Form1->Button2->isEnabled());
    EXPECT_FALSE(MiniWin->isVisible());
    EXPECT_TRUE(Form1->Timer2->isActive()) << "the journal window starts the monitor";
}

TEST_F(MainWindowTest, AStatusMessageCutAtTheWindowsEdgeIsWholeInTheBarsHint) {
    const QString longMessage = QString("Nom de connexion incorrect : ").repeated(4);
    Form1->StatusBar1->showMessage(longMessage);
    EXPECT_EQ(Form1->StatusBar1->toolTip(), longMessage);
    Form1->StatusBar1->showMessage("Déconnecté");
    EXPECT_TRUE(Form1->StatusBar1->toolTip().isEmpty());
}

TEST_F(MainWindowTest, EveryPageAndItsControlsCanBeFoundByName) {
    const QStringList pages = {"Tallivo", "Options générales", "Alarme", "Tarification",
                               "Mise à l'heure automatique du PC"};
    ASSERT_EQ(Form1->PageControl1->count(), pages.size());
    for (int index = 0; index < pages.size(); ++index)
        EXPECT_EQ(Form1->PageControl1->tabText(index), pages[index]);
    for (const char* name : {"Label13",      "Label29",      "Label28",
                             "SpeedButton1", "SpeedButton2", "SpeedButton4",
                             "StatXmit",     "StatRecv",     "ConnSpeed",
                             "mspeed",       "ips",          "ipc",
                             "restefor",     "Button1",      "Button2",
                             "Button6",      "Button11",     "Button12",
                             "ComboBox1",    "Poubelle7",    "ComboTarifAsso",
                             "Button13",     "RenameBtn",    "CreateBtn",
                             "UserBtn",      "PWBtn",        "ShowOnStart",
                             "WinStart",     "CheckBox2",    "CurrEdit",
                             "AboutBtn",     "CheckBox1",    "RadioButton5",
                             "SpinEdit2",    "RadioButton8", "SpinEdit5",
                             "Button9",      "ComboTarif",   "design",
                             "coutmin",      "dcm",          "durdebc",
                             "Button3",      "Button4",      "Button7",
                             "CheckBox3",    "cbHost",       "Button8",
                             "SpinEdit1",    "Edit",         "EditH",
                             "HSpin",        "MSpinH",       "ComboBox2",
                             "RadioButton4", "Label42"})
        EXPECT_NE(Form1->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(Form1->findChild<QToolButton*>("SpeedButton1")->toolTip(), "Chronomètre manuel");
    EXPECT_EQ(Form1->findChild<QToolButton*>("Poubelle7")->toolTip(),
              "Supprime la connexion courante");
}

TEST_F(MainWindowTest, ClosingTheMainWindowOnlyHidesIt) {
    QTest::keyClick(Form1->Button12, Qt::Key_Return); // "Cacher la fenêtre", from the keyboard
    EXPECT_FALSE(Form1->isVisible());
    Form1->Test11Click();
    Form1->close();
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(exitRequests, 0);
    Form1->Test11Click();
    EXPECT_TRUE(Form1->isVisible());
}

TEST_F(MainWindowTest, QuittingAsksFirstAndNonKeepsTheProgramRunning) {
    auto box = AnswerNextBox("&Non");
    Form1->Button11->click();
    EXPECT_TRUE(box->seen);
    EXPECT_EQ(box->title, "Confirmation");
    EXPECT_EQ(box->text, "Si vous quittez \"Tallivo\", celui-ci ne sera plus en mesure de "
                         "surveiller vos connexions.\nSouhaitez-vous vraiment quitter le "
                         "programme ?");
    EXPECT_EQ(exitRequests, 0);

    auto yes = AnswerNextBox("&Oui");
    Form1->Test31Click();
    EXPECT_TRUE(yes->seen);
    EXPECT_EQ(exitRequests, 1) << "no connection held: the program ends at once";
}

TEST_F(MainWindowTest, TheTrayToolTipKeepsAtMost62Characters) {
    Form1->SetTrayToolTip(QString(70, QLatin1Char('x')));
    EXPECT_EQ(Form1->TrayIcon1->ToolTip().size(), 62);
    Form1->SetTrayToolTip("Tallivo - 00:01:30 - 0,33 F");
    EXPECT_EQ(Form1->TrayIcon1->ToolTip(), "Tallivo - 00:01:30 - 0,33 F");
}

namespace {
// The simulated modem's phonebook gives the program its dial-up entries.
class MainWindowWithEntriesTest : public AppWindowsTest {
  protected:
    void SetUp() override {
        AppWindowsTest::SetUp();
        StopProgram();
        IniFile(ProgramFiles::SettingsFileName())
            .WriteString(QStringLiteral("Dialup"), QStringLiteral("Provider"),
                         QStringLiteral("simulation"));
        StartProgram();
    }
};
} // namespace

TEST_F(MainWindowWithEntriesTest, FirstStartShowsTheCounterPageCentredWithoutWarning) {
    EXPECT_FALSE(startWarning->seen);
    ASSERT_GT(Form1->ComboBox1->count(), 0);
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 0);
    EXPECT_TRUE(Form1->isVisible()) << "ShowOnStart is checked by default";
    EXPECT_EQ(Form1->PageControl1->currentWidget(), Form1->TabSheet2);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(Form1->x(), (screen.width() - Form1->width()) / 2);
    EXPECT_EQ(Form1->y(), (screen.height() - Form1->height()) / 2);
    EXPECT_EQ(Form1->Label13->text(), "00:00:00");
    EXPECT_EQ(Form1->Label29->text(), "0 F");
}

TEST_F(MainWindowWithEntriesTest, TheMiniWindowDraggedWithTheLeftButtonIsFoundThereAfterARestart) {
    MiniWin->show();
    const QPoint start = MiniWin->pos();
    QTest::mousePress(MiniWin->MovePanel1, Qt::LeftButton, {}, QPoint(10, 10));
    // A pointer that trembles during a click (less than the drag distance) moves nothing.
    QMouseEvent tremble(QEvent::MouseMove, QPointF(11, 10),
                        MiniWin->MovePanel1->mapToGlobal(QPointF(11, 10)), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(MiniWin->MovePanel1, &tremble);
    EXPECT_EQ(MiniWin->pos(), start);
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10),
                     MiniWin->MovePanel1->mapToGlobal(QPointF(10, 10)) + QPointF(-300, 150),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(MiniWin->MovePanel1, &move);
    QTest::mouseRelease(MiniWin->MovePanel1, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(MiniWin->pos(), start + QPoint(-300, 150));
    const QPoint dragged = MiniWin->pos();

    // The right button does not move it.
    QTest::mousePress(MiniWin->MovePanel1, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseRelease(MiniWin->MovePanel1, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(MiniWin->pos(), dragged);

    Form1->SaveSettings();
    StopProgram();
    StartProgram();
    EXPECT_EQ(MiniWin->pos(), dragged);
}

TEST_F(MainWindowTest, TheProgramIconIsThereForTheWindowsAndTheNotificationArea) {
    EXPECT_FALSE(QIcon(":/tallivo.png").isNull());
    EXPECT_FALSE(Form1->windowIcon().isNull());
    EXPECT_FALSE(Form1->TrayIcon1->SystemIcon()->icon().isNull());
}
