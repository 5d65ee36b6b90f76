#include "timesync/clock_setter.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <ctime>
#include <unistd.h>

namespace {
ClockSetter* installedSetter = nullptr;

// The user may take a while to type a password in the authorisation dialog.
constexpr int authorisationWaitMs = 120000;

bool ServiceMissing(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::NoServer:
    case QDBusError::Disconnected:
    case QDBusError::NoNetwork:
        return true;
    default:
        return error.name() == QStringLiteral("org.freedesktop.DBus.Error.Spawn.ChildExited");
    }
}

QString ExplainRefusal(const QDBusError& error) {
    const QString name = error.name();
    if (name == QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired") ||
        name == QStringLiteral("org.freedesktop.DBus.Error.AccessDenied") ||
        name == QStringLiteral("org.freedesktop.PolicyKit1.Error.NotAuthorized"))
        return QStringLiteral("l'autorisation de changer l'heure du système a été refusée.");
    if (name == QStringLiteral("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"))
        return QStringLiteral(
            "la synchronisation automatique de l'heure du système (NTP) est active.");
    if (error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout)
        return QStringLiteral("le service d'heure du système n'a pas répondu.");
    return QStringLiteral("le service d'heure du système a refusé (") + error.message() +
           QStringLiteral(").");
}

Result SetWithClockSettime(const QDateTime& utc) {
    timespec moment{};
    const qint64 ms = utc.toMSecsSinceEpoch();
    moment.tv_sec = static_cast<time_t>(ms / 1000);
    moment.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    if (clock_settime(CLOCK_REALTIME, &moment) != 0)
        return Result::Failure(QStringLiteral("le système a refusé de changer l'heure."));
    return Result::Success();
}
} // namespace

Result SystemClockSetter::SetUtc(const QDateTime& utc) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
    const qlonglong microseconds = utc.toMSecsSinceEpoch() * 1000;
    call << microseconds << false << true; // absolute time, interactive authorisation
    call.setInteractiveAuthorizationAllowed(true);

    QDBusConnection bus = QDBusConnection::systemBus();
    QDBusError error;
    if (!bus.isConnected()) {
        error = bus.lastError();
    } else {
        QDBusPendingCallWatcher watcher(bus.asyncCall(call, authorisationWaitMs));
        if (!watcher.isFinished()) {
            QEventLoop loop;
            QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop,
                             &QEventLoop::quit);
            // Once the program is ending no answer is handled any more.
            if (loop.exec() == -1)
                return Result::Failure(QStringLiteral("le programme se termine."));
        }
        if (!watcher.isError())
            return Result::Success();
        error = watcher.error();
    }
    if (ServiceMissing(error) || !bus.isConnected()) {
        if (rootFallback && geteuid() == 0)
            return SetWithClockSettime(utc);
        return Result::Failure(
            QStringLiteral("le service d'heure du système (timedated) est introuvable."));
    }
    return Result::Failure(ExplainRefusal(error));
}

ClockSetter& AppClockSetter() {
    static SystemClockSetter systemSetter;
    return installedSetter ? *installedSetter : systemSetter;
}

void SetAppClockSetter(ClockSetter* setter) {
    installedSetter = setter;
}
