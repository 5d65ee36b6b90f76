// The pppd phonebook against files that are not what pppconfig writes: scripts that are
// devices or pipes, oversized files, and values that would break out of their line.

#include "core/dialup_test_support.h"
#include "dialup/pppd_phonebook.h"
#include "support/test_support.h"

#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
class PppdHostileFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        provider = std::make_shared<PppdProvider>(fixture.options);
        libraries = std::make_unique<ScopedRasLibraries>(provider);
        ras = std::make_unique<TRAS>();
        ras->SetPhoneBookPath(fixture.Folder());
    }
    QString Peers(const QString& name) const {
        return fixture.Folder() + QStringLiteral("/peers/") + name;
    }

    PppdFixture fixture;
    std::shared_ptr<PppdProvider> provider;
    std::unique_ptr<ScopedRasLibraries> libraries;
    std::unique_ptr<TRAS> ras;
};

// Reads in a thread of its own, so that a blocked read fails the test instead of hanging it.
bool ReadsWithin(const PppdPhonebook& book, const QString& name, PppdEntry* entry) {
    struct Reading {
        std::atomic<bool> Done{false};
        bool Result = false;
        PppdEntry Entry;
    };
    auto reading = std::make_shared<Reading>();
    std::thread([reading, book, name] {
        reading->Result = book.Read(name, &reading->Entry);
        reading->Done = true;
    }).detach();
    for (int i = 0; i < 100 && !reading->Done; ++i)
        QThread::msleep(50);
    if (!reading->Done)
        return false;
    *entry = reading->Entry;
    return reading->Result;
}
} // namespace

TEST_F(PppdHostileFilesTest, ScriptsThatAreDevicesPipesOrHugeAreNotRead) {
    const QString pipe = fixture.Path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString huge = fixture.Path(QStringLiteral("huge"));
    WriteWholeFile(huge, QByteArray(1024 * 1024, 'A') + "\nATDT0860123456\n");
    const PppdPhonebook book(fixture.Folder());
    for (const QString& script : {QStringLiteral("/dev/zero"), pipe, huge}) {
        WriteWholeFile(Peers(QStringLiteral("piege")),
                       "connect \"/usr/sbin/chat -v -f " + script.toUtf8() + "\"\n/dev/ttyS1\n");
        PppdEntry entry;
        ASSERT_TRUE(ReadsWithin(book, QStringLiteral("piege"), &entry)) << script.toStdString();
        EXPECT_EQ(entry.Device, QStringLiteral("/dev/ttyS1"));
        EXPECT_TRUE(entry.PhoneNumber.isEmpty());
        ras->EntryName = QStringLiteral("piege");
        EXPECT_EQ(ras->GetEntryProperties(), 0);
        EXPECT_EQ(ras->DevicePort, QStringLiteral("/dev/ttyS1"));
    }
}

TEST_F(PppdHostileFilesTest, ASecretsFileTooLargeToReadIsNotOverwritten) {
    const QString secrets = fixture.Folder() + QStringLiteral("/pap-secrets");
    const QByteArray many = QByteArray("\"autre\" * \"x\"\n").repeated(30000);
    WriteWholeFile(secrets, many);
    QFile::remove(fixture.Folder() + QStringLiteral("/chap-secrets"));
    ras->EntryName = QStringLiteral("monfai");
    ASSERT_EQ(ras->GetDialParams(), 0);
    ras->Password = QStringLiteral("nouveau");
    EXPECT_EQ(ras->SetDialParams(), Ras::CannotWritePhonebook);
    EXPECT_EQ(ReadWholeFile(secrets), many);
}

TEST_F(PppdHostileFilesTest, LineEndsInUserOrPasswordCannotAddOptions) {
    ras->EntryName = QStringLiteral("monfai");
    ASSERT_EQ(ras->GetDialParams(), 0);
    const QByteArray peersBefore = ReadWholeFile(Peers(QStringLiteral("monfai")));
    const QByteArray secretsBefore = ReadWholeFile(fixture.Folder() + "/pap-secrets");

    ras->UserName = QStringLiteral("x\nconnect '/bin/sh -c reboot'");
    EXPECT_EQ(ras->SetDialParams(), Ras::InvalidParameter);
    EXPECT_FALSE(ras->StatusStr.isEmpty());
    ras->UserName = QStringLiteral("jdupont");
    ras->Password = QStringLiteral("a\"\n\"pirate\" * \"b");
    EXPECT_EQ(ras->SetDialParams(), Ras::InvalidParameter);
    EXPECT_EQ(ReadWholeFile(Peers(QStringLiteral("monfai"))), peersBefore);
    EXPECT_EQ(ReadWholeFile(fixture.Folder() + "/pap-secrets"), secretsBefore);

    // The phonebook refuses them too, whoever calls it.
    PppdPhonebook book(fixture.Folder());
    const Result userSet = book.SetUserName(QStringLiteral("monfai"), QStringLiteral("a\rb"));
    EXPECT_FALSE(userSet);
    EXPECT_FALSE(userSet.Message().isEmpty());
    EXPECT_FALSE(book.StorePassword(QStringLiteral("jdupont"), QStringLiteral("monfai"),
                                    QStringLiteral("a\nb")));
    PppdEntry entry;
    ASSERT_TRUE(book.Read(QStringLiteral("monfai"), &entry));
    entry.UserName = QStringLiteral("a\nnoauth");
    EXPECT_FALSE(book.Write(entry));
    EXPECT_EQ(ReadWholeFile(Peers(QStringLiteral("monfai"))), peersBefore);
}

TEST(PppdLogFolderTest, WithoutARuntimeFolderTheLogGoesToAPrivateFolder) {
    // No usable runtime folder: pppd's log must not sit under a guessable name in the shared
    // temporary folder, where another user could have planted a link.
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give a folder to another user";
    QTemporaryDir temp;
    const QByteArray oldTemp = qgetenv("TMPDIR"), oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    qunsetenv("XDG_RUNTIME_DIR");
    const passwd* user = ::getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    const QString foreign = temp.filePath(QStringLiteral("runtime-") + user->pw_name);
    QDir().mkpath(foreign);
    ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(foreign).constData(), 0700), 0);

    PppdFixture fixture;
    fixture.options.LogFolder.clear();
    const PppdProvider provider(fixture.options);
    const QString folder = provider.Settings().LogFolder;
    for (const auto& [name, value] :
         {std::pair{"TMPDIR", oldTemp}, {"XDG_RUNTIME_DIR", oldRuntime}})
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_NE(QDir(folder), QDir(temp.path()));
    EXPECT_NE(QDir(folder), QDir(foreign));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_uid, geteuid());
    EXPECT_EQ(info.st_mode & 077, 0u);
}
