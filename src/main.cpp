#include "app/application_title.h"
#include "app/display_platform.h"
#include "app/single_instance.h"
#include "app/sleeper.h"
#include "app/termination_signal.h"
#include "app/ui/mini_window.h"
#include "app/ui/splash.h"
#include "app/ui/windows.h"
#include "base/freed_memory.h"
#include "base/log.h"
#include "base/program_files.h"
#include "journal/journal_preload.h"
#include "widgets/french_translations.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

int main(int argc, char* argv[]) {
    QElapsedTimer startUp;
    startUp.start();
    InstallLog();
    PreferX11OnWayland();
    SendWindowImagesWithoutSharedMemory();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallivo"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.tallivo"));
    RegisterProgramPictures();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tallivo.png")));
    // Closing the main window only hides it; the program lives in the notification area.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFrenchTranslations(application);

    // From the first moment a termination signal ends the program cleanly: before the windows
    // exist nothing is loaded, so they are simply not created.
    static bool windowsReady = false;
    static bool terminationRequested = false;
    WatchTerminationSignals([] {
        if (windowsReady)
            EndProgram();
        else
            terminationRequested = true;
    });

    // The journal is read while the splash shows: a large one then holds nothing up.
    JournalPreload journalPreload(ProgramFiles::JournalFileName());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto* splash = new TLogo;
    splash->show();
    QApplication::processEvents();
    TSleeper sleeper;
    sleeper.Interval = 2000;
    QElapsedTimer splashWait;
    splashWait.start();
    sleeper.Sleep();
    const qint64 splashWaitMs = splashWait.elapsed();
    if (terminationRequested) {
        delete splash;
        return 0;
    }

    SetApplicationTitle(QStringLiteral("Tallivo"));
    CreateWindows(&journalPreload);
    delete splash;
    QApplication::restoreOverrideCursor();
    windowsReady = true;
    if (terminationRequested) // during the windows' creation: ended once the loop runs
        QTimer::singleShot(0, [] { EndProgram(); });

    // A second copy has asked the first one to come forward: it ends right after start-up.
    const bool handedOver = MiniWin->OnlyOne1->TerminationRequested();
    QTimer::singleShot(0, [&startUp, splashWaitMs] {
        qCDebug(logStartup, "event loop reached after %lld ms, of which %lld ms splash wait",
                startUp.elapsed(), splashWaitMs);
    });
    // Start-up frees much at once (the journal's read, the windows' first paints, the work Qt
    // hands its pool threads): once it has settled, those pages go back to the system.
    QTimer::singleShot(std::chrono::seconds(3), [] { ReturnFreedMemoryToSystem(); });
    const int result = handedOver ? 0 : application.exec();
    DestroyWindows();
    return result;
}
