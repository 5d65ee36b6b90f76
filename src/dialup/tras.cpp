#include "dialup/tras.h"
#include "base/event_wait.h"
#include "base/log.h"

#include "dialup/error_texts.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <cstring>
#include <vector>

namespace {
int RegisterDialEventMessage() {
    const int type = QEvent::registerEventType();
    return type > 0 ? type : 0xCCCD;
}

QString FromField(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

// A list of connections that did not all fit still holds the first ones.
bool ConnectionsListed(qint32 code) {
    return code == 0 || code == Ras::BufferTooSmall;
}
} // namespace

// ---- TConnectionList -------------------------------------------------------------------

HRASCONN TConnectionList::ConnectionHandle(int index) const {
    return index >= 0 && index < Count() ? Records[std::size_t(index)].hrasconn : 0;
}

QString TConnectionList::ConnectionName(int index) const {
    if (index < 0 || index >= Count())
        return {};
    return FromField(Ras::FieldText(Records[std::size_t(index)].szEntryName));
}

void TConnectionList::DeleteConnection(int index) {
    if (index >= 0 && index < Count())
        Records.erase(Records.begin() + index);
}

void TConnectionList::ClearConnections() {
    for (int index = Count() - 1; index >= 0; --index)
        DeleteConnection(index);
    Records.clear();
}

// ---- Notifier --------------------------------------------------------------------------

bool TRASNotifier::event(QEvent* event) {
    if (Owner && event->type() >= QEvent::User) {
        auto* progress = dynamic_cast<DialProgressEvent*>(event);
        if (progress) {
            Owner->DialEventProc(int(event->type()), progress->State, progress->Error);
            return true;
        }
    }
    return QObject::event(event);
}

// ---- Construction ----------------------------------------------------------------------

TRAS::TRAS(QObject* owner) : QObject(owner) {
    DialEventMessage = RegisterDialEventMessage();
    ResetStats();
}

TRAS::~TRAS() {
    HangUp();
    Connections.ClearConnections();
    Binding.Release();
}

void TRAS::SetPhoneBookPath(const QString& path) {
    PhoneBook = path;
    EnumEntries();
}

bool TRAS::RasAvailable() {
    if (Binding.LoadRasApi())
        return true;
    LastError = Ras::Unavailable;
    StatusStr = QStringLiteral("RASAPI32.DLL Not Available");
    return false;
}

bool TRAS::GuardedStart() {
    LastError = Ras::Unavailable;
    return Binding.LoadRasApi();
}

int TRAS::Finish(quint32 code, bool setStatus) {
    LastError = qint32(code);
    if (LastError != 0)
        qCWarning(logDialup).noquote() << "erreur" << LastError << ErrorText(LastError);
    if (LastError != 0 && setStatus)
        StatusStr = ErrorText(LastError);
    return LastError;
}

QByteArray TRAS::PhoneBookArgument() const {
    return PhoneBook.toUtf8();
}

const char* TRAS::PhoneBookOrNull(const QByteArray& path) const {
    return path.isEmpty() ? nullptr : path.constData();
}

bool TRAS::Assigned(const QMetaMethod& signal) const {
    return isSignalConnected(signal);
}

// ---- Entries ---------------------------------------------------------------------------

int TRAS::EnumEntries() {
    Entries.clear();
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !api.RasEnumEntriesA)
        return LastError;
    std::vector<RASENTRYNAMEA> names(Ras::EntryRecords);
    std::memset(names.data(), 0, names.size() * sizeof(RASENTRYNAMEA));
    names[0].dwSize = sizeof(RASENTRYNAMEA);
    quint32 size = quint32(names.size() * sizeof(RASENTRYNAMEA));
    quint32 count = 0;
    const QByteArray phonebook = PhoneBookArgument();
    const quint32 code =
        api.RasEnumEntriesA(nullptr, PhoneBookOrNull(phonebook), names.data(), &size, &count);
    Finish(code, true);
    if (code == 0) {
        for (quint32 i = 0; i < count && i < quint32(Ras::EntryRecords); ++i) {
            const QByteArray name = Ras::FieldText(names[i].szEntryName);
            if (!name.isEmpty())
                Entries.append(FromField(name));
        }
    }
    return LastError;
}

int TRAS::GetDialParams() {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !api.RasGetEntryDialParamsA)
        return LastError;
    std::memset(&DialParams, 0, sizeof DialParams);
    UserName.clear();
    Password.clear();
    CallbackNumber.clear();
    Domain.clear();
    DialParams.dwSize = sizeof(RASDIALPARAMSA);
    Ras::CopyField(DialParams.szEntryName, EntryName.toUtf8(), Ras::MaxEntryName);
    qint32 passwordStored = 0;
    const QByteArray phonebook = PhoneBookArgument();
    const quint32 code =
        api.RasGetEntryDialParamsA(PhoneBookOrNull(phonebook), &DialParams, &passwordStored);
    if (code == 0) {
        UserName = FromField(Ras::FieldText(DialParams.szUserName));
        if (passwordStored)
            Password = FromField(Ras::FieldText(DialParams.szPassword));
        CallbackNumber = FromField(Ras::FieldText(DialParams.szCallbackNumber));
        Domain = FromField(Ras::FieldText(DialParams.szDomain));
    }
    // The record is kept for SetDialParams and Dial, the password no longer than needed.
    std::memset(DialParams.szPassword, 0, sizeof DialParams.szPassword);
    return Finish(code);
}

int TRAS::GetEntryProperties() {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !Binding.EntryFunctionsAvailable || !api.RasGetEntryPropertiesA)
        return LastError;
    std::vector<char> buffer(Ras::EntryBufferSize, 0);
    auto* entry = reinterpret_cast<RASENTRYA*>(buffer.data());
    entry->dwSize = sizeof(RASENTRYA);
    quint32 size = Ras::EntryBufferSize;
    quint32 deviceInfoSize = 0;
    const QByteArray phonebook = PhoneBookArgument();
    const QByteArray name = EntryName.toUtf8();
    const quint32 code = api.RasGetEntryPropertiesA(PhoneBookOrNull(phonebook), name.constData(),
                                                    entry, &size, nullptr, &deviceInfoSize);
    if (code == 0) {
        const QString area = FromField(Ras::FieldText(entry->szAreaCode));
        const QString local = FromField(Ras::FieldText(entry->szLocalPhoneNumber));
        if (entry->dwfOptions & Ras::OptionUseCountryAndAreaCodes) {
            PhoneNumber = area + QLatin1Char(' ') + local;
            PhoneCanonical = QStringLiteral("+%1 ").arg(entry->dwCountryCode);
            if (!area.isEmpty() && area.at(0) >= QLatin1Char('0'))
                PhoneCanonical += QLatin1Char('(') + area + QStringLiteral(") ");
            PhoneCanonical += local;
        } else {
            PhoneNumber = local;
            PhoneCanonical = local;
        }
        // The device field may hold the port as a second string after the device name.
        QByteArray device(entry->szDeviceName, int(sizeof entry->szDeviceName));
        while (!device.isEmpty() && uchar(device.back()) <= 32)
            device.chop(1);
        DevicePort.clear();
        const int zero = device.indexOf('\0');
        if (zero > 0) {
            QByteArray port = device.mid(zero + 1);
            const int end = port.indexOf('\0');
            if (end >= 0)
                port.truncate(end);
            DevicePort = FromField(port.left(99)).trimmed();
            DeviceName = FromField(device.left(zero)).trimmed();
        } else {
            DeviceName = FromField(QByteArray(device.constData()));
        }
        DeviceType = FromField(Ras::FieldText(entry->szDeviceType));
    }
    return Finish(code);
}

void TRAS::FillDialParams() {
    std::memset(&DialParams, 0, sizeof DialParams);
    DialParams.dwSize = sizeof(RASDIALPARAMSA);
    Ras::CopyField(DialParams.szEntryName, EntryName.toUtf8(), Ras::MaxEntryName);
    Ras::CopyField(DialParams.szPhoneNumber, PhoneNumber.toUtf8(), Ras::MaxPhoneNumber);
    Ras::CopyField(DialParams.szCallbackNumber, CallbackNumber.toUtf8(), Ras::MaxCallbackNumber);
    Ras::CopyField(DialParams.szUserName, UserName.toUtf8(), Ras::MaxUserName);
    Ras::CopyField(DialParams.szPassword, Password.toUtf8(), Ras::MaxPassword);
    Ras::CopyField(DialParams.szDomain, Domain.toUtf8(), Ras::MaxDomain);
}

int TRAS::SetDialParams() {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !api.RasSetEntryDialParamsA)
        return LastError;
    FillDialParams();
    const QByteArray phonebook = PhoneBookArgument();
    const quint32 code = api.RasSetEntryDialParamsA(PhoneBookOrNull(phonebook), &DialParams, 0);
    std::memset(DialParams.szPassword, 0, sizeof DialParams.szPassword);
    return Finish(code);
}

int TRAS::EditEntry() {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !api.RasEditPhonebookEntryA)
        return LastError;
    const QByteArray name = EntryName.toUtf8();
    return Finish(api.RasEditPhonebookEntryA(parent(), nullptr, name.constData()));
}

int TRAS::CreateEntry() {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !api.RasCreatePhonebookEntryA)
        return LastError;
    return Finish(api.RasCreatePhonebookEntryA(parent(), nullptr));
}

int TRAS::DeleteEntry() {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !Binding.EntryFunctionsAvailable || !api.RasDeleteEntryA)
        return LastError;
    const QByteArray name = EntryName.toUtf8();
    const int code = Finish(api.RasDeleteEntryA(nullptr, name.constData()));
    if (code == 0)
        EntryName.clear();
    return code;
}

int TRAS::RenameEntry(const QString& newName) {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !Binding.EntryFunctionsAvailable || !api.RasRenameEntryA ||
        !api.RasValidateEntryNameA)
        return LastError;
    const QByteArray target = newName.toUtf8();
    quint32 code = api.RasValidateEntryNameA(nullptr, target.constData());
    if (code == 0) {
        const QByteArray name = EntryName.toUtf8();
        code = api.RasRenameEntryA(nullptr, name.constData(), target.constData());
        if (code == 0)
            EntryName = newName;
    }
    return Finish(code);
}

int TRAS::ValidateName(const QString& name) {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !Binding.EntryFunctionsAvailable || !api.RasValidateEntryNameA)
        return LastError;
    const QByteArray bytes = name.toUtf8();
    return Finish(api.RasValidateEntryNameA(nullptr, bytes.constData()));
}

// ---- Dialling --------------------------------------------------------------------------

int TRAS::Connect() {
    GetDialParams();
    if (LastError == 0)
        GetEntryProperties();
    if (LastError == 0)
        Dial();
    return LastError;
}

int TRAS::Dial() {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !api.RasDialA)
        return LastError;
    if (RASConn != 0)
        HangUp();
    if (!NotifierWindow)
        NotifierWindow = new TRASNotifier(this);
    RASConn = 0;
    ConnectState = 0;
    SavedState = 9999;
    ResetStats();
    FillDialParams();
    LastError = Ras::Unavailable;
    const QByteArray phonebook = PhoneBookArgument();
    HRASCONN handle = 0;
    const quint32 code = api.RasDialA(
        nullptr, PhoneBookOrNull(phonebook), &DialParams,
        DialNotifier{QPointer<QObject>(NotifierWindow.data()), DialEventMessage}, &handle);
    RASConn = handle;
    std::memset(DialParams.szPassword, 0, sizeof DialParams.szPassword);
    return Finish(code);
}

void TRAS::DialEventProc(int message, quint32 state, quint32 error) {
    if (message != DialEventMessage || RASConn == 0)
        return;
    ConnectError = quint16(error & 0xFFFF);
    if (error != 0) {
        LastError = qint32(error);
        ConnectState = quint16(error & 0xFFFF);
        StatusStr = ErrorText(LastError);
        qCWarning(logDialup).noquote() << "connexion:" << LastError << StatusStr;
        StateChangeNotification();
        return;
    }
    ConnectState = quint16(state & 0xFFFF);
    StatusStr = StateText();
    StateChangeNotification();
    FireStateEvent(ConnectState);
}

void TRAS::StateChangeNotification() {
    if (RASConn == 0 || !Assigned(QMetaMethod::fromSignal(&TRAS::OnStateChanged)))
        return;
    if (LastError != 0 || ConnectState != SavedState)
        emit OnStateChanged();
    SavedState = LastError != 0 ? 0 : ConnectState;
}

void TRAS::FireStateEvent(quint16 state) {
    if (state == Ras::Disconnected) {
        FireDisconnectEvent();
        return;
    }
    if (RASConn == 0)
        return;
    // The per-state events of the state table; states without one fire nothing.
    switch (state) {
    case 0:
        emit OnAboutToOpenPort();
        break;
    case 1:
        emit OnPortOpened();
        break;
    case 2:
        emit OnAboutToConnDev();
        break;
    case 3:
        emit OnDevConnected();
        break;
    case 4:
        emit OnAllDevsConnected();
        break;
    case 5:
        emit OnAuthenticate();
        break;
    case 6:
        emit OnAuthNotify();
        break;
    case 7:
        emit OnAuthRetry();
        break;
    case 8:
        emit OnAuthCallBack();
        break;
    case 9:
        emit OnAuthChangePassword();
        break;
    case 10:
        emit OnAuthProject();
        break;
    case 11:
        emit OnAuthLinkSpeed();
        break;
    case 12:
        emit OnAuthAck();
        break;
    case 13:
        emit OnReAuthenticate();
        break;
    case 14:
        emit OnAuthenticated();
        break;
    case 15:
        emit OnPrepareforCallback();
        break;
    case 16:
        emit OnWaitForModemReset();
        break;
    case 17:
        emit OnCallBack();
        break;
    case 0x1000:
        emit OnInteractiveStarted();
        break;
    case 0x1001:
        emit OnRetryAuth();
        break;
    case 0x1003:
        emit OnPasswordExpired();
        break;
    case Ras::Connected:
        emit OnConnect();
        break;
    default:
        break;
    }
}

void TRAS::FireDisconnectEvent() {
    if (!Assigned(QMetaMethod::fromSignal(&TRAS::OnDisconnect)))
        return;
    RASCONNSTATUSA status{};
    if (QueryConnectStatus(&status))
        emit OnDisconnect(LastError, ErrorText(LastError));
}

// ---- Status ----------------------------------------------------------------------------

bool TRAS::QueryConnectStatus(RASCONNSTATUSA* status) {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !api.RasGetConnectStatusA)
        return false;
    status->dwSize = sizeof *status;
    LastError = qint32(api.RasGetConnectStatusA(RASConn, status));
    return true;
}

int TRAS::GetConnectStatus() {
    ConnectState = 0;
    if (RASConn == 0)
        return Ras::NoConnection;
    RASCONNSTATUSA status{};
    if (!QueryConnectStatus(&status))
        return LastError;
    if (LastError == 0) {
        ConnectState = quint16(status.rasconnstate & 0xFFFF);
        ConnectError = quint16(status.dwError & 0xFFFF);
        if (ConnectError > Ras::Pending)
            LastError = ConnectError;
    }
    if (LastError != 0)
        StatusStr = ErrorText(LastError);
    return LastError;
}

int TRAS::StatusText(QString* text) {
    QString result;
    if (RASConn == 0) {
        result = QStringLiteral("Not Connected");
    } else {
        GetConnectStatus();
        if (LastError == 0)
            result = StateText();
        else if (LastError > Ras::Pending)
            result = ErrorText(LastError);
        else if (LastError == Ras::InvalidHandle)
            result = QStringLiteral("Disconnected");
        else if (LastError == Ras::NotEnoughMemory)
            result = QStringLiteral("Not enough memory");
        else if (LastError == Ras::Pending)
            result = QStringLiteral("Device Connecting/Dialling");
        else
            result = QStringLiteral("Unknown State");
    }
    StatusStr = result;
    if (text)
        *text = result;
    StateChangeNotification();
    return LastError;
}

bool TRAS::QueryConnections() {
    CurConnName.clear();
    CurRASConn = 0;
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !api.RasEnumConnectionsA)
        return false;
    std::memset(ConnectionArray, 0, sizeof ConnectionArray);
    ConnectionArray[0].dwSize = sizeof(RASCONNA);
    quint32 size = sizeof ConnectionArray;
    quint32 count = 0;
    LastError = qint32(api.RasEnumConnectionsA(ConnectionArray, &size, &count));
    NumConns = count;
    if (ConnectionsListed(LastError) && NumConns > 0) {
        CurConnName = FromField(Ras::FieldText(ConnectionArray[0].szEntryName));
        CurRASConn = ConnectionArray[0].hrasconn;
    }
    return true;
}

int TRAS::EnumConnections() {
    if (!QueryConnections())
        return Ras::Unavailable;
    Connections.ClearConnections();
    if (ConnectionsListed(LastError))
        for (quint32 i = 0; i < qMin<quint32>(NumConns, Ras::ConnectionRecords); ++i)
            Connections.AddConnection(ConnectionArray[i]);
    return LastError;
}

int TRAS::FirstConnectionName(QString* name) {
    if (name)
        name->clear();
    if (!QueryConnections())
        return Ras::Unavailable;
    if (name)
        *name = CurConnName;
    return LastError;
}

int TRAS::AttachConnection(int index) {
    if (RASConn != 0)
        return GetConnectStatus();
    if (CurRASConn == 0) {
        LastError = Ras::InvalidHandle;
        return Ras::InvalidHandle;
    }
    RASConn = index > 0 ? Connections.ConnectionHandle(index) : CurRASConn;
    return GetConnectStatus();
}

// ---- Hanging up ------------------------------------------------------------------------

void TRAS::DestroyNotifier() {
    if (NotifierWindow) {
        // It may be the caller of this very code (a handler of a progress report).
        NotifierWindow->Owner = nullptr;
        NotifierWindow->deleteLater();
        NotifierWindow = nullptr;
    }
}

bool TRAS::SendHangUp(int* result) {
    RasEntryPoints& api = RasApi();
    if (!GuardedStart() || !api.RasHangUpA)
        return false;
    *result = int(api.RasHangUpA(RASConn));
    return true;
}

void TRAS::ForgetConnection(int result) {
    RASConn = 0;
    DestroyNotifier();
    LastError = result;
}

int TRAS::HangUp() {
    ConnectState = 0;
    int result = 0;
    if (RASConn != 0 && !SendHangUp(&result))
        return 0;
    ForgetConnection(result);
    return result;
}

int TRAS::Disconnect() {
    ConnectState = 0;
    int result = 0;
    if (RASConn != 0) {
        if (!SendHangUp(&result))
            return 0;
        quint16 lastSeen = 0;
        QPointer<TRAS> alive(this);
        // A refused hang-up (a pppd another user started) leaves the line up for good:
        // waiting for it to drop would never end.
        while (result == 0 && GetConnectStatus() == 0) {
            const bool programGoesOn = WaitForEvents();
            if (!alive)
                return result;
            if (!programGoesOn)
                break; // the hang-up is sent; the line drops without the program
            if (ConnectState != lastSeen) {
                StatusStr = StateText();
                StateChangeNotification();
                lastSeen = ConnectState;
            }
        }
    }
    ForgetConnection(result);
    FireDisconnectEvent();
    return result;
}

int TRAS::ReleaseConnection() {
    RASConn = 0;
    return HangUp();
}

int TRAS::GetIPAddresses() {
    ClientIP.clear();
    ServerIP.clear();
    RasEntryPoints& api = RasApi();
    if (RASConn == 0 || !Binding.LoadRasApi() || !api.RasGetProjectionInfoA)
        return 0;
    RASPPPIPA projection{};
    projection.dwSize = sizeof projection;
    quint32 size = sizeof projection;
    LastError =
        qint32(api.RasGetProjectionInfoA(RASConn, Ras::ProjectionPppIp, &projection, &size));
    if (LastError == 0) {
        ClientIP = FromField(Ras::FieldText(projection.szIpAddress));
        ServerIP = FromField(Ras::FieldText(projection.szServerIpAddress));
    }
    return LastError;
}

// ---- Texts -----------------------------------------------------------------------------

QString TRAS::ErrorText(int code) {
    QString text;
    RasEntryPoints& api = RasApi();
    if (Binding.LoadRasApi() && api.RasGetErrorStringA) {
        char buffer[257] = {};
        api.RasGetErrorStringA(quint32(code), buffer, 256);
        text = FromField(Ras::FieldText(buffer));
    }
    if (text.isEmpty())
        text = SystemMessageText(code);
    return text;
}

QString TRAS::StateText() {
    const QString device =
        DeviceType.isEmpty() ? QString() : QStringLiteral(" (") + DeviceType.toLower() + ')';
    switch (ConnectState) {
    case 0:
        return QStringLiteral("Ouverture du port série");
    case 1:
        return QStringLiteral("Port série ouvert");
    case 2:
        return QStringLiteral("Numérotation en cours") + device;
    case 3:
        return QStringLiteral("Connecté") + device;
    case 4:
        return QStringLiteral("Connecté");
    case 5:
        return QStringLiteral("Vérification du nom et du mot de passe de l'utilisateur");
    case 6:
        return QStringLiteral("Demande d'authentification");
    case 8:
        return QStringLiteral("Réponse à la demande d'authentification");
    case 10:
        return QStringLiteral("Projection Started");
    case 11:
        return QStringLiteral("Calculating Link speed");
    case 12:
        return QStringLiteral("Authentification réussie");
    case 13:
        return QStringLiteral("Nouvelle demande d'authentification");
    case 14:
        return QStringLiteral("Nom d'utilisateur authentifié");
    case 15:
        return QStringLiteral("Preparing for Callback");
    case 16:
        return QStringLiteral("Attente d'initialisation du modem");
    case 17:
        return QStringLiteral("Attente de réponse");
    case 18:
        return QStringLiteral("Projection Completion");
    case 19:
        return QStringLiteral("Début d'authentification");
    case 20:
        return QStringLiteral("Réponse reçue");
    case 21:
        return QStringLiteral("Connexion au réseau");
    case Ras::Connected:
        return QStringLiteral("Connecté");
    case Ras::Disconnected:
        return QStringLiteral("Déconnecté");
    default:
        break;
    }
    if (ConnectState > Ras::Pending)
        return ErrorText(ConnectState);
    return QStringLiteral("Etat inconnu - ") + QString::number(ConnectState);
}

bool TRAS::LinkUp(const QString& entryName) {
    RasProvider* provider = Binding.LoadRasApi() ? Binding.Provider() : nullptr;
    return provider && provider->LinkUp(entryName);
}
