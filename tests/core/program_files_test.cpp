#include "base/program_files.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ProgramFiles, FromTheBuildFolderEverythingIsBesideTheProgram) {
    ScopedProgramFolder folder;
    const QString programFolder = folder.path() + "/";
    EXPECT_EQ(ProgramFiles::DataFolder(), programFolder);
    EXPECT_EQ(ProgramFiles::SettingsFileName(), programFolder + "tallivo.ini");
    WriteWholeFile(folder.file("default.wav"), "RIFF");
    EXPECT_EQ(ProgramFiles::ShippedFile("default.wav"), programFolder + "default.wav");
}

TEST(ProgramFiles, InstalledTheFilesGoToTheUsersDataFolderEvenWhenBinIsWritable) {
    QTemporaryDir prefix, dataHome;
    QDir(prefix.path()).mkpath("bin");
    QDir(prefix.path()).mkpath("share/tallivo");
    WriteWholeFile(prefix.filePath("share/tallivo/default.wav"), "RIFF");
    WriteWholeFile(prefix.filePath("bin/tallivo.jnl"), "8,1\r\n"); // left from before
    const QByteArray previousDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    ProgramFiles::SetExecutablePathForTests(prefix.filePath("bin/tallivo"));

    const QString userFolder = ProgramFiles::DataFolder();
    const QString journal = ProgramFiles::JournalFileName();
    const QString sound = ProgramFiles::ShippedFile("default.wav");
    ProgramFiles::SetExecutablePathForTests({});
    qputenv("XDG_DATA_HOME", previousDataHome);

    EXPECT_TRUE(userFolder.startsWith(dataHome.path() + "/")) << userFolder.toStdString();
    EXPECT_TRUE(QDir(userFolder).exists());
    EXPECT_EQ(journal, userFolder + "tallivo.jnl");
    EXPECT_EQ(ReadWholeFile(journal), "8,1\r\n"); // carried over, once
    EXPECT_EQ(sound, prefix.filePath("share/tallivo/default.wav"));
}

TEST(ProgramFiles, WithNowhereToWriteTheFilesBesideTheProgramAreStillRead) {
    QTemporaryDir place;
    WriteWholeFile(place.filePath("file"), "");
    const QByteArray previousDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", place.filePath("file/below").toUtf8()); // cannot be made
    // A folder that does not exist cannot be written either, whoever runs the test.
    ProgramFiles::SetExecutablePathForTests(place.filePath("gone/tallivo"));
    const QString settings = ProgramFiles::SettingsFileName();
    ProgramFiles::SetExecutablePathForTests({});
    qputenv("XDG_DATA_HOME", previousDataHome);
    EXPECT_EQ(settings, place.filePath("gone/tallivo.ini"));
}
