// The main window under a real X server (a private Xvfb): while the chronometer runs, the caption
// that carries the clock reaches the X server each tick, in both title properties, but the
// window no longer asks for its own property events; it asks again, and Qt's title is back on
// the server, once the caption is the title again. Run in a fresh copy of this test program, on
// Qt's X11 platform.

#include "app/ui/windows.h"
#include "support/test_support.h"
#include "support/ui_support.h"
#include "widgets/tform1.h"
#include "widgets/ticking_caption.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWindow>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace {
xcb_connection_t* Connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

bool HearsOwnProperties(const QWidget* window) {
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
        Connection(), xcb_get_window_attributes(Connection(), xcb_window_t(window->winId())),
        nullptr);
    const bool hears = reply && (reply->your_event_mask & XCB_EVENT_MASK_PROPERTY_CHANGE);
    std::free(reply);
    return hears;
}

// The window's title as the X server holds it: _NET_WM_NAME (UTF-8, what window managers show),
// or the legacy WM_NAME (Latin-1 for these captions).
QString TitleOnServer(const QWidget* window, const QByteArray& name = "_NET_WM_NAME") {
    xcb_connection_t* connection = Connection();
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, name.size(), name.constData()), nullptr);
    if (!atom)
        return {};
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, xcb_window_t(window->winId()),
                                                atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                               nullptr);
    std::free(atom);
    QString title;
    if (reply) {
        const auto* value = static_cast<const char*>(xcb_get_property_value(reply));
        const int length = xcb_get_property_value_length(reply);
        title = reply->type == XCB_ATOM_STRING ? QString::fromLatin1(value, length)
                                               : QString::fromUtf8(value, length);
    }
    std::free(reply);
    return title;
}
} // namespace

TEST(TickingCaptionHelper, MainWindowIsDeafToItsPropertiesWhileTheClockTicks) {
    const QString folder = qEnvironmentVariable("TALLIVO_X11_HELPER_FOLDER");
    if (folder.isEmpty())
        GTEST_SKIP() << "run by TickingCaption only";
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    ScopedClock clock(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
    CreateWindowsOfProgramIn(folder);
    Form1->ShowInFront();
    ASSERT_TRUE(WaitUntil([] { return Form1->windowHandle()->isExposed(); }, 10000));
    EXPECT_TRUE(HearsOwnProperties(Form1));

    Form1->SpeedButton1->click();
    Form1->SpeedButton2->click();
    for (int tick = 0; tick < 2; ++tick) {
        clock.clock.advanceSeconds(1);
        Form1->Timer1Timer();
        QCoreApplication::processEvents();
        EXPECT_FALSE(HearsOwnProperties(Form1));
        const QString caption = Form1->ClockCaption->Shown();
        EXPECT_EQ(TitleOnServer(Form1), caption);
        EXPECT_EQ(TitleOnServer(Form1, "WM_NAME"), caption);
    }
    EXPECT_TRUE(
        Form1->ClockCaption->Shown().startsWith(QStringLiteral("Tallivo - 08/12/2026 10:00:0")));
    EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Tallivo")); // not renamed every second

    // Hidden to the tray, the main window loses its native window; shown again, the new one
    // carries the clock and is quiet too.
    Form1->close();
    clock.clock.advanceSeconds(1);
    Form1->Timer1Timer();
    Form1->ShowInFront();
    ASSERT_TRUE(WaitUntil([] { return Form1->windowHandle()->isExposed(); }, 10000));
    clock.clock.advanceSeconds(1);
    Form1->Timer1Timer();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Form1->ClockCaption->Shown().endsWith(QStringLiteral("10:00:04 (heures pleines)")))
        << Form1->ClockCaption->Shown().toStdString();
    EXPECT_EQ(TitleOnServer(Form1), Form1->ClockCaption->Shown());
    EXPECT_FALSE(HearsOwnProperties(Form1));

    Form1->SpeedButton4->click();
    EXPECT_TRUE(HearsOwnProperties(Form1));
    EXPECT_EQ(TitleOnServer(Form1), QStringLiteral("Tallivo"));
    EXPECT_EQ(TitleOnServer(Form1, "WM_NAME"), QStringLiteral("Tallivo"));
    DestroyWindows();
}

TEST(TickingCaption, MainWindowOnARealXServer) {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";
    int display = 500 + int(QCoreApplication::applicationPid() % 400);
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
        ++display;
    QProcess server;
    server.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(display), "-screen", "0",
                                          "1024x768x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted(5000));
    const bool ready = WaitUntil(
        [&] { return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)); }, 10000);

    QTemporaryDir program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TALLIVO_X11_HELPER_FOLDER"), program.path());
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(display));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess helper;
    helper.setProcessEnvironment(environment);
    helper.setProcessChannelMode(QProcess::MergedChannels);
    if (ready) {
        helper.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=TickingCaptionHelper.*")});
        if (!helper.waitForFinished(60000)) {
            ::kill(pid_t(helper.processId()), SIGKILL);
            helper.waitForFinished(5000);
        }
    }
    ::kill(pid_t(server.processId()), SIGTERM);
    server.waitForFinished(5000);
    ASSERT_TRUE(ready);
    const QByteArray said = helper.readAll();
    EXPECT_EQ(helper.exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(said.contains("[  PASSED  ] 1 test")) << said.toStdString();
}
