#include "app/ui/windows.h"

#include "app/ui/about_box.h"
#include "app/ui/mini_window.h"
#include "app/ui/tform1.h"
#include "app/ui/visual_alert.h"
#include "dialup/ui/choose_connection_dialog.h"
#include "dialup/ui/password_dialog.h"
#include "journal/ui/journal_window.h"

#include <QApplication>

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

void CreateWindows() {
    RegisterProgramPictures();
    MiniWin = new TMiniWin;
    Password = new TPassword;
    VisualAlert = new TVisualAlert;
    Form1 = new TForm1;
    Form1->FormCreate();
    Journal = new TJournal;
    AboutBox = new TAboutBox;
    ChoixConn = new TChoixConn;
}

template <typename Window> static void DestroyWindow(Window*& window) {
    delete window;
    window = nullptr;
}

void DestroyWindows() {
    DestroyWindow(ChoixConn);
    DestroyWindow(AboutBox);
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
