#include "app/display_platform.h"

#include <QtGlobal>

QByteArray PreferredQtPlatform(const QByteArray& requestedPlatform,
                               const QByteArray& waylandDisplay, const QByteArray& sessionType,
                               const QByteArray& x11Display) {
    const bool wayland = !waylandDisplay.isEmpty() || sessionType == "wayland";
    if (!requestedPlatform.isEmpty() || !wayland || x11Display.isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}

void PreferX11OnWayland() {
    const QByteArray platform =
        PreferredQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                            qgetenv("XDG_SESSION_TYPE"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

void SendWindowImagesWithoutSharedMemory() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}
