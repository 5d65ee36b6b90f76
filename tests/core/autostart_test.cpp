#include "app/autostart.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Points XDG_CONFIG_HOME at a temporary folder for the life of the object.
class ScopedConfigHome {
  public:
    ScopedConfigHome()
        : saved(qgetenv("XDG_CONFIG_HOME")),
          hadValue(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    }
    ~ScopedConfigHome() {
        if (hadValue)
            qputenv("XDG_CONFIG_HOME", saved);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    QString Entry(const QString& name) const {
        return folder.filePath(QStringLiteral("autostart/") + name + QStringLiteral(".desktop"));
    }
    QTemporaryDir folder;

  private:
    QByteArray saved;
    bool hadValue;
};
} // namespace

TEST(Autostart, EntryIsWrittenInTheConfigFolderAndRemoved) {
    ScopedConfigHome home;
    EXPECT_EQ(Autostart::Install("Tallivo", "/opt/tallivo/bin/tallivo").Message(), QString());
    EXPECT_EQ(ReadWholeFile(home.Entry("Tallivo")),
              QByteArray("[Desktop Entry]\nType=Application\nName=Tallivo\n"
                         "Exec=/opt/tallivo/bin/tallivo\nTerminal=false\n"
                         "X-GNOME-Autostart-enabled=true\n"));
    EXPECT_TRUE(Autostart::IsInstalled("Tallivo"));
    EXPECT_EQ(Autostart::Remove("Tallivo").Message(), QString());
    EXPECT_FALSE(QFile::exists(home.Entry("Tallivo")));
    EXPECT_EQ(Autostart::Remove("Tallivo").Message(), QString()); // already gone: no failure
}

TEST(Autostart, ExecIsQuotedWhenThePathNeedsIt) {
    EXPECT_EQ(Autostart::ExecValue("/usr/bin/tallivo"), "/usr/bin/tallivo");
    EXPECT_EQ(Autostart::ExecValue("/home/jo/Mes programmes/tallivo"),
              "\"/home/jo/Mes programmes/tallivo\"");
    // Inside quotes '"', '`', '$' and '\' take a backslash; the string value then doubles
    // every backslash. A percent sign is doubled (not a field code).
    EXPECT_EQ(Autostart::ExecValue("/a b/$x\"y\\z/100%"), "\"/a b/\\\\$x\\\\\"y\\\\\\\\z/100%%\"");
}

TEST(Autostart, CleaningRemovesTheObsoleteNamesOnly) {
    ScopedConfigHome home;
    for (const QString& name : QStringList{"Tallivo", "tallivo", "destroy me", "other"})
        ASSERT_EQ(Autostart::Install(name, "/usr/bin/tallivo").Message(), QString());
    Autostart::CleanObsoleteEntries("tallivo");
    EXPECT_TRUE(QFile::exists(home.Entry("Tallivo")));
    EXPECT_FALSE(QFile::exists(home.Entry("tallivo")));
    EXPECT_FALSE(QFile::exists(home.Entry("destroy me")));
    EXPECT_TRUE(QFile::exists(home.Entry("other")));

    Autostart::CleanObsoleteEntries("Tallivo"); // an executable named like the entry
    EXPECT_TRUE(QFile::exists(home.Entry("Tallivo")));
}

TEST(Autostart, AFolderThatCannotBeMadeGivesAFrenchError) {
    ScopedConfigHome home;
    WriteWholeFile(home.folder.filePath("autostart"), "a file, not a folder");
    const QString error = Autostart::Install("Tallivo", "/usr/bin/tallivo").Message();
    EXPECT_TRUE(error.startsWith("Erreur de création de la clé ")) << error.toStdString();
}
