#include "dialup/pppd_provider.h"

#include "base/log.h"
#include "dialup/entry_names.h"
#include "dialup/link_interfaces.h"
#include "dialup/ras_fill.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

struct PppdProvider::Dialled {
    HRASCONN Handle = 0;
    QString Name;
    QProcess* Process = nullptr;
    PppdDialTracker Tracker;
    DialNotifier Notifier;
    bool ChatReportsLines = false;
    QString LogFile;
    qint64 LogOffset = 0;
    QByteArray Partial;
    bool Ended = false;
    QElapsedTimer EndedSince;
    bool HungUp = false;
    QElapsedTimer HangUpSince;
    DialProgress Final;
};

namespace {
constexpr HRASCONN ExternalHandleBit = 0x40000000;

using Ras::NameOf;

QString DefaultLogFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty())
        return folder;
    // Never the shared temporary folder itself, where others could plant the log's name:
    // a folder of our own in it.
    QByteArray path = QFile::encodeName(QDir::tempPath() + QStringLiteral("/tallivo-XXXXXX"));
    return ::mkdtemp(path.data()) ? QFile::decodeName(path) : QString();
}

// The service reports a failed phonebook change by its code alone: the reason goes to the log.
// Where the user may not write the entries at all (not root, Debian's folders), that is said.
quint32 PhonebookNotWritten(const PppdPhonebook& book, const Result& result) {
    if (result)
        return Ras::Success;
    qCWarning(logDialup).noquote() << "phonebook not written:" << result.Message();
    const bool onlyRootMay = ::geteuid() != 0 && !QFileInfo(book.PeersFolder()).isWritable();
    return onlyRootMay ? Ras::AccessDenied : Ras::CannotWritePhonebook;
}
} // namespace

PppdProvider::PppdProvider(Options settings)
    : options(std::move(settings)), context(std::make_unique<QObject>()) {
    if (options.LogFolder.isEmpty())
        options.LogFolder = DefaultLogFolder();
    logTimer = new QTimer(context.get());
    logTimer->setInterval(100);
    QObject::connect(logTimer, &QTimer::timeout, context.get(), [this] { Tick(); });
}

PppdProvider::~PppdProvider() {
    for (auto& entry : dialled) {
        if (!entry->Process)
            continue;
        entry->Process->disconnect();
        if (entry->Process->state() != QProcess::NotRunning && !entry->HungUp) {
            // A connection left up outlives the program: its pppd is not ours to stop.
            entry->Process->setParent(nullptr);
            (void)entry->Process;
            entry->Process = nullptr;
        } else {
            delete entry->Process;
            entry->Process = nullptr;
            QFile::remove(entry->LogFile);
        }
    }
}

PppdPhonebook PppdProvider::Phonebook(const char* phonebook) const {
    return PppdPhonebook(phonebook && *phonebook ? QString::fromUtf8(phonebook)
                                                 : options.PhonebookFolder);
}

// ---- Dialling --------------------------------------------------------------------------

quint32 PppdProvider::RasDialA(void*, const char* phonebook, RASDIALPARAMSA* params,
                               const DialNotifier& notifier, HRASCONN* connection) {
    if (!params || !connection)
        return Ras::UnknownError;
    *connection = 0;
    const PppdPhonebook book = Phonebook(phonebook);
    const QString name = QString::fromUtf8(Ras::FieldText(params->szEntryName));
    PppdEntry entry;
    if (!book.Read(name, &entry))
        return Ras::CannotFindEntry;
    if (!QFileInfo(options.PppdPath).isExecutable())
        return Ras::ServiceCannotStart;

    auto owned = std::make_unique<Dialled>();
    Dialled* d = owned.get();
    d->Handle = nextHandle++;
    d->Name = name;
    d->Tracker = PppdDialTracker(entry.AbortStrings);
    d->Notifier = notifier;
    d->ChatReportsLines = entry.ChatReportsLines;
    if (options.LogFolder.isEmpty())
        return Ras::ServiceCannotStart;
    QDir().mkpath(options.LogFolder);
    d->LogFile = QStringLiteral("%1/tallivo-pppd-%2-%3.log")
                     .arg(options.LogFolder)
                     .arg(QCoreApplication::applicationPid())
                     .arg(d->Handle);
    // The log may name the user: readable by its owner only.
    QFile::remove(d->LogFile);
    const int fd = ::open(QFile::encodeName(d->LogFile).constData(),
                          O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return Ras::ServiceCannotStart;
    ::close(fd);

    QStringList arguments;
    if (book.Folder() == PppdPhonebook::DefaultFolder)
        arguments << QStringLiteral("call") << name;
    else
        arguments << QStringLiteral("file") << book.PeerFile(name);
    arguments << QStringLiteral("nodetach") << QStringLiteral("debug");

    auto* process = new QProcess(context.get());
    d->Process = process;
    process->setProgram(options.PppdPath);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(d->LogFile, QIODevice::Append);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process->setProcessEnvironment(environment);
    QObject::connect(process, &QProcess::started, context.get(), [this, d] {
        for (const DialProgress& step : d->Tracker.Started(d->ChatReportsLines))
            PostDialProgress(d->Notifier, step.State, step.Error);
    });
    QObject::connect(process, &QProcess::finished, context.get(),
                     [this, d](int exitCode, QProcess::ExitStatus status) {
                         ReadLog(d);
                         ProcessEnded(d, exitCode, status == QProcess::CrashExit);
                     });
    QObject::connect(process, &QProcess::errorOccurred, context.get(),
                     [this, d](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart || d->Ended)
                             return;
                         d->Ended = true;
                         d->EndedSince.start();
                         d->Final = {0, quint32(Ras::ServiceCannotStart)};
                         PostDialProgress(d->Notifier, 0, Ras::ServiceCannotStart);
                     });
    dialled.push_back(std::move(owned));
    process->start();
    logTimer->start();
    *connection = d->Handle;
    return Ras::Success;
}

void PppdProvider::ReadLog(Dialled* d) {
    QFile file(d->LogFile);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= d->LogOffset)
        return;
    file.seek(d->LogOffset);
    const QByteArray text = file.readAll();
    d->LogOffset += text.size();
    d->Partial += text;
    int end;
    while ((end = d->Partial.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(d->Partial.left(end));
        d->Partial.remove(0, end + 1);
        if (d->Ended)
            continue;
        for (const DialProgress& step : d->Tracker.Line(line))
            PostDialProgress(d->Notifier, step.State, step.Error);
    }
}

void PppdProvider::ProcessEnded(Dialled* d, int exitCode, bool crashed) {
    if (d->Ended)
        return;
    if (!d->Partial.isEmpty()) {
        d->Partial += '\n';
        ReadLog(d);
    }
    d->Ended = true;
    d->EndedSince.start();
    d->Final = d->Tracker.Finished(exitCode, crashed);
    PostDialProgress(d->Notifier, d->Final.State, d->Final.Error);
    if (d->HungUp)
        Forget(d);
}

void PppdProvider::Forget(Dialled* d) {
    auto found = std::find_if(dialled.begin(), dialled.end(),
                              [d](const auto& entry) { return entry.get() == d; });
    if (found == dialled.end())
        return;
    std::unique_ptr<Dialled> owned = std::move(*found);
    dialled.erase(found);
    if (owned->Process) {
        owned->Process->disconnect();
        if (owned->Process->state() != QProcess::NotRunning)
            owned->Process->kill();
        owned->Process->deleteLater();
    }
    QFile::remove(owned->LogFile);
}

void PppdProvider::Tick() {
    std::vector<Dialled*> expired;
    for (auto& entry : dialled) {
        Dialled* d = entry.get();
        if (!d->Ended)
            ReadLog(d);
        if (d->HungUp && !d->Ended && d->Process && d->HangUpSince.elapsed() > options.HangUpKillMs)
            d->Process->kill();
        if (d->Ended && (d->HungUp || d->EndedSince.elapsed() > options.EndedVisibleMs))
            expired.push_back(d);
    }
    for (Dialled* d : expired)
        Forget(d);
    if (dialled.empty())
        logTimer->stop();
}

quint32 PppdProvider::RasHangUpA(HRASCONN handle) {
    if (Dialled* d = FindDialled(handle)) {
        d->HungUp = true;
        d->HangUpSince.start();
        d->Tracker.HangUpRequested();
        if (d->Ended || !d->Process || d->Process->state() == QProcess::NotRunning)
            Forget(d);
        else
            d->Process->terminate();
        return Ras::Success;
    }
    Session session;
    if (!FindSession(handle, &session))
        return Ras::InvalidHandle;
    // Only a process that still is the pppd of that entry gets the signal.
    if (EntryOfProcess(session.Pid) != session.Name)
        return Ras::InvalidHandle;
    return ::kill(pid_t(session.Pid), SIGTERM) == 0 ? quint32(Ras::Success)
                                                    : quint32(Ras::InvalidHandle);
}

// ---- Sessions --------------------------------------------------------------------------

PppdProvider::Dialled* PppdProvider::FindDialled(HRASCONN handle) const {
    for (const auto& entry : dialled)
        if (entry->Handle == handle)
            return entry.get();
    return nullptr;
}

QString PppdProvider::EntryOfProcess(qint64 pid) const {
    // The program the process runs is pppd itself, not one that has "pppd" among its
    // arguments: a stale pid file may name any process, and a hang-up signals it.
    QFile program(QStringLiteral("%1/%2/comm").arg(options.ProcFolder).arg(pid));
    if (!program.open(QIODevice::ReadOnly) || program.readAll().trimmed() != "pppd")
        return {};
    QFile file(QStringLiteral("%1/%2/cmdline").arg(options.ProcFolder).arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> words = file.readAll().split('\0');
    int start = -1;
    for (int i = 0; i < words.size(); ++i) {
        if (QFileInfo(QString::fromUtf8(words[i])).fileName() == QLatin1String("pppd")) {
            start = i;
            break;
        }
    }
    if (start < 0)
        return {};
    QString name;
    for (int i = start + 1; i + 1 < words.size(); ++i) {
        if (words[i] == "call")
            return QString::fromUtf8(words[i + 1]);
        if (words[i] == "file" && name.isEmpty())
            name = QFileInfo(QString::fromUtf8(words[i + 1])).fileName();
        if (words[i] == "linkname" && name.isEmpty())
            name = QString::fromUtf8(words[i + 1]);
    }
    return name;
}

QList<PppdProvider::Session> PppdProvider::Sessions() {
    std::vector<Dialled*> expired;
    for (const auto& entry : dialled)
        if (entry->Ended && !entry->HungUp && entry->EndedSince.elapsed() > options.EndedVisibleMs)
            expired.push_back(entry.get());
    for (Dialled* d : expired)
        Forget(d);

    QList<Session> sessions;
    QList<qint64> ownPids;
    for (const auto& entry : dialled) {
        Dialled* d = entry.get();
        Session session;
        session.Handle = d->Handle;
        session.Name = d->Name;
        session.Interface = d->Tracker.Interface();
        session.Own = d;
        if (d->Process)
            session.Pid = d->Process->processId();
        if (d->Ended) {
            session.State = Ras::Disconnected;
            session.Error = d->Final.Error;
        } else if (d->HungUp) {
            session.State = Ras::Disconnected;
        } else {
            session.State = d->Tracker.State();
            if (session.State == Ras::Connected &&
                !LinkInterfaces::InterfaceUp(options.NetFolder, session.Interface))
                session.State = Ras::Projected;
        }
        if (session.Pid > 0)
            ownPids.append(session.Pid);
        sessions.append(session);
    }
    // Sessions started by other programs: their pid files, checked against /proc.
    static const QRegularExpression unitFile(QStringLiteral("^ppp(\\d+)\\.pid$"));
    static const QRegularExpression linkFile(QStringLiteral("^ppp-(.+)\\.pid$"));
    const QStringList files =
        QDir(options.RunFolder).entryList({QStringLiteral("ppp*.pid")}, QDir::Files, QDir::Name);
    QList<Session> external;
    for (const QString& fileName : files) {
        QFile file(options.RunFolder + QLatin1Char('/') + fileName);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = file.read(256).split('\n');
        const qint64 pid = lines.value(0).trimmed().toLongLong();
        if (pid <= 0 || ownPids.contains(pid))
            continue;
        QString interfaceName;
        if (const auto unit = unitFile.match(fileName); unit.hasMatch())
            interfaceName = QStringLiteral("ppp") + unit.captured(1);
        else if (linkFile.match(fileName).hasMatch())
            interfaceName = QString::fromUtf8(lines.value(1).trimmed());
        else
            continue;
        const QString name = EntryOfProcess(pid);
        if (name.isEmpty())
            continue;
        auto same = std::find_if(external.begin(), external.end(),
                                 [pid](const Session& s) { return s.Pid == pid; });
        if (same != external.end()) {
            if (same->Interface.isEmpty())
                same->Interface = interfaceName;
            continue;
        }
        Session session;
        session.Handle = ExternalHandleBit | HRASCONN(pid);
        session.Name = name;
        session.Pid = pid;
        session.Interface = interfaceName;
        external.append(session);
    }
    for (Session& session : external) {
        session.State = LinkInterfaces::InterfaceUp(options.NetFolder, session.Interface)
                            ? Ras::Connected
                            : Ras::Authenticate;
        sessions.append(session);
    }
    return sessions;
}

bool PppdProvider::FindSession(HRASCONN handle, Session* session) {
    if (handle == 0)
        return false;
    for (const Session& candidate : Sessions()) {
        if (candidate.Handle == handle) {
            *session = candidate;
            return true;
        }
    }
    return false;
}

quint32 PppdProvider::RasEnumConnectionsA(RASCONNA* connections, quint32* size, quint32* count) {
    if (!connections || !size || !count)
        return Ras::UnknownError;
    QList<Ras::ConnectionListing> listed;
    for (const Session& session : Sessions())
        listed.append({session.Handle, session.Name});
    return Ras::FillConnections(listed, QByteArrayLiteral("pppd"), connections, size, count);
}

quint32 PppdProvider::RasGetConnectStatusA(HRASCONN handle, RASCONNSTATUSA* status) {
    Session session;
    if (!status || !FindSession(handle, &session))
        return Ras::InvalidHandle;
    status->rasconnstate = session.State;
    status->dwError = session.Error;
    Ras::CopyField(status->szDeviceType, QByteArrayLiteral("modem"));
    Ras::CopyField(status->szDeviceName, session.Interface.toUtf8());
    return Ras::Success;
}

quint32 PppdProvider::RasGetProjectionInfoA(HRASCONN handle, quint32 projection, void* buffer,
                                            quint32* size) {
    Session session;
    if (!FindSession(handle, &session))
        return Ras::InvalidHandle;
    if (projection != Ras::ProjectionPppIp || !buffer || !size || *size < sizeof(RASPPPIPA))
        return Ras::BufferTooSmall;
    if (session.State != Ras::Connected)
        return Ras::ProjectionNotComplete;
    QString local, peer;
    if (!LinkInterfaces::Addresses(session.Interface, &local, &peer) && session.Own) {
        local = session.Own->Tracker.LocalAddress();
        peer = session.Own->Tracker.RemoteAddress();
    }
    if (local.isEmpty())
        return Ras::ProjectionNotComplete;
    auto* record = static_cast<RASPPPIPA*>(buffer);
    record->dwError = 0;
    Ras::CopyField(record->szIpAddress, local.toLatin1());
    Ras::CopyField(record->szServerIpAddress, peer.toLatin1());
    return Ras::Success;
}

bool PppdProvider::ReadCounters(HRASCONN handle, QList<LinkCounters>* counters) {
    Session session;
    LinkCounters read;
    if (!FindSession(handle, &session) ||
        !LinkInterfaces::ReadCounters(options.NetFolder, session.Interface, &read))
        return false;
    counters->append(read);
    return true;
}

bool PppdProvider::LinkUp(const QString& entryName) {
    for (const Session& session : Sessions())
        if (session.State == Ras::Connected &&
            (entryName.isEmpty() || session.Name.compare(entryName, Qt::CaseInsensitive) == 0))
            return true;
    return false;
}

// ---- Entries ---------------------------------------------------------------------------

quint32 PppdProvider::RasEnumEntriesA(const char*, const char* phonebook, RASENTRYNAMEA* entries,
                                      quint32* size, quint32* count) {
    if (!entries || !size || !count)
        return Ras::UnknownError;
    const PppdPhonebook book = Phonebook(phonebook);
    // Debian keeps the entries from all but the group dip: unreadable is not empty.
    if (const QFileInfo peers(book.PeersFolder());
        peers.isDir() && (!peers.isReadable() || !peers.isExecutable()))
        return Ras::CannotOpenPhonebook;
    return Ras::FillEntryNames(book.EntryNames(), entries, size, count);
}

quint32 PppdProvider::RasGetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                             qint32* passwordStored) {
    if (!params)
        return Ras::UnknownError;
    const PppdPhonebook book = Phonebook(phonebook);
    PppdEntry entry;
    if (!book.Read(QString::fromUtf8(Ras::FieldText(params->szEntryName)), &entry))
        return Ras::CannotFindEntry;
    Ras::CopyField(params->szUserName, entry.UserName.toUtf8());
    QString password;
    const bool stored = book.Password(
        entry.UserName, entry.RemoteName.isEmpty() ? QStringLiteral("*") : entry.RemoteName,
        &password);
    Ras::CopyField(params->szPassword, stored ? password.toUtf8() : QByteArray());
    params->szCallbackNumber[0] = '\0';
    params->szDomain[0] = '\0';
    if (passwordStored)
        *passwordStored = stored ? 1 : 0;
    return Ras::Success;
}

quint32 PppdProvider::RasSetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                             qint32) {
    if (!params)
        return Ras::UnknownError;
    PppdPhonebook book = Phonebook(phonebook);
    PppdEntry entry;
    const QString name = QString::fromUtf8(Ras::FieldText(params->szEntryName));
    if (!book.Read(name, &entry))
        return Ras::CannotFindEntry;
    const QString user = QString::fromUtf8(Ras::FieldText(params->szUserName));
    const QString password = QString::fromUtf8(Ras::FieldText(params->szPassword));
    if (HasControlCharacter(user) || HasControlCharacter(password))
        return Ras::InvalidParameter;
    // A secrets line names its user: without one a password has no line of its own.
    if (user.isEmpty() && !password.isEmpty())
        return Ras::NoUserName;
    const QString server = PppdPhonebook::ServerOf(entry);
    // The password read back is sent again with every change: it is written only when it
    // differs, so that each secrets file keeps its own.
    QString stored;
    book.Password(entry.UserName, server, &stored);
    const QString changedPassword = password != stored ? password : QString();
    if (user != entry.UserName) {
        // The entry's own secrets line follows its user; the options file changes after it,
        // and when it cannot, the line goes back.
        bool moved = false;
        if (const Result result = book.ChangeUserWithSecrets(
                entry, user, changedPassword, [&] { return book.SetUserName(name, user); }, &moved);
            !result)
            return PhonebookNotWritten(book, result);
        if (moved)
            return Ras::Success;
    } else if (changedPassword.isEmpty()) {
        return Ras::Success;
    }
    // An empty password leaves the stored one as it is.
    if (password.isEmpty())
        return Ras::Success;
    return PhonebookNotWritten(book, book.StorePassword(user, server, password));
}

quint32 PppdProvider::RasGetEntryPropertiesA(const char* phonebook, const char* entryName,
                                             RASENTRYA* record, quint32* entrySize, void*,
                                             quint32*) {
    if (const quint32 check = Ras::CheckEntryRecord(record, entrySize))
        return check;
    PppdEntry entry;
    if (!Phonebook(phonebook).Read(NameOf(entryName), &entry))
        return Ras::CannotFindEntry;
    record->dwfOptions = 0;
    Ras::CopyField(record->szLocalPhoneNumber, entry.PhoneNumber.toUtf8());
    Ras::CopyField(record->szDeviceType, QByteArrayLiteral("modem"));
    const QByteArray device = entry.Speed.isEmpty()
                                  ? QByteArrayLiteral("Modem")
                                  : QStringLiteral("Modem (%1 bit/s)").arg(entry.Speed).toUtf8();
    Ras::SetDeviceNameAndPort(record, device, entry.Device.toUtf8());
    return Ras::Success;
}

quint32 PppdProvider::RasEditPhonebookEntryA(QObject* owner, const char*, const char* entryName) {
    const PppdPhonebook book = Phonebook(nullptr);
    if (!book.Exists(NameOf(entryName)))
        return Ras::CannotFindEntry;
    return OpenEntryDialog(owner, book.Folder(), NameOf(entryName));
}

quint32 PppdProvider::RasCreatePhonebookEntryA(QObject* owner, const char*) {
    return OpenEntryDialog(owner, Phonebook(nullptr).Folder());
}

bool PppdProvider::EntryInUse(const QString& name) {
    for (const Session& session : Sessions())
        if (session.Name == name && !(session.Own && session.Own->Ended))
            return true;
    return false;
}

quint32 PppdProvider::RasRenameEntryA(const char* phonebook, const char* oldName,
                                      const char* newName) {
    PppdPhonebook book = Phonebook(phonebook);
    if (!book.Exists(NameOf(oldName)))
        return Ras::CannotFindEntry;
    if (const quint32 check = RasValidateEntryNameA(phonebook, newName))
        return check;
    if (EntryInUse(NameOf(oldName)))
        return Ras::EntryInUse;
    return PhonebookNotWritten(book, book.Rename(NameOf(oldName), NameOf(newName)));
}

quint32 PppdProvider::RasDeleteEntryA(const char* phonebook, const char* entryName) {
    PppdPhonebook book = Phonebook(phonebook);
    if (!book.Exists(NameOf(entryName)))
        return Ras::CannotFindEntry;
    if (EntryInUse(NameOf(entryName)))
        return Ras::EntryInUse;
    return PhonebookNotWritten(book, book.Delete(NameOf(entryName)));
}

quint32 PppdProvider::RasValidateEntryNameA(const char* phonebook, const char* entryName) {
    const QByteArray name(entryName ? entryName : "");
    if (!IsShellSafeEntryName(name))
        return Ras::InvalidName;
    // A chat script of that name would be written over by the entry's own.
    const PppdPhonebook book = Phonebook(phonebook);
    const QString entry = QString::fromUtf8(name);
    return book.NameTaken(entry) ? quint32(Ras::AlreadyExists) : quint32(Ras::Success);
}
