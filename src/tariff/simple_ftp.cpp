#include "tariff/simple_ftp.h"

#include "tariff/curl_library.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {
// 100-nanosecond ticks between 1 January 1601 and 1 January 1970.
constexpr quint64 unixEpochTicks = 116444736000000000ULL;
constexpr quint64 ticksPerSecond = 10000000ULL;
// A listing longer than this is not a folder of tariff files: the listing is given up.
constexpr qsizetype maxListingBytes = 16 * 1024 * 1024;

CURL* Handle(void* session) {
    return static_cast<CURL*>(session);
}

int Perform(CURL* handle) {
    return static_cast<int>(Curl().easy_perform(handle));
}

QString Join(const QString& folder, const QString& name) {
    if (name.startsWith(QLatin1Char('/')) || folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

size_t AppendToBuffer(char* data, size_t size, size_t count, void* target) {
    auto* buffer = static_cast<QByteArray*>(target);
    const size_t length = size * count;
    if (buffer->size() + static_cast<qsizetype>(length) > maxListingBytes)
        return 0; // ends the transfer with a write error
    buffer->append(data, static_cast<qsizetype>(length));
    return length;
}

struct FileSink {
    QFile* file = nullptr;
    qint64 limit = 0;
    qint64 written = 0;
    bool tooLarge = false;
    bool failed = false;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* target) {
    auto* sink = static_cast<FileSink*>(target);
    const qint64 length = static_cast<qint64>(size * count);
    if (sink->limit > 0 && sink->written + length > sink->limit) {
        sink->tooLarge = true;
        return 0;
    }
    if (sink->file->write(data, length) != length) {
        sink->failed = true;
        return 0;
    }
    sink->written += length;
    return static_cast<size_t>(length);
}

quint64 UnixSecondsToTicks(qint64 seconds) {
    return unixEpochTicks + static_cast<quint64>(seconds) * ticksPerSecond;
}

// One line of an MLSD listing: "type=file;size=120;modify=20261207103000; tallivo.csv".
std::optional<FtpDirectoryRecord> ParseMachineLine(const QString& line) {
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    if (space < 0)
        return std::nullopt;
    FtpDirectoryRecord record;
    record.Name = line.mid(space + 1);
    for (const QString& fact : line.left(space).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = fact.section(QLatin1Char('='), 0, 0).toLower();
        const QString value = fact.section(QLatin1Char('='), 1);
        if (key == QLatin1String("type")) {
            const QString type = value.toLower();
            if (type == QLatin1String("cdir") || type == QLatin1String("pdir"))
                return std::nullopt;
            record.directory = type == QLatin1String("dir");
        } else if (key == QLatin1String("size")) {
            record.Size = value.toLongLong();
        } else if (key == QLatin1String("modify")) {
            QDateTime moment =
                QDateTime::fromString(value.left(14), QStringLiteral("yyyyMMddHHmmss"));
            moment.setTimeSpec(Qt::UTC);
            // A date before 1970 is no file's: the record is left without one.
            if (moment.isValid() && moment.toSecsSinceEpoch() >= 0)
                record.LastWriteTime = UnixSecondsToTicks(moment.toSecsSinceEpoch());
        }
    }
    if (record.Name.isEmpty())
        return std::nullopt;
    return record;
}
} // namespace

double FileTimeToDays(quint64 ticks) {
    return static_cast<double>(ticks) / 8.64e11 - 109205;
}

TSimpleFTP::TSimpleFTP(QObject* parent) : TWinInetControl(parent) {
    Port = 21;
}

TSimpleFTP::~TSimpleFTP() = default;

QByteArray TSimpleFTP::Url(const QString& path, bool folder) const {
    QByteArray host = HostName.contains(QLatin1Char(':'))
                          ? '[' + HostName.toLatin1() + ']' // an IPv6 address
                          : QUrl::toAce(HostName);
    if (host.isEmpty())
        host = HostName.toUtf8();
    QByteArray url = "ftp://" + host + ':' + QByteArray::number(Port) + '/';
    QString relative = path;
    if (relative.startsWith(QLatin1Char('/'))) {
        url += "%2F"; // a path from the server's root, not from the login folder
        relative = relative.mid(1);
    }
    QByteArrayList segments;
    for (const QString& segment : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        segments.append(QUrl::toPercentEncoding(segment));
    url += segments.join('/');
    if (folder && !segments.isEmpty())
        url += '/';
    return url;
}

QString TSimpleFTP::RemotePath(const QString& name) const {
    return Join(currentDir, name);
}

void TSimpleFTP::Prepare(const QByteArray& url) {
    PrepareTransfer(url);
    CURL* handle = Handle(Session());
    if (!Passive)
        Curl().easy_setopt(handle, CURLOPT_FTPPORT, "-");
    Curl().easy_setopt(handle, CURLOPT_TRANSFERTEXT, TransferType == ttAscii ? 1L : 0L);
}

bool TSimpleFTP::Connect() {
    if (State() == Connected)
        return true;
    SetState(Connecting);
    int result = CURLE_COULDNT_CONNECT;
    for (int attempt = 0; attempt < std::max(1, ConnectRetries); ++attempt) {
        Prepare(Url(QString(), true));
        CURL* handle = Handle(Session());
        Curl().easy_setopt(handle, CURLOPT_NOBODY, 1L);
        result = RunOffThread([handle] { return Perform(handle); });
        if (result != CURLE_COULDNT_CONNECT) // a refused connection is worth another try
            break;
    }
    if (result != CURLE_OK) {
        CloseSession();
        SetState(NotConnected);
        if (SilentExceptions)
            return false;
        switch (result) {
        case CURLE_OPERATION_TIMEDOUT:
            throw EWinInetError(QStringLiteral("Connection to %1 timed out").arg(HostName));
        case CURLE_COULDNT_RESOLVE_HOST:
            throw EWinInetError(QStringLiteral("Unable to resolve host name '%1'").arg(HostName));
        case CURLE_LOGIN_DENIED:
            throw EWinInetError(
                QStringLiteral("Bad user name: '%1' connecting to %2").arg(UserName, HostName));
        case CURLE_COULDNT_CONNECT:
            throw EWinInetError(QStringLiteral("Unable to connect to %1").arg(HostName));
        default:
            throw EWinInetError(QStringLiteral("General Connection Error to %1").arg(HostName));
        }
    }
    welcome = lastReply;
    currentDir.clear();
    SetState(Connected);
    if (!RemoteDir.isEmpty())
        ChangeDir(RemoteDir);
    return true;
}

bool TSimpleFTP::ChangeDir(const QString& folder) {
    if (State() != Connected) {
        RemoteDir = folder;
        return true;
    }
    QString name = folder;
    if (name.size() > 1 && (name.endsWith(QLatin1Char('/')) || name.endsWith(QLatin1Char('\\'))))
        name.chop(1);
    const QString target = RemotePath(name);
    // Asking for nothing in the folder makes libcurl enter it, which fails when it is missing.
    Prepare(Url(target, true));
    CURL* handle = Handle(Session());
    Curl().easy_setopt(handle, CURLOPT_NOBODY, 1L);
    if (RunOffThread([handle] { return Perform(handle); }) == CURLE_OK) {
        currentDir = target;
        RemoteDir = folder;
        return true;
    }
    if (!SilentExceptions)
        throw ESimpleFTPError(QStringLiteral("Couldn't change to directory %1").arg(folder));
    return false;
}

int TSimpleFTP::ListMachineReadable(const QString& folder, QList<FtpDirectoryRecord>& entries) {
    QByteArray listing;
    Prepare(Url(folder, true));
    CURL* handle = Handle(Session());
    Curl().easy_setopt(handle, CURLOPT_CUSTOMREQUEST, "MLSD");
    Curl().easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendToBuffer);
    Curl().easy_setopt(handle, CURLOPT_WRITEDATA, &listing);
    const int result = RunOffThread([handle] { return Perform(handle); });
    if (result != CURLE_OK)
        return result;
    for (QString line : QString::fromUtf8(listing).split(QLatin1Char('\n'))) {
        line.remove(QLatin1Char('\r'));
        if (const auto record = ParseMachineLine(line))
            entries.append(*record);
    }
    return result;
}

int TSimpleFTP::ListNames(const QString& folder, QList<FtpDirectoryRecord>& entries) {
    QByteArray listing;
    Prepare(Url(folder, true));
    CURL* handle = Handle(Session());
    Curl().easy_setopt(handle, CURLOPT_DIRLISTONLY, 1L);
    Curl().easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendToBuffer);
    Curl().easy_setopt(handle, CURLOPT_WRITEDATA, &listing);
    const int result = RunOffThread([handle] { return Perform(handle); });
    for (QString line : QString::fromUtf8(listing).split(QLatin1Char('\n'))) {
        line.remove(QLatin1Char('\r'));
        FtpDirectoryRecord entry;
        entry.Name = line.section(QLatin1Char('/'), -1);
        if (!entry.Name.isEmpty())
            entries.append(entry);
    }
    return result;
}

std::optional<FtpDirectoryRecord> TSimpleFTP::FileDetails(const QString& path,
                                                          const QString& name) {
    Prepare(Url(path, false));
    CURL* handle = Handle(Session());
    Curl().easy_setopt(handle, CURLOPT_NOBODY, 1L);
    Curl().easy_setopt(handle, CURLOPT_FILETIME, 1L);
    QByteArray ignored; // libcurl would print the file's details to stdout otherwise
    Curl().easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendToBuffer);
    Curl().easy_setopt(handle, CURLOPT_WRITEDATA, &ignored);
    if (RunOffThread([handle] { return Perform(handle); }) != CURLE_OK)
        return std::nullopt;
    curl_off_t seconds = -1;
    curl_off_t size = -1;
    Curl().easy_getinfo(handle, CURLINFO_FILETIME_T, &seconds);
    Curl().easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
    if (seconds < 0)
        return std::nullopt;
    FtpDirectoryRecord record;
    record.Name = name;
    record.Size = size;
    record.LastWriteTime = UnixSecondsToTicks(seconds);
    return record;
}

int TSimpleFTP::FindFiles(const QString& mask, bool folderNames) {
    names.clear();
    records.clear();
    QString folder = currentDir;
    QString pattern = mask;
    QString prefix;
    const qsizetype slash = mask.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        prefix = mask.left(slash + 1);
        folder = RemotePath(slash == 0 ? QStringLiteral("/") : mask.left(slash));
        pattern = mask.mid(slash + 1);
    }
    if (State() != Connected)
        return 0;
    const QRegularExpression matcher(QRegularExpression::wildcardToRegularExpression(pattern));
    QList<FtpDirectoryRecord> entries;
    // Servers without MLSD give names only. Their date and size are asked when a record is
    // read: asking for each listed name in turn would let a long listing hold the update.
    const bool detailed = ListMachineReadable(folder, entries) == CURLE_OK;
    if (!detailed)
        ListNames(folder, entries);
    for (const FtpDirectoryRecord& entry : entries) {
        if (!matcher.match(entry.Name).hasMatch())
            continue;
        names.append(folderNames ? prefix + entry.Name : entry.Name);
        records.append(detailed ? ListedRecord{entry, QString()}
                                : ListedRecord{std::nullopt, Join(folder, entry.Name)});
    }
    return static_cast<int>(names.size());
}

FtpDirectoryRecord TSimpleFTP::GetFileInfo(int index) {
    if (index < 0 || index >= records.size())
        throw EFileListError(QStringLiteral("File index is out of bounds."));
    ListedRecord& listed = records[index];
    if (!listed.DetailsPath.isEmpty() && State() == Connected) {
        listed.Record =
            FileDetails(listed.DetailsPath, listed.DetailsPath.section(QLatin1Char('/'), -1));
        listed.DetailsPath.clear();
    }
    if (!listed.Record)
        throw EFileListError(QStringLiteral("No file information at this index."));
    return *listed.Record;
}

bool TSimpleFTP::GetFile(const QString& name, const QString& localName) {
    tooLarge = localWriteFailed = false;
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const QString remote = slash >= 0 ? name : RemotePath(name);
    const QString local =
        QDir(LocalDir).filePath(localName.isEmpty() ? name.mid(slash + 1) : localName);
    if (State() != Connected) {
        if (!SilentExceptions)
            throw ESimpleFTPError(QStringLiteral("Not connected!"));
        return false;
    }
    if (FailIfExistsOnGet && QFileInfo::exists(local))
        return false;
    QFile file(local);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    FileSink sink{&file, MaxFileSize};
    Prepare(Url(remote, false));
    CURL* handle = Handle(Session());
    Curl().easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteToFile);
    Curl().easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    const int result = RunOffThread([handle] { return Perform(handle); });
    const bool flushed = file.flush();
    file.close();
    if (result == CURLE_OK && !sink.failed && flushed)
        return true;
    file.remove();
    tooLarge = sink.tooLarge;
    localWriteFailed = sink.failed || !flushed;
    if (SilentExceptions)
        return false;
    if (result == CURLE_REMOTE_FILE_NOT_FOUND)
        throw ESimpleFTPError(
            QStringLiteral("Error getting %1 to %2: remote file not found").arg(remote, local));
    throw ESimpleFTPError(QStringLiteral("Error getting %1 from %2").arg(remote, HostName));
}

bool TSimpleFTP::RemoteFileNotFound() const {
    return LastError() == CURLE_REMOTE_FILE_NOT_FOUND;
}

bool TSimpleFTP::Disconnect() {
    if (State() != NotConnected)
        SetState(Disconnecting);
    CloseSession();
    currentDir.clear();
    SetState(NotConnected);
    return true;
}
