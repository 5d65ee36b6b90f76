#pragma once

#include "tariff/wininet_control.h"

#include <QList>
#include <QString>
#include <optional>

// Misuse of the client (not connected, a folder that cannot be entered, a failed fetch),
// raised only when SilentExceptions is false.
class ESimpleFTPError : public AppError {
  public:
    using AppError::AppError;
};
// A listing index outside the listing, or an entry the server gave no details for.
class EFileListError : public AppError {
  public:
    using AppError::AppError;
};

// What the server told of one directory entry.
struct FtpDirectoryRecord {
    bool directory = false;
    // Last write time in 100-nanosecond ticks since 1 January 1601, as the server states it
    // (no time-zone conversion); 0 when the server gave none.
    quint64 LastWriteTime = 0; // 0 when the server gave no date
    qint64 Size = -1;          // -1 when unknown
    QString Name;
};

// Days since 30 December 1899 (the program's date-time value) of a last write time.
double FileTimeToDays(quint64 ticks);

// A small FTP client: log in, change folder, list files with their size and date, fetch one.
class TSimpleFTP : public TWinInetControl {
    Q_OBJECT
  public:
    enum TransferTypes { ttBinary, ttAscii };

    explicit TSimpleFTP(QObject* parent = nullptr);
    ~TSimpleFTP() override;

    TransferTypes TransferType = ttBinary;
    bool Passive = false;
    QString LocalDir;  // where GetFile puts fetched files
    QString RemoteDir; // remembered before the connection, entered by Connect
    bool FailIfExistsOnGet = false;
    // GetFile gives up a file longer than this many bytes (0: no limit).
    qint64 MaxFileSize = 0;

    // Connects and logs in; true when the connection is up.
    bool Connect();
    bool ChangeDir(const QString& folder);
    // The current remote folder, relative to the login folder unless it starts with "/".
    QString CurrentDir() const { return currentDir; }
    // Lists the entries matching mask (wildcards "*" and "?", letter case counts) in the
    // current folder, or in the folder the mask names before its last "/". With folderNames
    // the listed names keep that folder. Returns the number of entries.
    int FindFiles(const QString& mask, bool folderNames);
    const QStringList& Files() const { return names; }
    // The record of a listed entry; throws EFileListError for a bad index or a missing record.
    // From a server that lists names only, the entry's date and size are asked for here.
    FtpDirectoryRecord GetFileInfo(int index);
    // Fetches a remote file into LocalDir (under localName when given, else under the remote
    // file's name), overwriting it. On failure no partial file is left.
    bool GetFile(const QString& name, const QString& localName = QString());
    // True after a GetFile stopped by MaxFileSize.
    bool FileTooLarge() const { return tooLarge; }
    // True after a GetFile whose received bytes could not be written here (a full disk).
    bool LocalWriteFailed() const { return localWriteFailed; }
    // True after a GetFile that found no such file on the server.
    bool RemoteFileNotFound() const;
    bool Disconnect();

  private:
    // The session's options for one operation on that URL, with this client's own.
    void Prepare(const QByteArray& url);
    QByteArray Url(const QString& path, bool folder) const;
    QString RemotePath(const QString& name) const;
    int ListMachineReadable(const QString& folder, QList<FtpDirectoryRecord>& entries);
    int ListNames(const QString& folder, QList<FtpDirectoryRecord>& entries);
    std::optional<FtpDirectoryRecord> FileDetails(const QString& path, const QString& name);

    QString currentDir;
    QStringList names;
    struct ListedRecord {
        std::optional<FtpDirectoryRecord> Record;
        QString DetailsPath; // where the server is still to be asked for them; empty once asked
    };
    QList<ListedRecord> records;
    bool tooLarge = false;
    bool localWriteFailed = false;
};
