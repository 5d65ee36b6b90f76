#include "support/app_fixture.h"

#include "app/application_title.h"
#include "app/ui/windows.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "dialup/simulation_provider.h"
#include "dialup/tras.h"
#include "support/ui_support.h"
#include "widgets/tform1.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

void AppWindowsTest::SetUp() {
    folder = std::make_unique<ScopedProgramFolder>();
    clock = std::make_unique<ScopedClock>(StartMoment());
    qputenv("XDG_CONFIG_HOME", folder->file(QStringLiteral("config")).toLocal8Bit());
    SetProgramExitHandler([this] { ++exitRequests; });
    // The machine's own dial-up entries (/etc/ppp/peers) never reach a test.
    IniFile(ProgramFiles::SettingsFileName())
        .WriteString(QStringLiteral("Dialup"), QStringLiteral("Provider"), QStringLiteral("none"));
    // Nor does a clock setting at each connection, which would ask a public time server.
    IniFile(ProgramFiles::SettingsFileName())
        .WriteString(QStringLiteral("MainW"), QStringLiteral("HeureAuto"), QStringLiteral("0"));
    StartProgram();
}

void AppWindowsTest::TearDown() {
    StopProgram();
    CancelBoxAnswers();
    SetProgramExitHandler({});
    clock.reset();
    folder.reset();
}

void AppWindowsTest::StartProgram() {
    SetApplicationTitle(QStringLiteral("Tallivo"));
    startWarning = AnswerNextBox(QStringLiteral("OK"), 3000);
    CreateWindows();
    startWarning->Cancel();
    QApplication::processEvents();
}

void AppWindowsTest::StopProgram() {
    if (Form1)
        DestroyWindows();
    QApplication::processEvents();
}

void AppWindowsTest::RestartWithProvider(const QString& provider) {
    StopProgram();
    IniFile(ProgramFiles::SettingsFileName())
        .WriteString(QStringLiteral("Dialup"), QStringLiteral("Provider"), provider);
    StartProgram();
}

void SimulatedModemTest::SetUp() {
    AppWindowsTest::SetUp();
    SimulationProvider::SetTimeScale(0.01);
    RestartWithProvider(QStringLiteral("simulation"));
    Form1->Timer2->stop();
}

void SimulatedModemTest::Dial(const QString& entry) {
    Form1->ComboBox1->setCurrentIndex(Form1->ComboBox1->findText(entry));
    Form1->ChosenFromMenu = true;
    Form1->Button1Click();
    Form1->ChosenFromMenu = false;
}

void SimulatedModemTest::TearDown() {
    if (Form1 && Form1->RAS->RASConn)
        Form1->RAS->HangUp();
    AppWindowsTest::TearDown();
    SimulationProvider::SetTimeScale(1.0);
}
