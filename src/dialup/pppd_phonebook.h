#pragma once

// The entries of the Linux dial-up stack as Debian keeps them: one pppd options file per
// entry in FOLDER/peers, its chat script in FOLDER/../chatscripts, the passwords in
// FOLDER/pap-secrets and FOLDER/chap-secrets (FOLDER = /etc/ppp on a real system). Reads the
// files pppconfig writes and Debian's own template; writes pppconfig's format.

#include "base/result.h"
#include <QString>
#include <QStringList>
#include <functional>

struct PppdEntry {
    QString Name;
    QString PhoneNumber;
    QString DialCommand = QStringLiteral("ATDT"); // ATDT tone, ATDP pulse
    QString Device = QStringLiteral("/dev/ttyS0");
    QString Speed = QStringLiteral("115200");
    QString UserName;
    QString RemoteName;
    QString ChatScript;               // file of the chat script, under this phonebook
    bool ChatReportsLines = false;    // chat runs with -s: its lines reach pppd's output
    bool NumberInConnectLine = false; // the number is chat's -T argument (Debian's template)
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
    // Whether a new entry may not take this name: an entry has it, or a chat script of that
    // name exists (it may be another entry's, and the new entry's would be written over it).
    bool NameTaken(const QString& name) const;
    bool Read(const QString& name, PppdEntry* entry) const;
    // The password stored for this user and server; the best match wins (exact server
    // before "*"), PAP before CHAP.
    bool Password(const QString& user, const QString& server, QString* password) const;

    // Writes the options file and the chat script of a new entry in pppconfig's format.
    Result Write(const PppdEntry& entry);
    // Changes an existing entry's number, port, speed and user name (`before` as Read gave
    // it) where its files keep them, and nothing else: its other options, comments and
    // chat lines stay as written, and nothing is written when nothing changed. A script that
    // other entries share, or a value kept in a form it cannot safely edit, is refused.
    Result Update(const PppdEntry& before, const PppdEntry& after);
    // Changes only the user name on the "user" lines of an existing options file; the other
    // words of those lines are kept.
    Result SetUserName(const QString& name, const QString& user);
    // Stores the password in the lines of the secrets files for exactly this user and server,
    // or in a new line of pap-secrets. An empty user name is refused: it would name no line.
    Result StorePassword(const QString& user, const QString& server, const QString& password);
    // The entry's own secrets lines for its user and server (lines no other entry shares)
    // pass to the new user name, with the new password when it is not empty. `moved` says
    // whether the entry had such a line; having none is no failure.
    Result MoveSecrets(const PppdEntry& entry, const QString& user, const QString& password,
                       bool* moved);
    // Moves the entry's own secrets lines to `user` as MoveSecrets does, then runs `change`
    // (the options file's new user); when that fails the lines go back.
    Result ChangeUserWithSecrets(const PppdEntry& entry, const QString& user,
                                 const QString& password, const std::function<Result()>& change,
                                 bool* moved);
    // pppconfig's removal: the files become NAME.bak, the entry's own secrets lines go.
    Result Delete(const QString& name);
    // Moves the options file, its chat script and the secrets lines of the entry's server
    // name together; a step that fails undoes the ones before it.
    Result Rename(const QString& oldName, const QString& newName);
    // The server field of the entry's secrets lines: its remote name, or "*".
    static QString ServerOf(const PppdEntry& entry);

    // The texts pppconfig would write.
    static QByteArray PeersText(const PppdEntry& entry, const QString& chatFile);
    static QByteArray ChatText(const PppdEntry& entry);

  private:
    static Result CheckValues(const PppdEntry& entry, const PppdEntry* before = nullptr);
    QString MapChatPath(const QString& path) const;
    QList<PppdEntry> OtherEntries(const QString& name) const;
    // Whether another entry dials with the entry's chat script (the same file, by any path).
    static bool SharesScript(const PppdEntry& entry, const QList<PppdEntry>& others);
    // Whether the entry's chat script is its own: named after it and used by no other entry.
    bool OwnsScript(const PppdEntry& entry, const QList<PppdEntry>& others) const;
    // Whether a secrets line belongs to this entry alone: its server name is the entry's own
    // remote name, or it is the entry's user and server and no other entry has both.
    static bool OwnsSecret(const PppdEntry& entry, const QList<PppdEntry>& others,
                           const QStringList& words);
    // Passes every line of both secrets files to `edit`, which returns true when it changed
    // the words (an empty list removes the line). Only changed files are written; the other
    // lines are kept byte for byte.
    using SecretEdit = std::function<bool(QStringList* words)>;
    Result EditSecrets(const SecretEdit& edit, bool* found);

    QString folder;
};

// A word for an options file or a secrets file, quoted when needed.
QString QuotedWord(const QString& word);
