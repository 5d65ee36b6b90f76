#include "dialup/simulation_provider.h"
#include "base/log.h"

#include "base/ini_file.h"
#include "base/program_files.h"
#include "base/safe_write.h"
#include "base/text_encoding.h"
#include "dialup/entry_names.h"
#include "dialup/ras_fill.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>

namespace {
double timeScale = 1.0;

struct ModemStep {
    int DelayMs;
    quint32 State;
    quint32 Error;
};

using Ras::NameOf;

int Scaled(double milliseconds) {
    return int(std::lround(milliseconds * timeScale));
}

const char* const DefaultPhonebook =
    "; Simulated modem of Tallivo: one section per connection.\n"
    "; Outcome = connect, busy, noanswer, badpassword or drop (the line drops DropAfter\n"
    "; seconds after connecting). Choose it with Provider=simulation in section [Dialup]\n"
    "; of the program's settings file.\n"
    "[Simulation 56K]\n"
    "PhoneNumber=0860123456\nUserName=demo\nPassword=demo\nOutcome=connect\n"
    "[Ligne occupée]\n"
    "PhoneNumber=0860999999\nUserName=demo\nPassword=demo\nOutcome=busy\n"
    "[Pas de réponse]\n"
    "PhoneNumber=0860888888\nUserName=demo\nPassword=demo\nOutcome=noanswer\n"
    "[Mot de passe refusé]\n"
    "PhoneNumber=0860777777\nUserName=demo\nPassword=faux\nOutcome=badpassword\n"
    "[Coupure après 60 s]\n"
    "PhoneNumber=0860666666\nUserName=demo\nPassword=demo\nOutcome=drop\nDropAfter=60\n";
} // namespace

struct SimulationProvider::Call {
    HRASCONN Handle = 0;
    QString Name;
    DialNotifier Notifier;
    QList<ModemStep> Steps;
    QTimer* Timer = nullptr;
    quint32 State = Ras::OpenPort;
    bool Connected = false;
    QElapsedTimer ConnectedSince;
    qint64 DropAfterMs = -1; // real milliseconds after connecting, -1 never
    bool Ended = false;
    quint32 Error = 0;
    QElapsedTimer EndedSince;
    bool HungUp = false;
    QElapsedTimer HungUpSince;
};

SimulationProvider::SimulationProvider(QString phonebookFile)
    : defaultFile(std::move(phonebookFile)), context(std::make_unique<QObject>()) {
    if (const Result created = CreateDefaultPhonebook(defaultFile); !created)
        qCWarning(logDialup).noquote() << "simulated phonebook not created:" << created.Message();
}

SimulationProvider::~SimulationProvider() = default;

QString SimulationProvider::DefaultPhonebookFile() {
    return ProgramFiles::DataFolder() + ProgramFiles::BaseName() + QStringLiteral("-modem.ini");
}

Result SimulationProvider::CreateDefaultPhonebook(const QString& fileName) {
    if (QFileInfo::exists(fileName))
        return Result::Success();
    // It holds (pretend) passwords: readable by its owner only, kept so by later writes.
    return WritePrivateFileSafely(fileName, QByteArray(DefaultPhonebook));
}

void SimulationProvider::SetTimeScale(double scale) {
    timeScale = scale > 0 ? scale : 1.0;
}
double SimulationProvider::TimeScale() {
    return timeScale;
}

QString SimulationProvider::File(const char* phonebook) const {
    return phonebook && *phonebook ? QString::fromUtf8(phonebook) : defaultFile;
}

QStringList SimulationProvider::EntryNames(const QString& fileName) const {
    QFile file(fileName);
    QStringList names;
    if (!file.open(QIODevice::ReadOnly))
        return names;
    const QStringList lines = DecodeFileText(file.readAll()).split(QLatin1Char('\n'));
    // Section names as the INI reader takes them (blanks are spaces and tabs, the name ends at
    // the first "]"), so that every name listed can be read, written, renamed and deleted.
    const auto trimBlanks = [](QString text) {
        while (!text.isEmpty() && (text.front() == QLatin1Char(' ') || text.front() == '\t'))
            text.remove(0, 1);
        while (!text.isEmpty() &&
               (text.back() == QLatin1Char(' ') || text.back() == '\t' || text.back() == '\r'))
            text.chop(1);
        return text;
    };
    for (const QString& raw : lines) {
        const QString line = trimBlanks(raw);
        if (!line.startsWith(QLatin1Char('[')))
            continue;
        const QString name = trimBlanks(line.mid(1, line.indexOf(QLatin1Char(']')) - 1));
        // Names travel to the dial-up calls in UTF-8 and back: one that does not come back
        // the same (a leading U+FEFF is dropped as a byte-order mark) could not be used.
        const QByteArray utf8 = name.toUtf8();
        if (IsValidSectionEntryName(utf8) && QString::fromUtf8(utf8) == name &&
            !names.contains(name))
            names.append(name);
    }
    return names;
}

bool SimulationProvider::HasEntry(const QString& fileName, const QString& name) const {
    return IsValidSectionEntryName(name.toUtf8()) && EntryNames(fileName).contains(name);
}

bool SimulationProvider::EntryInUse(const QString& name) {
    Sweep();
    return std::any_of(calls.begin(), calls.end(), [&name](const std::unique_ptr<Call>& call) {
        return call->Name == name && !call->Ended && !call->HungUp;
    });
}

// ---- Dialling --------------------------------------------------------------------------

quint32 SimulationProvider::RasDialA(void*, const char* phonebook, RASDIALPARAMSA* params,
                                     const DialNotifier& notifier, HRASCONN* connection) {
    if (!params || !connection)
        return Ras::UnknownError;
    *connection = 0;
    const QString fileName = File(phonebook);
    const QString name = QString::fromUtf8(Ras::FieldText(params->szEntryName));
    if (!HasEntry(fileName, name))
        return Ras::CannotFindEntry;
    const IniFile book(fileName);
    const QString outcome =
        book.ReadString(name, QStringLiteral("Outcome"), QStringLiteral("connect"))
            .trimmed()
            .toLower();
    auto owned = std::make_unique<Call>();
    Call* call = owned.get();
    call->Handle = nextHandle++;
    call->Name = name;
    call->Notifier = notifier;
    // A modem's pace: port, dial tone, ringing and handshake, then PPP.
    call->Steps = {{0, Ras::OpenPort, 0}, {300, Ras::PortOpened, 0}, {400, Ras::ConnectDevice, 0}};
    if (outcome == QLatin1String("busy")) {
        call->Steps.append({3000, Ras::ConnectDevice, Ras::LineBusy});
    } else if (outcome == QLatin1String("noanswer")) {
        call->Steps.append({30000, Ras::ConnectDevice, Ras::NoAnswer});
    } else {
        call->Steps.append({6000, Ras::DeviceConnected, 0});
        call->Steps.append({100, Ras::AllDevicesConnected, 0});
        call->Steps.append({200, Ras::Authenticate, 0});
        if (outcome == QLatin1String("badpassword")) {
            call->Steps.append({1500, Ras::Authenticate, Ras::AuthenticationFailure});
        } else {
            call->Steps.append({1500, Ras::Authenticated, 0});
            call->Steps.append({500, Ras::Projected, 0});
            call->Steps.append({300, Ras::Connected, 0});
            if (outcome == QLatin1String("drop"))
                call->DropAfterMs =
                    Scaled(1000.0 * book.ReadInteger(name, QStringLiteral("DropAfter"), 60));
        }
    }
    call->Timer = new QTimer(context.get());
    call->Timer->setSingleShot(true);
    QObject::connect(call->Timer, &QTimer::timeout, context.get(), [this, call] { Advance(call); });
    calls.push_back(std::move(owned));
    call->Timer->start(0);
    *connection = call->Handle;
    return Ras::Success;
}

void SimulationProvider::Advance(Call* call) {
    if (call->Steps.isEmpty() || call->Ended || call->HungUp)
        return;
    const ModemStep step = call->Steps.takeFirst();
    if (step.Error != 0) {
        call->Ended = true;
        call->Error = step.Error;
        call->EndedSince.start();
    } else {
        call->State = step.State;
        if (step.State == Ras::Connected) {
            call->Connected = true;
            call->ConnectedSince.start();
            if (call->DropAfterMs >= 0)
                call->Steps.append(
                    {int(call->DropAfterMs / timeScale), Ras::Connected, Ras::RemoteDisconnection});
        }
    }
    PostDialProgress(call->Notifier, step.State, step.Error);
    if (!call->Steps.isEmpty())
        call->Timer->start(Scaled(call->Steps.first().DelayMs));
}

SimulationProvider::Call* SimulationProvider::Find(HRASCONN handle) {
    Sweep();
    for (const auto& call : calls)
        if (call->Handle == handle)
            return call.get();
    return nullptr;
}

void SimulationProvider::Sweep() {
    // Hung-up calls go once the modem has put the line down; ended ones after a while.
    calls.erase(std::remove_if(calls.begin(), calls.end(),
                               [this](const std::unique_ptr<Call>& call) {
                                   return (call->HungUp &&
                                           call->HungUpSince.elapsed() >= Scaled(500)) ||
                                          (call->Ended && !call->HungUp &&
                                           call->EndedSince.elapsed() > EndedVisibleMs);
                               }),
                calls.end());
}

quint32 SimulationProvider::StateOf(Call* call, quint32* error) {
    *error = 0;
    if (call->Ended) {
        *error = call->Error;
        return Ras::Disconnected;
    }
    if (call->HungUp)
        return Ras::Disconnected;
    return call->State;
}

quint32 SimulationProvider::RasHangUpA(HRASCONN handle) {
    Call* call = Find(handle);
    if (!call || call->HungUp)
        return Ras::InvalidHandle;
    call->HungUp = true;
    call->HungUpSince.start();
    call->Timer->stop();
    return Ras::Success;
}

quint32 SimulationProvider::RasEnumConnectionsA(RASCONNA* connections, quint32* size,
                                                quint32* count) {
    if (!connections || !size || !count)
        return Ras::UnknownError;
    Sweep();
    QList<Ras::ConnectionListing> listed;
    for (const auto& call : calls)
        listed.append({call->Handle, call->Name});
    return Ras::FillConnections(listed, QByteArrayLiteral("Modem simulé 56K"), connections, size,
                                count);
}

quint32 SimulationProvider::RasGetConnectStatusA(HRASCONN handle, RASCONNSTATUSA* status) {
    Call* call = Find(handle);
    if (!call || !status)
        return Ras::InvalidHandle;
    status->rasconnstate = StateOf(call, &status->dwError);
    Ras::CopyField(status->szDeviceType, QByteArrayLiteral("modem"));
    Ras::CopyField(status->szDeviceName, QByteArrayLiteral("Modem simulé 56K"));
    return Ras::Success;
}

quint32 SimulationProvider::RasGetProjectionInfoA(HRASCONN handle, quint32 projection, void* buffer,
                                                  quint32* size) {
    Call* call = Find(handle);
    if (!call)
        return Ras::InvalidHandle;
    if (projection != Ras::ProjectionPppIp || !buffer || !size || *size < sizeof(RASPPPIPA))
        return Ras::BufferTooSmall;
    quint32 error = 0;
    if (StateOf(call, &error) != Ras::Connected)
        return Ras::ProjectionNotComplete;
    auto* record = static_cast<RASPPPIPA*>(buffer);
    record->dwError = 0;
    Ras::CopyField(record->szIpAddress,
                   QStringLiteral("192.0.2.%1").arg(10 + call->Handle % 200).toLatin1());
    Ras::CopyField(record->szServerIpAddress, QByteArrayLiteral("192.0.2.1"));
    return Ras::Success;
}

bool SimulationProvider::ReadCounters(HRASCONN handle, QList<LinkCounters>* counters) {
    Call* call = Find(handle);
    if (!call || !call->Connected)
        return false;
    // Modem seconds: about 4.7 KB/s down and 0.6 KB/s up, with a slow swell.
    const double seconds = call->ConnectedSince.elapsed() / 1000.0 / timeScale;
    LinkCounters read;
    read.Source = QStringLiteral("sim%1").arg(call->Handle);
    read.Received = quint64(seconds * 4700.0 + 800.0 * (1.0 - std::cos(seconds / 7.0)));
    read.Sent = quint64(seconds * 600.0 + 100.0 * (1.0 - std::cos(seconds / 5.0)));
    counters->append(read);
    return true;
}

bool SimulationProvider::LinkUp(const QString& entryName) {
    Sweep();
    for (const auto& call : calls) {
        quint32 error = 0;
        if (StateOf(call.get(), &error) == Ras::Connected &&
            (entryName.isEmpty() || call->Name.compare(entryName, Qt::CaseInsensitive) == 0))
            return true;
    }
    return false;
}

// ---- Entries ---------------------------------------------------------------------------

quint32 SimulationProvider::RasEnumEntriesA(const char*, const char* phonebook,
                                            RASENTRYNAMEA* entries, quint32* size, quint32* count) {
    if (!entries || !size || !count)
        return Ras::UnknownError;
    return Ras::FillEntryNames(EntryNames(File(phonebook)), entries, size, count);
}

quint32 SimulationProvider::RasGetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                                   qint32* passwordStored) {
    const QString fileName = File(phonebook);
    const QString name = QString::fromUtf8(Ras::FieldText(params->szEntryName));
    if (!HasEntry(fileName, name))
        return Ras::CannotFindEntry;
    const IniFile book(fileName);
    Ras::CopyField(params->szUserName,
                   book.ReadString(name, QStringLiteral("UserName"), {}).toUtf8());
    const bool stored = book.KeyExists(name, QStringLiteral("Password"));
    Ras::CopyField(params->szPassword,
                   book.ReadString(name, QStringLiteral("Password"), {}).toUtf8());
    Ras::CopyField(params->szCallbackNumber,
                   book.ReadString(name, QStringLiteral("CallbackNumber"), {}).toUtf8());
    Ras::CopyField(params->szDomain, book.ReadString(name, QStringLiteral("Domain"), {}).toUtf8());
    if (passwordStored)
        *passwordStored = stored ? 1 : 0;
    return Ras::Success;
}

quint32 SimulationProvider::RasSetEntryDialParamsA(const char* phonebook, RASDIALPARAMSA* params,
                                                   qint32 removePassword) {
    const QString fileName = File(phonebook);
    const QString name = QString::fromUtf8(Ras::FieldText(params->szEntryName));
    if (!HasEntry(fileName, name))
        return Ras::CannotFindEntry;
    IniFile book(fileName);
    try {
        book.WriteString(name, QStringLiteral("UserName"),
                         QString::fromUtf8(Ras::FieldText(params->szUserName)));
        if (removePassword)
            book.DeleteKey(name, QStringLiteral("Password"));
        else
            book.WriteString(name, QStringLiteral("Password"),
                             QString::fromUtf8(Ras::FieldText(params->szPassword)));
        book.WriteString(name, QStringLiteral("CallbackNumber"),
                         QString::fromUtf8(Ras::FieldText(params->szCallbackNumber)));
        book.WriteString(name, QStringLiteral("Domain"),
                         QString::fromUtf8(Ras::FieldText(params->szDomain)));
    } catch (const std::exception& error) {
        qCWarning(logDialup) << "simulated phonebook not written:" << error.what();
        return Ras::CannotWritePhonebook;
    }
    return Ras::Success;
}

quint32 SimulationProvider::RasGetEntryPropertiesA(const char* phonebook, const char* entryName,
                                                   RASENTRYA* record, quint32* entrySize, void*,
                                                   quint32*) {
    if (const quint32 check = Ras::CheckEntryRecord(record, entrySize))
        return check;
    const QString fileName = File(phonebook);
    const QString name = NameOf(entryName);
    if (!HasEntry(fileName, name))
        return Ras::CannotFindEntry;
    const IniFile book(fileName);
    const int country = book.ReadInteger(name, QStringLiteral("CountryCode"), 0);
    record->dwfOptions = country > 0 ? Ras::OptionUseCountryAndAreaCodes : 0;
    record->dwCountryCode = quint32(qMax(country, 0));
    Ras::CopyField(record->szAreaCode,
                   book.ReadString(name, QStringLiteral("AreaCode"), {}).toUtf8());
    Ras::CopyField(record->szLocalPhoneNumber,
                   book.ReadString(name, QStringLiteral("PhoneNumber"), {}).toUtf8());
    Ras::CopyField(
        record->szDeviceType,
        book.ReadString(name, QStringLiteral("DeviceType"), QStringLiteral("modem")).toUtf8());
    Ras::SetDeviceNameAndPort(
        record,
        book.ReadString(name, QStringLiteral("DeviceName"), QStringLiteral("Modem simulé 56K"))
            .toUtf8(),
        book.ReadString(name, QStringLiteral("DevicePort"), QStringLiteral("/dev/ttyS0")).toUtf8());
    return Ras::Success;
}

quint32 SimulationProvider::RasEditPhonebookEntryA(QObject* owner, const char*,
                                                   const char* entryName) {
    if (!HasEntry(defaultFile, NameOf(entryName)))
        return Ras::CannotFindEntry;
    return OpenEntryDialog(owner, defaultFile, NameOf(entryName));
}

quint32 SimulationProvider::RasCreatePhonebookEntryA(QObject* owner, const char*) {
    return OpenEntryDialog(owner, defaultFile);
}

quint32 SimulationProvider::RasRenameEntryA(const char* phonebook, const char* oldName,
                                            const char* newName) {
    const QString fileName = File(phonebook);
    if (!HasEntry(fileName, NameOf(oldName)))
        return Ras::CannotFindEntry;
    if (const quint32 check = RasValidateEntryNameA(phonebook, newName))
        return check;
    if (EntryInUse(NameOf(oldName)))
        return Ras::EntryInUse;
    IniFile book(fileName);
    try {
        // One write: the file holds the old entry or the new one, never half of each.
        book.BeginBatch();
        for (const auto& [key, value] : book.ReadSectionValues(NameOf(oldName)))
            book.WriteString(NameOf(newName), key, value);
        book.EraseSection(NameOf(oldName));
        book.CommitBatch();
    } catch (const std::exception& error) {
        qCWarning(logDialup) << "simulated phonebook not written:" << error.what();
        return Ras::CannotWritePhonebook;
    }
    return Ras::Success;
}

quint32 SimulationProvider::RasDeleteEntryA(const char* phonebook, const char* entryName) {
    const QString fileName = File(phonebook);
    if (!HasEntry(fileName, NameOf(entryName)))
        return Ras::CannotFindEntry;
    if (EntryInUse(NameOf(entryName)))
        return Ras::EntryInUse;
    IniFile book(fileName);
    try {
        book.EraseSection(NameOf(entryName));
    } catch (const std::exception& error) {
        qCWarning(logDialup) << "simulated phonebook not written:" << error.what();
        return Ras::CannotWritePhonebook;
    }
    return Ras::Success;
}

quint32 SimulationProvider::RasValidateEntryNameA(const char* phonebook, const char* entryName) {
    const QByteArray name(entryName ? entryName : "");
    if (!IsValidSectionEntryName(name))
        return Ras::InvalidName;
    return HasEntry(File(phonebook), QString::fromUtf8(name)) ? quint32(Ras::AlreadyExists)
                                                              : quint32(Ras::Success);
}
