#include "dialup/pppd_phonebook.h"

#include "base/log.h"
#include "base/safe_write.h"
#include "dialup/entry_names.h"
#include "dialup/pppd_dial_tracker.h"
#include "dialup/pppd_entry_edit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString SystemChatFolder = QStringLiteral("/etc/chatscripts");

// Phonebook files are small text files. Anything else a peers file may name (a device, a
// pipe, a huge file) would block or exhaust memory: it is not read, and not rewritten.
constexpr qint64 MaxPhonebookFileSize = 256 * 1024;

// True with the contents, or with nothing when the file does not exist.
bool ReadFileChecked(const QString& fileName, QByteArray* contents) {
    contents->clear();
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    bool read = false;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaxPhonebookFileSize) {
        QFile file;
        if (file.open(fd, QIODevice::ReadOnly)) {
            *contents = file.read(MaxPhonebookFileSize + 1);
            read = contents->size() <= MaxPhonebookFileSize;
        }
    }
    ::close(fd);
    if (!read)
        contents->clear();
    return read;
}

QByteArray ReadFile(const QString& fileName) {
    QByteArray contents;
    ReadFileChecked(fileName, &contents);
    return contents;
}

// A phonebook file rewritten, or written under a new name, keeps the owner, the group and the
// mode of the file it replaces (`like`): a peers file of root:dip, mode 0640, read by the
// dialing users and by them alone, stays so when root edits or renames it. A secrets file is
// private (mode 0600) from its first byte whatever it replaces.
Result WriteKeepingOwner(const QString& fileName, const QByteArray& text, const QString& like,
                         bool privateFile = false) {
    struct stat before {};
    const bool existed = ::stat(QFile::encodeName(like).constData(), &before) == 0;
    Result written =
        privateFile ? WritePrivateFileSafely(fileName, text) : WriteFileSafely(fileName, text);
    if (!written || !existed)
        return written;
    const QByteArray path = QFile::encodeName(fileName);
    struct stat after {};
    if (::stat(path.constData(), &after) != 0)
        return written;
    if (after.st_uid != before.st_uid || after.st_gid != before.st_gid)
        (void)::chown(path.constData(), before.st_uid, before.st_gid);
    if (!privateFile && (after.st_mode & 07777) != (before.st_mode & 07777))
        (void)::chmod(path.constData(), before.st_mode & 07777);
    return written;
}

Result WriteKeepingOwner(const QString& fileName, const QByteArray& text) {
    return WriteKeepingOwner(fileName, text, fileName);
}

Result WriteSecretsFile(const QString& fileName, const QByteArray& text) {
    return WriteKeepingOwner(fileName, text, fileName, true);
}

QString Escaped(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return escaped;
}

// The word of a "user" line: always quoted, as pppconfig writes it.
QByteArray UserWord(const QString& user) {
    return '"' + Escaped(user).toUtf8() + '"';
}

const QString ControlCharacterRefused =
    QStringLiteral("Le nom d'utilisateur et le mot de passe ne peuvent pas contenir de "
                   "caractère de contrôle (retour à la ligne, tabulation...).");
} // namespace

QString QuotedWord(const QString& word) {
    static const QRegularExpression plain(QStringLiteral("^[^\\s\"'#\\\\]+\\z"));
    return plain.match(word).hasMatch() ? word : QLatin1Char('"') + Escaped(word) + '"';
}

PppdPhonebook::PppdPhonebook(QString folder) : folder(QDir::cleanPath(folder)) {}

QString PppdPhonebook::PeersFolder() const {
    return folder + QStringLiteral("/peers");
}
QString PppdPhonebook::ChatFolder() const {
    return QDir::cleanPath(folder + QStringLiteral("/../chatscripts"));
}
QString PppdPhonebook::PapSecrets() const {
    return folder + QStringLiteral("/pap-secrets");
}
QString PppdPhonebook::ChapSecrets() const {
    return folder + QStringLiteral("/chap-secrets");
}
QString PppdPhonebook::PeerFile(const QString& name) const {
    return PeersFolder() + QLatin1Char('/') + name;
}
QString PppdPhonebook::ChatFile(const QString& name) const {
    return ChatFolder() + QLatin1Char('/') + name;
}

QStringList PppdPhonebook::EntryNames() const {
    QStringList names;
    const QStringList files =
        QDir(PeersFolder()).entryList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& file : files) {
        if (IsBackupFileName(file.toUtf8()) || !IsValidEntryName(file.toUtf8()))
            continue;
        names.append(file);
    }
    return names;
}

bool PppdPhonebook::Exists(const QString& name) const {
    return IsValidEntryName(name.toUtf8()) && QFileInfo(PeerFile(name)).isFile();
}

QString PppdPhonebook::MapChatPath(const QString& path) const {
    // A phonebook kept elsewhere still names its scripts with their system path.
    if (path.startsWith(SystemChatFolder + QLatin1Char('/')) && ChatFolder() != SystemChatFolder)
        return ChatFolder() + path.mid(SystemChatFolder.size());
    return path;
}

bool PppdPhonebook::Read(const QString& name, PppdEntry* entry) const {
    if (!Exists(name) || !QFileInfo(PeerFile(name)).isReadable())
        return false;
    const QByteArray options = ReadFile(PeerFile(name));
    *entry = PppdEntry();
    entry->Name = name;
    entry->Device.clear();
    entry->Speed.clear();
    const QStringList words = SplitWords(options, false);
    static const QRegularExpression speed(QStringLiteral("^[0-9]{3,7}\\z"));
    QString numberFromT;
    for (int i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        const QString next = i + 1 < words.size() ? words[i + 1] : QString();
        if (word == QLatin1String("connect") && i + 1 < words.size()) {
            const QStringList command = SplitWords(next.toUtf8(), false);
            for (int j = 0; j < command.size(); ++j) {
                if (command[j] == QLatin1String("-f") && j + 1 < command.size())
                    entry->ChatScript = MapChatPath(command[++j]);
                else if (command[j] == QLatin1String("-T") && j + 1 < command.size())
                    numberFromT = command[++j];
                else if (command[j].startsWith(QLatin1Char('-')) &&
                         command[j].contains(QLatin1Char('s')) && command[j] != QLatin1String("-f"))
                    entry->ChatReportsLines = true;
            }
            ++i;
        } else if (word == QLatin1String("user") && i + 1 < words.size()) {
            entry->UserName = next;
            ++i;
        } else if (word == QLatin1String("remotename") && i + 1 < words.size()) {
            entry->RemoteName = next;
            ++i;
        } else if (word.startsWith(QLatin1String("/dev/")) ||
                   QRegularExpression(QStringLiteral("^tty\\S+\\z")).match(word).hasMatch()) {
            entry->Device = word.startsWith(QLatin1Char('/')) ? word : "/dev/" + word;
        } else if (speed.match(word).hasMatch()) {
            entry->Speed = word;
        } else if (word == QLatin1String("ipparam") || word == QLatin1String("linkname") ||
                   word == QLatin1String("file") || word == QLatin1String("call") ||
                   word == QLatin1String("init") || word == QLatin1String("disconnect") ||
                   word == QLatin1String("idle") || word == QLatin1String("maxconnect") ||
                   word == QLatin1String("mtu") || word == QLatin1String("mru") ||
                   word == QLatin1String("holdoff") || word == QLatin1String("maxfail") ||
                   word == QLatin1String("lcp-echo-interval") ||
                   word == QLatin1String("lcp-echo-failure") || word == QLatin1String("unit") ||
                   word == QLatin1String("logfile") || word == QLatin1String("password")) {
            ++i; // options that take a value: the value is no device nor speed
        }
    }
    if (!entry->ChatScript.isEmpty()) {
        const QByteArray script = ReadFile(entry->ChatScript);
        entry->AbortStrings = ChatAbortStrings(script);
        const QStringList chatWords = SplitWords(script, true);
        for (const QString& word : chatWords) {
            if (word.startsWith(QLatin1String("ATD"), Qt::CaseInsensitive)) {
                const bool toneOrPulse =
                    word.size() > 3 && (word[3].toUpper() == QLatin1Char('T') ||
                                        word[3].toUpper() == QLatin1Char('P'));
                entry->DialCommand = word.left(toneOrPulse ? 4 : 3).toUpper();
                entry->PhoneNumber = word.mid(toneOrPulse ? 4 : 3);
                break;
            }
        }
    }
    if (entry->PhoneNumber.contains(QLatin1String("\\T")) || entry->PhoneNumber.isEmpty()) {
        entry->PhoneNumber = numberFromT;
        entry->NumberInConnectLine = !numberFromT.isEmpty();
    }
    return true;
}

bool PppdPhonebook::Password(const QString& user, const QString& server, QString* password) const {
    for (const QString& fileName : {PapSecrets(), ChapSecrets()}) {
        int best = 0;
        QString found;
        const QList<QByteArray> lines = ReadFile(fileName).split('\n');
        for (const QByteArray& line : lines) {
            const QStringList words = SplitWords(line, false);
            if (words.size() < 3 || words[0] != user)
                continue;
            const int score = words[1] == server ? 2 : words[1] == QLatin1String("*") ? 1 : 0;
            if (score > best) {
                best = score;
                found = words[2];
            }
        }
        if (best > 0) {
            *password = found;
            return true;
        }
    }
    password->clear();
    return false;
}

QByteArray PppdPhonebook::PeersText(const PppdEntry& entry, const QString& chatFile) {
    QString text;
    text += QStringLiteral("# This optionfile was generated by Tallivo in pppconfig's format.\n");
    text += QStringLiteral("#\n");
    text += QStringLiteral("hide-password\n");
    text += QStringLiteral("noauth\n");
    // -s: chat's own lines (BUSY, NO CARRIER...) reach pppd's output.
    text += QStringLiteral("connect \"/usr/sbin/chat -v -s -f %1\"\n").arg(Escaped(chatFile));
    text += QStringLiteral("debug\n");
    text += entry.Device + '\n';
    text += entry.Speed + '\n';
    text += QStringLiteral("defaultroute\n");
    text += QStringLiteral("noipdefault\n");
    text += QStringLiteral("user \"%1\"\n").arg(Escaped(entry.UserName));
    text += QStringLiteral("remotename %1\n").arg(QuotedWord(entry.Name));
    text += QStringLiteral("ipparam %1\n").arg(QuotedWord(entry.Name));
    text += QStringLiteral("\nusepeerdns\n");
    return text.toUtf8();
}

QByteArray PppdPhonebook::ChatText(const PppdEntry& entry) {
    QString text;
    text += QStringLiteral("# This chatfile was generated by Tallivo in pppconfig's format.\n");
    text += QStringLiteral("# Please do not delete any of the comments.  Pppconfig needs them.\n");
    text += QStringLiteral("#\n# ispauth PAP\n# abortstring\n");
    text += QStringLiteral("ABORT BUSY ABORT 'NO CARRIER' ABORT VOICE ABORT 'NO DIALTONE' "
                           "ABORT 'NO DIAL TONE' ABORT 'NO ANSWER' ABORT DELAYED\n");
    text += QStringLiteral("# modeminit\n'' ATZ\n");
    text += QStringLiteral("# ispnumber\nOK-AT-OK \"%1%2\"\n")
                .arg(entry.DialCommand, entry.PhoneNumber);
    text += QStringLiteral("# ispconnect\nCONNECT \\d\\c\n");
    text += QStringLiteral("# prelogin\n\n# ispname\n# isppassword\n# postlogin\n\n");
    text += QStringLiteral("# end of pppconfig stuff\n");
    return text.toUtf8();
}

Result PppdPhonebook::CheckValues(const PppdEntry& entry, const PppdEntry* before) {
    // A value left as it was is not judged again: a file written by hand may hold what this
    // program would not write, and the entry keeps it.
    const auto changed = [before](const QString& value, QString PppdEntry::*field) {
        return !before || value != before->*field;
    };
    if (changed(entry.Name, &PppdEntry::Name) && !IsShellSafeEntryName(entry.Name.toUtf8()))
        return Result::Failure(QStringLiteral("Nom de connexion incorrect."));
    if (changed(entry.UserName, &PppdEntry::UserName) && HasControlCharacter(entry.UserName))
        return Result::Failure(ControlCharacterRefused);
    static const QRegularExpression number(QStringLiteral("^[0-9*#,+ WwPpTt!@$-]*\\z"));
    if (changed(entry.PhoneNumber, &PppdEntry::PhoneNumber) &&
        !number.match(entry.PhoneNumber).hasMatch())
        return Result::Failure(QStringLiteral("Numéro de téléphone incorrect."));
    static const QRegularExpression device(QStringLiteral("^/dev/[A-Za-z0-9_./-]+\\z"));
    if (changed(entry.Device, &PppdEntry::Device) &&
        (!device.match(entry.Device).hasMatch() || entry.Device.contains(QLatin1String(".."))))
        return Result::Failure(QStringLiteral("Port série incorrect."));
    // No leading zero: pppd would read the speed in octal.
    static const QRegularExpression speed(QStringLiteral("^[1-9][0-9]{2,6}\\z"));
    if (changed(entry.Speed, &PppdEntry::Speed) && !speed.match(entry.Speed).hasMatch())
        return Result::Failure(QStringLiteral("Vitesse incorrecte."));
    return Result::Success();
}

Result PppdPhonebook::Write(const PppdEntry& entry) {
    if (Result checked = CheckValues(entry); !checked)
        return checked;
    // As Debian lays them out: folders 2750 and files 0640 of the phonebook's group (dip), so
    // that the users allowed to dial read them and no one else (an option may be a password).
    struct stat phonebook {};
    const bool phonebookKnown = ::stat(QFile::encodeName(folder).constData(), &phonebook) == 0;
    const auto privateToGroup = [&](const QString& path, mode_t mode) {
        const QByteArray name = QFile::encodeName(path);
        (void)::chmod(name.constData(), mode);
        if (phonebookKnown)
            (void)::chown(name.constData(), uid_t(-1), phonebook.st_gid);
    };
    for (const QString& subfolder : {PeersFolder(), ChatFolder()})
        if (!QFileInfo::exists(subfolder) && QDir().mkpath(subfolder))
            privateToGroup(subfolder, 02750);
    // The connect line names the script by its system path when the phonebook is the system's.
    const QString chatPath = ChatFile(entry.Name);
    const bool chatExisted = QFileInfo::exists(chatPath);
    if (Result written = WriteFileSafely(chatPath, ChatText(entry)); !written)
        return written;
    Result written = WriteFileSafely(PeerFile(entry.Name), PeersText(entry, chatPath));
    if (!written && !chatExisted) // no script is left behind without its entry
        QFile::remove(chatPath);
    if (written) {
        privateToGroup(PeerFile(entry.Name), 0640);
        if (!chatExisted)
            privateToGroup(chatPath, 0640);
    }
    return written;
}

Result PppdPhonebook::Update(const PppdEntry& before, const PppdEntry& after) {
    if (Result checked = CheckValues(after, &before); !checked)
        return checked;
    const QString peersFile = PeerFile(before.Name);
    QByteArray peers;
    if (!Exists(before.Name) || !ReadFileChecked(peersFile, &peers))
        return Result::Failure(QStringLiteral("Impossible de lire %1.").arg(peersFile));
    const QString cannotChange =
        QStringLiteral("Tallivo ne peut pas modifier %1 de cette connexion : %2 le garde sous une "
                       "forme qu'il ne sait pas modifier sans risque.");
    QList<QByteArray> lines = peers.split('\n');
    const auto replaceOrAdd = [&lines](const QString& from, const QString& to) {
        if (ReplaceLoneWord(&lines, from, to))
            return true;
        if (!from.isEmpty())
            return false;
        lines.insert(!lines.isEmpty() && lines.last().isEmpty() ? lines.size() - 1 : lines.size(),
                     to.toUtf8());
        return true;
    };
    if (after.Device != before.Device && !replaceOrAdd(before.Device, after.Device))
        return Result::Failure(cannotChange.arg(QStringLiteral("le port modem"), peersFile));
    if (after.Speed != before.Speed && !replaceOrAdd(before.Speed, after.Speed))
        return Result::Failure(cannotChange.arg(QStringLiteral("la vitesse"), peersFile));
    if (after.UserName != before.UserName)
        SetUserLines(&lines, UserWord(after.UserName));

    // The number stays where the entry keeps it: chat's -T argument, or the dial command of
    // a script that is the entry's alone (another entry's script is never written).
    QByteArray script, scriptBefore;
    bool scriptChanged = false;
    if (after.PhoneNumber != before.PhoneNumber) {
        if (before.NumberInConnectLine) {
            if (!ReplaceConnectNumber(&lines, after.PhoneNumber))
                return Result::Failure(cannotChange.arg(QStringLiteral("le numéro"), peersFile));
        } else if (!before.ChatScript.isEmpty() && !QFileInfo::exists(before.ChatScript)) {
            return Result::Failure(QStringLiteral("Le script de numérotation %1 est introuvable.")
                                       .arg(before.ChatScript));
        } else if (before.ChatScript.isEmpty() ||
                   !ReadFileChecked(before.ChatScript, &scriptBefore) ||
                   !ReplaceDialedNumber(&(script = scriptBefore), after.PhoneNumber)) {
            return Result::Failure(
                cannotChange.arg(QStringLiteral("le numéro"),
                                 before.ChatScript.isEmpty() ? peersFile : before.ChatScript));
        } else if (SharesScript(before, OtherEntries(before.Name))) {
            return Result::Failure(
                QStringLiteral("Le numéro n'est pas modifié : le script de numérotation %1 sert "
                               "aussi à d'autres connexions.")
                    .arg(before.ChatScript));
        } else {
            scriptChanged = true;
        }
    }
    if (scriptChanged) {
        if (Result written = WriteKeepingOwner(before.ChatScript, script); !written)
            return written;
    }
    const QByteArray newPeers = lines.join('\n');
    const auto putBack = [&] {
        if (scriptChanged)
            (void)WriteKeepingOwner(before.ChatScript, scriptBefore);
        (void)WriteKeepingOwner(peersFile, peers);
    };
    if (newPeers != peers) {
        if (Result written = WriteKeepingOwner(peersFile, newPeers); !written) {
            putBack();
            return written;
        }
    }
    // What pppd and chat will read is what was asked; a file laid out in a way the edits
    // misjudged goes back as it was.
    PppdEntry reread;
    if (!Read(before.Name, &reread) || reread.PhoneNumber != after.PhoneNumber ||
        reread.Device != after.Device || reread.Speed != after.Speed ||
        reread.UserName != after.UserName || reread.DialCommand != before.DialCommand) {
        putBack();
        return Result::Failure(
            QStringLiteral("Cette connexion n'est pas modifiée : %1 a une forme que Tallivo ne "
                           "sait pas modifier sans risque.")
                .arg(peersFile));
    }
    return Result::Success();
}

namespace {
QByteArray SecretLine(const QStringList& words) {
    QString line = QuotedWord(words[0]) + QLatin1Char(' ') + QuotedWord(words[1]) +
                   QStringLiteral(" \"") + Escaped(words[2]) + QLatin1Char('"');
    for (int w = 3; w < words.size(); ++w)
        line += QLatin1Char(' ') + QuotedWord(words[w]);
    return line.toUtf8();
}

} // namespace

Result PppdPhonebook::SetUserName(const QString& name, const QString& user) {
    if (!Exists(name))
        return Result::Failure(QStringLiteral("Connexion introuvable."));
    if (HasControlCharacter(user))
        return Result::Failure(ControlCharacterRefused);
    QByteArray text;
    if (!ReadFileChecked(PeerFile(name), &text))
        return Result::Failure(QStringLiteral("Impossible de lire %1.").arg(PeerFile(name)));
    QList<QByteArray> lines = text.split('\n');
    SetUserLines(&lines, UserWord(user));
    return WriteKeepingOwner(PeerFile(name), lines.join('\n'));
}

QString PppdPhonebook::ServerOf(const PppdEntry& entry) {
    return entry.RemoteName.isEmpty() ? QStringLiteral("*") : entry.RemoteName;
}

QList<PppdEntry> PppdPhonebook::OtherEntries(const QString& name) const {
    QList<PppdEntry> others;
    for (const QString& other : EntryNames()) {
        PppdEntry entry;
        if (other != name && Read(other, &entry))
            others.append(entry);
    }
    return others;
}

bool PppdPhonebook::SharesScript(const PppdEntry& entry, const QList<PppdEntry>& others) {
    // Through a link or another spelling of its path, a script is still the same file.
    const QString script = QFileInfo(entry.ChatScript).canonicalFilePath();
    return std::any_of(others.begin(), others.end(), [&](const PppdEntry& other) {
        return other.ChatScript == entry.ChatScript ||
               (!script.isEmpty() && QFileInfo(other.ChatScript).canonicalFilePath() == script);
    });
}

bool PppdPhonebook::OwnsScript(const PppdEntry& entry, const QList<PppdEntry>& others) const {
    return entry.ChatScript == ChatFile(entry.Name) && !SharesScript(entry, others);
}

bool PppdPhonebook::NameTaken(const QString& name) const {
    return Exists(name) || QFileInfo::exists(ChatFile(name));
}

bool PppdPhonebook::OwnsSecret(const PppdEntry& entry, const QList<PppdEntry>& others,
                               const QStringList& words) {
    if (words.size() < 3)
        return false;
    const QString server = ServerOf(entry);
    if (words[1] != server)
        return false;
    const bool ownServer = server != QLatin1String("*") &&
                           std::none_of(others.begin(), others.end(),
                                        [&](const PppdEntry& o) { return o.RemoteName == server; });
    if (ownServer)
        return true;
    return !entry.UserName.isEmpty() && words[0] == entry.UserName &&
           std::none_of(others.begin(), others.end(), [&](const PppdEntry& o) {
               return o.UserName == entry.UserName && ServerOf(o) == server;
           });
}

Result PppdPhonebook::EditSecrets(const SecretEdit& edit, bool* found) {
    struct Change {
        QString FileName;
        QByteArray Before;
        QByteArray After;
    };
    // Both files are read before either is written, and a write that fails puts the other
    // file back: the two change together or not at all.
    QList<Change> changes;
    for (const QString& fileName : {PapSecrets(), ChapSecrets()}) {
        if (!QFileInfo::exists(fileName))
            continue;
        QByteArray text;
        if (!ReadFileChecked(fileName, &text))
            return Result::Failure(QStringLiteral("Impossible de lire %1.").arg(fileName));
        QList<QByteArray> lines = text.split('\n');
        bool changed = false;
        for (int i = 0; i < lines.size(); ++i) {
            QStringList words = SplitWords(lines[i], false);
            if (words.size() < 3 || !edit(&words))
                continue;
            *found = changed = true;
            if (words.isEmpty())
                lines.removeAt(i--);
            else
                lines[i] = SecretLine(words) + LineTail(lines[i]); // its comment stays
        }
        if (changed)
            changes.append({fileName, text, lines.join('\n')});
    }
    for (int i = 0; i < changes.size(); ++i) {
        Result written = WriteSecretsFile(changes[i].FileName, changes[i].After);
        if (!written) {
            // The first failure is the one reported; a failed undo goes to the log.
            for (int j = 0; j < i; ++j) {
                const Result undone = WriteSecretsFile(changes[j].FileName, changes[j].Before);
                if (!undone)
                    qCWarning(logDialup).noquote() << "secrets not put back:" << undone.Message();
            }
            return written;
        }
    }
    return Result::Success();
}

Result PppdPhonebook::StorePassword(const QString& user, const QString& server,
                                    const QString& password) {
    if (HasControlCharacter(user) || HasControlCharacter(password))
        return Result::Failure(ControlCharacterRefused);
    if (user.isEmpty())
        return Result::Failure(QStringLiteral("Un mot de passe n'est enregistré que pour un "
                                              "nom d'utilisateur."));
    bool found = false;
    Result stored = EditSecrets(
        [&](QStringList* words) {
            if ((*words)[0] != user || (*words)[1] != server)
                return false;
            (*words)[2] = password;
            return true;
        },
        &found);
    if (!stored || found)
        return stored;
    QByteArray text;
    if (!ReadFileChecked(PapSecrets(), &text))
        return Result::Failure(QStringLiteral("Impossible de lire %1.").arg(PapSecrets()));
    if (!text.isEmpty() && !text.endsWith('\n'))
        text += '\n';
    text += SecretLine({user, server, password}) + '\n';
    QDir().mkpath(folder);
    return WriteSecretsFile(PapSecrets(), text);
}

Result PppdPhonebook::MoveSecrets(const PppdEntry& entry, const QString& user,
                                  const QString& password, bool* moved) {
    *moved = false;
    if (HasControlCharacter(user) || HasControlCharacter(password))
        return Result::Failure(ControlCharacterRefused);
    if (entry.UserName.isEmpty() || user.isEmpty())
        return Result::Success();
    const QList<PppdEntry> others = OtherEntries(entry.Name);
    bool found = false;
    Result edited = EditSecrets(
        [&](QStringList* words) {
            if ((*words)[0] != entry.UserName || !OwnsSecret(entry, others, *words))
                return false;
            (*words)[0] = user;
            if (!password.isEmpty())
                (*words)[2] = password;
            return true;
        },
        &found);
    *moved = edited && found;
    return edited;
}

Result PppdPhonebook::ChangeUserWithSecrets(const PppdEntry& entry, const QString& user,
                                            const QString& password,
                                            const std::function<Result()>& change, bool* moved) {
    *moved = false;
    if (user != entry.UserName)
        if (Result result = MoveSecrets(entry, user, password, moved); !result)
            return result;
    Result changed = change();
    if (!changed && *moved) {
        PppdEntry renamed = entry;
        renamed.UserName = user;
        bool movedBack = false;
        if (const Result undone = MoveSecrets(renamed, entry.UserName, {}, &movedBack); !undone)
            qCWarning(logDialup).noquote() << "secrets not put back:" << undone.Message();
        *moved = false;
    }
    return changed;
}

Result PppdPhonebook::Delete(const QString& name) {
    PppdEntry entry;
    if (!Read(name, &entry))
        return Result::Failure(QStringLiteral("Connexion introuvable."));
    const QList<PppdEntry> others = OtherEntries(name);
    // The options file goes first: without it nothing uses the chat script or the secrets.
    const QString peersBackup = PeerFile(name) + QStringLiteral(".bak");
    QFile::remove(peersBackup);
    if (!QFile::rename(PeerFile(name), peersBackup))
        return Result::Failure(QStringLiteral("Impossible de supprimer %1.").arg(PeerFile(name)));
    bool found = false;
    Result removed = EditSecrets(
        [&](QStringList* words) {
            if (!OwnsSecret(entry, others, *words))
                return false;
            words->clear();
            return true;
        },
        &found);
    if (!removed) {
        // The entry stays whole, with its password.
        QFile::rename(peersBackup, PeerFile(name));
        return removed;
    }
    if (OwnsScript(entry, others)) {
        QFile::remove(ChatFile(name) + QStringLiteral(".bak"));
        QFile::rename(ChatFile(name), ChatFile(name) + QStringLiteral(".bak"));
    }
    return Result::Success();
}

Result PppdPhonebook::Rename(const QString& oldName, const QString& newName) {
    PppdEntry entry;
    if (!Read(oldName, &entry))
        return Result::Failure(QStringLiteral("Connexion introuvable."));
    if (!IsShellSafeEntryName(newName.toUtf8()))
        return Result::Failure(QStringLiteral("Nom de connexion incorrect."));
    const QList<PppdEntry> others = OtherEntries(oldName);
    // A script or a server name that other entries share stays as it is, theirs too.
    const bool ownScript = OwnsScript(entry, others) && QFileInfo::exists(ChatFile(oldName));
    const bool ownServer = std::none_of(others.begin(), others.end(), [&](const PppdEntry& other) {
        return other.RemoteName == oldName;
    });
    if (Exists(newName) || (ownScript && QFileInfo::exists(ChatFile(newName))))
        return Result::Failure(QStringLiteral("Une connexion porte déjà ce nom."));
    QByteArray peers, script;
    if (!ReadFileChecked(PeerFile(oldName), &peers) ||
        (ownScript && !ReadFileChecked(ChatFile(oldName), &script)))
        return Result::Failure(QStringLiteral("Impossible de lire la connexion %1.").arg(oldName));
    QList<QByteArray> lines = peers.split('\n');
    for (QByteArray& line : lines) {
        const QStringList words = SplitWords(line, false);
        if (words.size() < 2)
            continue;
        if (((words[0] == QLatin1String("remotename") && ownServer) ||
             words[0] == QLatin1String("ipparam")) &&
            words[1] == oldName)
            ReplaceOptionValue(&line, words[0].toUtf8(), QuotedWord(newName).toUtf8());
        else if (words[0] == QLatin1String("connect") && ownScript) {
            // The script's path as the line writes it (this phonebook's own, or the system's
            // for a phonebook kept elsewhere), replaced in one pass: a new name that begins
            // with the old one must not be found again.
            const QByteArray own = QFile::encodeName(entry.ChatScript);
            if (line.contains(own))
                line.replace(own, QFile::encodeName(ChatFile(newName)));
            else
                line.replace(QFile::encodeName(SystemChatFolder + QLatin1Char('/') + oldName),
                             QFile::encodeName(SystemChatFolder + QLatin1Char('/') + newName));
        }
    }
    // The new entry is whole before the old one goes: its script, its options, its secrets.
    const auto removeNew = [&] {
        QFile::remove(PeerFile(newName));
        if (ownScript)
            QFile::remove(ChatFile(newName));
    };
    if (ownScript) {
        Result written = WriteKeepingOwner(ChatFile(newName), script, ChatFile(oldName));
        if (!written)
            return written;
    }
    if (Result written = WriteKeepingOwner(PeerFile(newName), lines.join('\n'), PeerFile(oldName));
        !written) {
        removeNew();
        return written;
    }
    const auto moveServer = [&](const QString& from, const QString& to) {
        PppdEntry owner = entry;
        owner.RemoteName = from;
        bool found = false;
        return EditSecrets(
            [&](QStringList* words) {
                if ((*words)[1] != from || !OwnsSecret(owner, others, *words))
                    return false;
                (*words)[1] = to;
                return true;
            },
            &found);
    };
    const bool serverMoves = entry.RemoteName == oldName && ownServer;
    if (serverMoves) {
        if (Result moved = moveServer(oldName, newName); !moved) {
            removeNew();
            return moved;
        }
    }
    if (!QFile::remove(PeerFile(oldName))) {
        const Result undone = serverMoves ? moveServer(newName, oldName) : Result::Success();
        if (!undone)
            qCWarning(logDialup).noquote() << "secrets not put back:" << undone.Message();
        removeNew();
        return Result::Failure(QStringLiteral("Impossible de renommer %1.").arg(PeerFile(oldName)));
    }
    if (ownScript)
        QFile::remove(ChatFile(oldName));
    return Result::Success();
}
