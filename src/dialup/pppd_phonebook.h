#pragma once

// The entries of the Linux dial-up stack as Debian keeps them: one pppd options file per
// entry in FOLDER/peers, its chat script in FOLDER/../chatscripts, the passwords in
// FOLDER/pap-secrets and FOLDER/chap-secrets (FOLDER = /etc/ppp on a real system). Reads the
// files pppconfig writes and Debian's own template; writes pppconfig's format.

#include <QString>
#include <QStringList>

struct PppdEntry {
    QString Name;
    QString PhoneNumber;
    QString DialCommand = QStringLiteral("ATDT"); // ATDT tone, ATDP pulse
    QString Device = QStringLiteral("/dev/ttyS0");
    QString Speed = QStringLiteral("115200");
    QString UserName;
    QString RemoteName;
    QString ChatScript;            // file of the chat script, under this phonebook
    bool ChatReportsLines = false; // chat runs with -s: its lines reach pppd's output
    QStringList AbortStrings;
};

class PppdPhonebook {
  public:
    static inline const QString DefaultFolder = QStringLiteral("/etc/ppp");
    explicit PppdPhonebook(QString folder = DefaultFolder);

    const QString& Folder() const { return folder; }
    QString PeersFolder() const;
    QString ChatFolder() const;
    QString PapSecrets() const;
    QString ChapSecrets() const;
    QString PeerFile(const QString& name) const;
    QString ChatFile(const QString& name) const;

    // Entry names in name order; backups and names that are not valid entry names are left
    // out.
    QStringList EntryNames() const;
    bool Exists(const QString& name) const;
    bool Read(const QString& name, PppdEntry* entry) const;
    // The password stored for this user and server; the best match wins (exact server
    // before "*"), PAP before CHAP.
    bool Password(const QString& user, const QString& server, QString* password) const;

    // Writes the options file and the chat script of the entry in pppconfig's format.
    bool Write(const PppdEntry& entry, QString* error);
    // Changes only the "user" line of an existing options file.
    bool SetUserName(const QString& name, const QString& user, QString* error);
    // Stores the password in the lines of the secrets files for this user and server, or in
    // a new line of pap-secrets. The files stay readable by their owner only.
    bool StorePassword(const QString& user, const QString& server, const QString& password,
                       QString* error);
    // pppconfig's removal: the files become NAME.bak, the entry's secrets line goes.
    bool Delete(const QString& name, QString* error);
    bool Rename(const QString& oldName, const QString& newName, QString* error);

    // The texts pppconfig would write.
    static QByteArray PeersText(const PppdEntry& entry, const QString& chatFile);
    static QByteArray ChatText(const PppdEntry& entry);

  private:
    QString MapChatPath(const QString& path) const;
    bool RewriteSecrets(const QString& file, const QString& user, const QString& server,
                        const QString* password, const QString& newServer, bool remove, bool* found,
                        QString* error);

    QString folder;
};

// A word for an options file or a secrets file, quoted when needed.
QString QuotedWord(const QString& word);
