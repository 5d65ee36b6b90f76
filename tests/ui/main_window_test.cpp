#include "app/ui/mini_window.h"
#include "app/ui/tform1.h"
#include "app/ui/tray_icon.h"
#include "app/ui/windows.h"
#include "support/app_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
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
