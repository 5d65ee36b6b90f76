#include "app/ui/windows.h"

#include "app/single_instance.h"
#include "app/ui/about_box.h"
#include "app/ui/mini_window.h"
#include "app/ui/visual_alert.h"
#include "dialup/ui/choose_connection_dialog.h"
#include "dialup/ui/entry_dialogs.h"
#include "dialup/ui/password_dialog.h"
#include "journal/ui/journal_window.h"
#include "widgets/modal_restore.h"
#include "widgets/tform1.h"

#include <QApplication>
#include <QTimer>

TMiniWin* MiniWin = nullptr;
TPassword* Password = nullptr;
TVisualAlert* VisualAlert = nullptr;
TForm1* Form1 = nullptr;
TJournal* Journal = nullptr;
TAboutBox* AboutBox = nullptr;
TChoixConn* ChoixConn = nullptr;

namespace {
std::function<void()> exitHandler;
}

void RegisterProgramPictures() {
    static bool registered = false;
    if (!registered)
        Q_INIT_RESOURCE(tallivo);
    registered = true;
}

// Everything the windows need of each other is connected here, once, in this order.
void CreateWindows(JournalPreload* preload) {
    RegisterProgramPictures();
    KeepModalWindowsRestored();
    // The dial-up component opens the providers' entry dialogs through this hook.
    InstallEntryDialogs();
    MiniWin = new TMiniWin;
    // A copy that hands over to the first one only ends: none of the windows that read and
    // write the settings, autostart entry, tariff and journal files is created.
    if (MiniWin->OnlyOne1->TerminationRequested())
        return;
    Password = new TPassword;
    VisualAlert = new TVisualAlert;
    Form1 = new TForm1;
    Form1->FormCreate();
    Journal = new TJournal(MiniWin->OnlyOne1, preload);
    Journal->SaveSettingsHook = [] { Form1->SaveSettings(); };
    Form1->JournalSums = &Journal->Store;
    QObject::connect(&Form1->Session, &SessionModel::Ticked, MiniWin, &TMiniWin::ShowElapsed);
    QObject::connect(Form1, &TForm1::CostShown, MiniWin, &TMiniWin::ShowCost);
    AboutBox = new TAboutBox;
    ChoixConn = new TChoixConn;
    // The monitor starts last, once the journal is there.
    Form1->Timer2->start();
}

template <typename Window> static void DestroyWindow(Window*& window) {
    delete window;
    window = nullptr;
}

void DestroyWindows() {
    DestroyWindow(ChoixConn);
    DestroyWindow(AboutBox);
    // A session or chronometer run still being counted becomes its row.
    if (Form1 && Journal && Form1->SessionIsCounted())
        Form1->AppendSession();
    DestroyWindow(Journal);
    DestroyWindow(Form1);
    DestroyWindow(VisualAlert);
    DestroyWindow(Password);
    DestroyWindow(MiniWin);
}

void EndProgram() {
    if (MiniWin)
        MiniWin->close();
}

void SetProgramExitHandler(std::function<void()> handler) {
    exitHandler = std::move(handler);
}

void RunProgramExitHandler() {
    if (exitHandler)
        exitHandler();
    else
        QApplication::exit(0);
}
