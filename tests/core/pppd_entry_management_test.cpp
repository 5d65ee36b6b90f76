// Renaming, deleting and storing the user name and password of pppd entries on real files in
// pppconfig's format: only the entry's own pieces change, everything else stays byte for byte.
// Files holding passwords are compared without printing them.

#include "core/dialup_test_support.h"
#include "dialup/entry_names.h"
#include "dialup/pppd_phonebook.h"
#include "support/test_support.h"

#include <QMap>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
// Every file under the phonebook root: contents and mode.
QMap<QString, QPair<QByteArray, uint>> Snapshot(const QString& root) {
    QMap<QString, QPair<QByteArray, uint>> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        struct stat info {};
        ::stat(QFile::encodeName(file).constData(), &info);
        files[file.mid(root.size())] = {ReadWholeFile(file), uint(info.st_mode & 07777)};
    }
    return files;
}

uint ModeOf(const QString& file) {
    struct stat info {};
    ::stat(QFile::encodeName(file).constData(), &info);
    return info.st_mode & 07777;
}

// Secrets of several entries, with comments, odd spacing and a line of each kind.
const QByteArray PapSecrets = "# Secrets for authentication using PAP\n"
                              "# client\tserver\tsecret\t\t\tIP addresses\n"
                              "\"jdupont\" monfai \"s3cret\"\n"
                              "\"myusername@realm\" * \"template-password\"\n"
                              "  autre   autrefai   'x y'   10.0.0.1 # garder tel quel\n"
                              "\"jdupont\" * \"partage\"\n";
const QByteArray ChapSecrets = "# Secrets for authentication using CHAP\n"
                               "jdupont\tmonfai\t\"chap-s3cret\"\n"
                               "autre autrefai \"chap-autre\"\n";
// The entry's own lines in each file.
const QByteArray PapLine = "\"jdupont\" monfai \"s3cret\"";
const QByteArray ChapLine = "jdupont\tmonfai\t\"chap-s3cret\"";

QByteArray Replaced(QByteArray text, const QByteArray& before, const QByteArray& after) {
    return text.replace(before, after);
}

class PppdEntryManagementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteWholeFile(Pap(), PapSecrets);
        WriteWholeFile(Chap(), ChapSecrets);
        QFile::setPermissions(Pap(), QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(Chap(), QFile::ReadOwner | QFile::WriteOwner);
        // The user line of the entry carries a comment of its own.
        QByteArray peers = ReadWholeFile(book.PeerFile(QStringLiteral("monfai")));
        peers.replace("user \"jdupont\"", "user \"jdupont\"   # compte principal");
        WriteWholeFile(book.PeerFile(QStringLiteral("monfai")), peers);
        provider = std::make_shared<PppdProvider>(fixture.options);
        libraries = std::make_unique<ScopedRasLibraries>(provider);
        ras = std::make_unique<TRAS>();
        ras->SetPhoneBookPath(fixture.Folder());
        ASSERT_TRUE(ras->RasAvailable());
    }
    void TearDown() override {
        if (ras->RASConn)
            ras->Disconnect();
    }
    QString Pap() const { return fixture.Folder() + QStringLiteral("/pap-secrets"); }
    QString Chap() const { return fixture.Folder() + QStringLiteral("/chap-secrets"); }
    QString Root() const { return fixture.Path(QStringLiteral("etc")); }
    // Both secrets files hold exactly this, readable by their owner only.
    void ExpectSecrets(const QByteArray& pap, const QByteArray& chap) const {
        EXPECT_TRUE(ReadWholeFile(Pap()) == pap) << "pap-secrets differs";
        EXPECT_TRUE(ReadWholeFile(Chap()) == chap) << "chap-secrets differs";
        EXPECT_EQ(ModeOf(Pap()), 0600u);
        EXPECT_EQ(ModeOf(Chap()), 0600u);
    }

    PppdFixture fixture;
    PppdPhonebook book{fixture.Folder()};
    std::shared_ptr<PppdProvider> provider;
    std::unique_ptr<ScopedRasLibraries> libraries;
    std::unique_ptr<TRAS> ras;
};
} // namespace

TEST_F(PppdEntryManagementTest, UserNameAndPasswordChangeOnlyTheEntrysOwnLines) {
    ras->EntryName = QStringLiteral("monfai");
    ASSERT_EQ(ras->GetDialParams(), 0);
    ras->UserName = QStringLiteral("paul");
    ASSERT_EQ(ras->SetDialParams(), 0) << ras->StatusStr.toStdString();
    // The user line keeps its other words; the entry's lines follow the new user with their
    // passwords; the "*" line that another entry may use is left alone.
    EXPECT_TRUE(ReadWholeFile(book.PeerFile(QStringLiteral("monfai")))
                    .contains("user \"paul\"   # compte principal\n"));
    ExpectSecrets(Replaced(PapSecrets, PapLine, "paul monfai \"s3cret\""),
                  Replaced(ChapSecrets, ChapLine, "paul monfai \"chap-s3cret\""));

    ras->Password = QStringLiteral("n0uveau");
    ASSERT_EQ(ras->SetDialParams(), 0);
    ExpectSecrets(Replaced(PapSecrets, PapLine, "paul monfai \"n0uveau\""),
                  Replaced(ChapSecrets, ChapLine, "paul monfai \"n0uveau\""));
    ras->Password.clear();
    ASSERT_EQ(ras->GetDialParams(), 0);
    EXPECT_EQ(ras->UserName, QStringLiteral("paul"));
    EXPECT_TRUE(ras->Password == QStringLiteral("n0uveau"));
}

TEST_F(PppdEntryManagementTest, APasswordWithoutUserNameTouchesNoSecret) {
    // An entry without remote name nor user: its server is "*", like other users' lines.
    WriteWholeFile(book.PeerFile(QStringLiteral("anonyme")), "noauth\n/dev/ttyS1\n115200\n");
    const auto before = Snapshot(Root());
    ras->EntryName = QStringLiteral("anonyme");
    ASSERT_EQ(ras->GetDialParams(), 0);
    EXPECT_TRUE(ras->UserName.isEmpty());
    ras->Password = QStringLiteral("pirate");
    EXPECT_EQ(ras->SetDialParams(), Ras::NoUserName);
    EXPECT_TRUE(ras->StatusStr.startsWith(QStringLiteral("Indiquez d'abord le nom")));
    EXPECT_TRUE(Snapshot(Root()) == before) << "the phonebook changed";
    PppdPhonebook phonebook(fixture.Folder());
    EXPECT_FALSE(phonebook.StorePassword({}, QStringLiteral("*"), QStringLiteral("x")));
    EXPECT_TRUE(Snapshot(Root()) == before) << "the phonebook changed";
}

TEST_F(PppdEntryManagementTest, RenameMovesTheEntryAndItsSecretsTogether) {
    // Only the name changes on the server's line: its comment and its CR stay.
    const QString peers = book.PeerFile(QStringLiteral("monfai"));
    WriteWholeFile(peers, Replaced(ReadWholeFile(peers), "remotename monfai\n",
                                   "remotename monfai  # serveur PAP\r\n"));
    ras->EntryName = QStringLiteral("monfai");
    ASSERT_EQ(ras->RenameEntry(QStringLiteral("nouveau.fai")), 0);
    EXPECT_TRUE(ReadWholeFile(book.PeerFile(QStringLiteral("nouveau.fai")))
                    .contains("remotename nouveau.fai  # serveur PAP\r\n"));
    EXPECT_FALSE(QFileInfo::exists(book.PeerFile(QStringLiteral("monfai"))));
    EXPECT_FALSE(QFileInfo::exists(book.ChatFile(QStringLiteral("monfai"))));
    PppdEntry entry;
    ASSERT_TRUE(book.Read(QStringLiteral("nouveau.fai"), &entry));
    EXPECT_EQ(entry.ChatScript, book.ChatFile(QStringLiteral("nouveau.fai")));
    EXPECT_TRUE(QFileInfo::exists(entry.ChatScript));
    EXPECT_TRUE(ReadWholeFile(book.PeerFile(QStringLiteral("nouveau.fai")))
                    .contains("connect \"/usr/sbin/chat -v -f /etc/chatscripts/nouveau.fai\""));
    ExpectSecrets(Replaced(PapSecrets, PapLine, "jdupont nouveau.fai \"s3cret\""),
                  Replaced(ChapSecrets, ChapLine, "jdupont nouveau.fai \"chap-s3cret\""));

    // Onto an existing entry: refused in French, nothing written.
    const auto before = Snapshot(Root());
    EXPECT_EQ(ras->RenameEntry(QStringLiteral("provider")), Ras::AlreadyExists);
    EXPECT_EQ(ras->StatusStr, QStringLiteral("Une connexion porte déjà ce nom."));
    EXPECT_TRUE(Snapshot(Root()) == before) << "the phonebook changed";
}

TEST_F(PppdEntryManagementTest, DeleteRemovesOnlyTheEntrysSecrets) {
    ras->EntryName = QStringLiteral("monfai");
    ASSERT_EQ(ras->DeleteEntry(), 0);
    EXPECT_FALSE(book.Exists(QStringLiteral("monfai")));
    EXPECT_FALSE(QFileInfo::exists(book.ChatFile(QStringLiteral("monfai"))));
    ExpectSecrets(Replaced(PapSecrets, PapLine + '\n', ""),
                  Replaced(ChapSecrets, ChapLine + '\n', ""));
    ras->EnumEntries();
    EXPECT_EQ(ras->Entries, QStringList({"provider"}));
}

TEST_F(PppdEntryManagementTest, AnEntryCopiedFromAnotherKeepsTheScriptAndPasswordTheyShare) {
    // A variant made by copying the options file names the same script and server.
    ASSERT_TRUE(QFile::copy(book.PeerFile(QStringLiteral("monfai")),
                            book.PeerFile(QStringLiteral("monfai-nuit"))));
    const QByteArray script = ReadWholeFile(book.ChatFile(QStringLiteral("monfai")));
    const auto passwordOf = [this](const QString& name) {
        PppdEntry entry;
        QString password;
        return book.Read(name, &entry) &&
               book.Password(entry.UserName, PppdPhonebook::ServerOf(entry), &password) &&
               password == QStringLiteral("s3cret");
    };
    ras->EntryName = QStringLiteral("monfai");
    ASSERT_EQ(ras->RenameEntry(QStringLiteral("neu")), 0);
    EXPECT_TRUE(passwordOf(QStringLiteral("neu")));
    EXPECT_TRUE(passwordOf(QStringLiteral("monfai-nuit")));
    ras->EntryName = QStringLiteral("neu");
    ASSERT_EQ(ras->DeleteEntry(), 0);
    EXPECT_EQ(ReadWholeFile(book.ChatFile(QStringLiteral("monfai"))), script);
    EXPECT_TRUE(passwordOf(QStringLiteral("monfai-nuit")));
    // A new entry may not take the name of a script that exists.
    EXPECT_TRUE(book.NameTaken(QStringLiteral("monfai")));
}

TEST_F(PppdEntryManagementTest, AStepThatFailsLeavesTheEntryWhole) {
    // The secrets file cannot be read (a folder in its place): rename and delete stop and
    // undo what they did.
    QFile::remove(Chap());
    QDir().mkpath(Chap());
    const auto before = Snapshot(Root());
    ras->EntryName = QStringLiteral("monfai");
    EXPECT_EQ(ras->RenameEntry(QStringLiteral("autre")), Ras::CannotWritePhonebook);
    EXPECT_TRUE(Snapshot(Root()) == before) << "the phonebook changed";
    EXPECT_EQ(ras->DeleteEntry(), Ras::CannotWritePhonebook);
    EXPECT_TRUE(Snapshot(Root()) == before) << "the phonebook changed";
    PppdEntry entry;
    ASSERT_TRUE(book.Read(QStringLiteral("monfai"), &entry));
    EXPECT_TRUE(QFileInfo::exists(entry.ChatScript));
}

TEST_F(PppdEntryManagementTest, RefusedNamesWriteNothingAndLongAcceptedOnesStayWritable) {
    const auto before = Snapshot(Root());
    ras->EntryName = QStringLiteral("monfai");
    for (const QString& name :
         {QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral(".x"),
          QStringLiteral("a\u0001b"), QStringLiteral("fin\n"), QString(300, QLatin1Char('n')),
          QString(MaxEntryNameBytes + 1, QLatin1Char('n')), QStringLiteral("pap")}) {
        EXPECT_NE(ras->ValidateName(name), 0) << name.toStdString();
        EXPECT_NE(ras->RenameEntry(name), 0) << name.toStdString();
        EXPECT_FALSE(ras->StatusStr.isEmpty());
    }
    EXPECT_TRUE(Snapshot(Root()) == before) << "the phonebook changed";

    // The longest name accepted can be renamed to, written and deleted.
    const QString longest(MaxEntryNameBytes, QLatin1Char('l'));
    ASSERT_EQ(ras->RenameEntry(longest), 0) << ras->StatusStr.toStdString();
    ras->UserName = QStringLiteral("jdupont");
    ras->Password = QStringLiteral("encore");
    EXPECT_EQ(ras->SetDialParams(), 0) << ras->StatusStr.toStdString();
    EXPECT_EQ(ras->DeleteEntry(), 0) << ras->StatusStr.toStdString();
}

TEST_F(PppdEntryManagementTest, AnEntryInUseIsNeitherRenamedNorDeleted) {
    DIAL_AND_WAIT(ras, QStringLiteral("monfai"));
    ASSERT_EQ(ras->ConnectState, Ras::Connected);
    const auto before = Snapshot(Root());
    EXPECT_EQ(ras->DeleteEntry(), Ras::EntryInUse);
    EXPECT_TRUE(ras->StatusStr.startsWith(QStringLiteral("Cette connexion est en cours")));
    EXPECT_EQ(ras->RenameEntry(QStringLiteral("autre")), Ras::EntryInUse);
    EXPECT_TRUE(Snapshot(Root()) == before) << "the phonebook changed";
}

TEST_F(PppdEntryManagementTest, PropertiesChangeOnlyTheValuesEditedWhereTheEntryKeepsThem) {
    // A hand-edited entry: options and comments of its own, a private mode.
    const QString monfai = book.PeerFile(QStringLiteral("monfai"));
    WriteWholeFile(monfai, ReadWholeFile(monfai) + "\npersist\nmaxfail 0 # toujours\n");
    QFile::setPermissions(monfai, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    PppdEntry before;
    ASSERT_TRUE(book.Read(QStringLiteral("monfai"), &before));
    const auto untouched = Snapshot(Root());
    ASSERT_TRUE(book.Update(before, before));
    EXPECT_TRUE(Snapshot(Root()) == untouched) << "OK without a change wrote";

    PppdEntry after = before;
    after.PhoneNumber = QStringLiteral("01 45 67 89 01");
    after.Device = QStringLiteral("/dev/ttyUSB0");
    after.UserName = QStringLiteral("jean");
    ASSERT_TRUE(book.Update(before, after));
    const QByteArray peersBefore = untouched.value(monfai.mid(Root().size())).first;
    EXPECT_EQ(ReadWholeFile(monfai), Replaced(Replaced(peersBefore, "/dev/ttyS0", "/dev/ttyUSB0"),
                                              "user \"jdupont\"", "user \"jean\""));
    EXPECT_EQ(ModeOf(monfai), 0640u);
    const QByteArray scriptBefore = untouched.value(before.ChatScript.mid(Root().size())).first;
    EXPECT_EQ(ReadWholeFile(before.ChatScript),
              Replaced(scriptBefore, "ATDT0860123456", "ATDT01 45 67 89 01"));
    PppdEntry reread;
    ASSERT_TRUE(book.Read(QStringLiteral("monfai"), &reread));
    EXPECT_EQ(reread.PhoneNumber, after.PhoneNumber);

    // Debian's template keeps the number in chat's -T and shares the script "pap": only the
    // -T word changes, and no script of the entry's name appears.
    PppdEntry provider;
    ASSERT_TRUE(book.Read(QStringLiteral("provider"), &provider));
    const auto beforeProvider = Snapshot(Root());
    PppdEntry renumbered = provider;
    renumbered.PhoneNumber = QStringLiteral("0145*70");
    ASSERT_TRUE(book.Update(provider, renumbered));
    auto expected = beforeProvider;
    const QString providerKey = book.PeerFile(QStringLiteral("provider")).mid(Root().size());
    expected[providerKey].first =
        Replaced(expected[providerKey].first, "-T 0860123456", "-T '0145*70'");
    EXPECT_TRUE(Snapshot(Root()) == expected) << "more than the -T word changed";
    ASSERT_TRUE(book.Read(QStringLiteral("provider"), &reread));
    EXPECT_EQ(reread.PhoneNumber, renumbered.PhoneNumber);

    // A script that another entry also dials with, here through a link, is not renumbered
    // for both; a speed pppd would read in octal is refused.
    QFile::link(book.ChatFile(QStringLiteral("monfai")), book.ChatFile(QStringLiteral("lien")));
    WriteWholeFile(book.PeerFile(QStringLiteral("copie")),
                   Replaced(peersBefore, "chatscripts/monfai", "chatscripts/lien"));
    const auto shared = Snapshot(Root());
    ASSERT_TRUE(book.Read(QStringLiteral("monfai"), &before));
    after = before;
    after.PhoneNumber = QStringLiteral("0999");
    EXPECT_FALSE(book.Update(before, after));
    after = before;
    after.Speed = QStringLiteral("0115200");
    EXPECT_FALSE(book.Update(before, after));
    EXPECT_TRUE(Snapshot(Root()) == shared) << "a shared script was written";

    // Renamed, the options keep their private mode.
    ASSERT_TRUE(book.Rename(QStringLiteral("monfai"), QStringLiteral("renomme")));
    EXPECT_EQ(ModeOf(book.PeerFile(QStringLiteral("renomme"))), 0640u);
}

TEST_F(PppdEntryManagementTest,
       NewEntriesArePrivateAFailedOneLeavesNoScriptAndBackupNamesAreRefused) {
    PppdEntry entry;
    entry.Name = QStringLiteral("dossier");
    entry.PhoneNumber = QStringLiteral("0123");
    QDir().mkpath(book.PeerFile(entry.Name));
    EXPECT_FALSE(book.Write(entry));
    EXPECT_FALSE(QFileInfo::exists(book.ChatFile(entry.Name)));
    // Written, a new entry is readable by its group alone: an option may be a password.
    entry.Name = QStringLiteral("nouveau");
    ASSERT_TRUE(book.Write(entry));
    EXPECT_EQ(ModeOf(book.PeerFile(entry.Name)), 0640u);
    EXPECT_EQ(ModeOf(book.ChatFile(entry.Name)), 0640u);
    // A rewritten secrets line keeps its comment and its CR.
    WriteWholeFile(Pap(), "\"jean\" nouveau \"vieux\" # lettre du 3 mars\r\n");
    ASSERT_TRUE(book.StorePassword(QStringLiteral("jean"), entry.Name, QStringLiteral("neuf")));
    EXPECT_EQ(ReadWholeFile(Pap()), "jean nouveau \"neuf\" # lettre du 3 mars\r\n");
    // Renamed to a name that begins with the old one, it still names its own script.
    ASSERT_TRUE(book.Rename(entry.Name, QStringLiteral("nouveau2")));
    ASSERT_TRUE(book.Read(QStringLiteral("nouveau2"), &entry));
    EXPECT_EQ(entry.ChatScript, book.ChatFile(QStringLiteral("nouveau2")));
    // A backup's name is never listed: an entry could not be found again under it.
    for (const char* name : {"essai.bak", "essai~", "essai.dpkg-old"})
        EXPECT_FALSE(IsShellSafeEntryName(name)) << name;
}
