#include "base/errors.h"
#include "base/ini_file.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class IniFileTest : public ::testing::Test {
  protected:
    QString Path() const { return folder.filePath(QStringLiteral("tallivo.ini")); }
    QByteArray Bytes() const { return ReadWholeFile(Path()); }

    QTemporaryDir folder;
    IniFile ini{folder.filePath(QStringLiteral("tallivo.ini"))};
};
} // namespace

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(ini.ReadString("Last", "Host", "time.example"), "time.example");
    EXPECT_EQ(ini.ReadInteger("MainW", "ComboBox1", 7), 7);
    EXPECT_TRUE(ini.ReadBool("MainW", "Automail", true));
    EXPECT_TRUE(ini.ReadSection("Associations").isEmpty());
    EXPECT_FALSE(QFile::exists(Path())); // reading creates nothing
}

TEST_F(IniFileTest, EveryTypeRoundTripsAsPlainIniLines) {
    ini.WriteInteger("MainW", "ComboBox1", -1);
    ini.WriteBool("MainW", "Automail", false);
    ini.WriteString("Last", "CheminExport", "c:\\");
    ini.WriteString("Last", "monnaie", "€");
    ini.WriteBool("MainW", "Visuelle", true);
    ini.WriteString("Last", "Host", "");
    EXPECT_EQ(Bytes(), QStringLiteral("[MainW]\nComboBox1=-1\nAutomail=0\nVisuelle=1\n[Last]\n"
                                      "CheminExport=c:\\\nmonnaie=€\nHost=\n")
                           .toUtf8());
    EXPECT_EQ(ini.ReadInteger("MainW", "ComboBox1", 0), -1);
    EXPECT_FALSE(ini.ReadBool("MainW", "Automail", true));
    EXPECT_EQ(ini.ReadString("Last", "CheminExport", ""), "c:\\");
    EXPECT_EQ(ini.ReadString("Last", "monnaie", "F"), "€");
    EXPECT_EQ(ini.ReadString("Last", "Host", "default"), ""); // present but empty

    ini.WriteInteger("MainW", "ComboBox1", 3); // replaced in place
    EXPECT_EQ(ini.ReadSection("MainW"), QStringList({"ComboBox1", "Automail", "Visuelle"}));
    EXPECT_EQ(ini.ReadInteger("MainW", "ComboBox1", 0), 3);
}

TEST_F(IniFileTest, IntegersAreDecimalOrHexElseTheDefault) {
    WriteWholeFile(Path(), "[MainW]\r\nAutomail=0x1\r\nVisuelle=oui\r\nA=0XfF\r\nB= 42 \r\n"
                           "C=12abc\r\nD=0x\r\nE=99999999999\r\nF=0xFFFFFFFF\r\n");
    EXPECT_TRUE(ini.ReadBool("MainW", "Automail", false));
    EXPECT_TRUE(ini.ReadBool("MainW", "Visuelle", true));
    EXPECT_FALSE(ini.ReadBool("MainW", "Visuelle", false));
    EXPECT_EQ(ini.ReadInteger("MainW", "A", 0), 255);
    EXPECT_EQ(ini.ReadInteger("MainW", "B", 0), 42);
    EXPECT_EQ(ini.ReadInteger("MainW", "C", 5), 5);
    EXPECT_EQ(ini.ReadInteger("MainW", "D", 5), 5);
    EXPECT_EQ(ini.ReadInteger("MainW", "E", 5), 5);
    EXPECT_EQ(ini.ReadInteger("MainW", "F", 5), -1);
}

TEST_F(IniFileTest, NamesAreMatchedWithTheirExactSpelling) {
    WriteWholeFile(Path(), "[Miniwin]\nx=10\n[MiniWin]\nx=20\n[Associations]\nA=1\na=2\n");
    EXPECT_EQ(ini.ReadInteger("Miniwin", "x", 0), 10);
    EXPECT_EQ(ini.ReadInteger("MiniWin", "x", 0), 20);
    EXPECT_EQ(ini.ReadInteger("Miniwin", "X", 0), 0);
    EXPECT_EQ(ini.ReadString("Associations", "a", ""), "2");
}

TEST_F(IniFileTest, TextValuesAreCutAt2047Characters) {
    const QString longValue = QString(3000, QLatin1Char('h'));
    ini.WriteString("Last", "HeureQ", longValue);
    EXPECT_EQ(ini.ReadString("Last", "HeureQ", "").size(), 2047);
}

TEST_F(IniFileTest, SectionsAreErasedAndKeysDeleted) {
    WriteWholeFile(Path(), "; comment\n[MainW]\nx=1\n\n[Last]\nHost=h\n\n[MainW]\ny=2\n"
                           "[Associations]\nFree=Tarif\nOrange=Tarif\n");
    ini.EraseSection("MainW");
    EXPECT_FALSE(ini.SectionExists("MainW"));
    EXPECT_EQ(ini.ReadString("Last", "Host", ""), "h");
    ini.DeleteKey("Associations", "Free");
    ini.DeleteKey("Associations", "Absent");
    EXPECT_EQ(ini.ReadSectionValues("Associations"),
              (QList<QPair<QString, QString>>{{"Orange", "Tarif"}}));
    EXPECT_EQ(Bytes(), QByteArray("; comment\n[Last]\nHost=h\n\n[Associations]\nOrange=Tarif\n"));

    ini.WriteString("Last", "Jour", "3"); // a new key goes before the blank line
    EXPECT_EQ(Bytes(), QByteArray("; comment\n[Last]\nHost=h\nJour=3\n\n[Associations]\n"
                                  "Orange=Tarif\n"));
}

TEST_F(IniFileTest, HostileValuesAndKeysReadBackWithoutMakingKeysOrSections) {
    const QStringList values = {"a\r\n[MainW]\r\nComboBox1=9",
                                "x\ny",
                                "[Last]",
                                "=",
                                "a=b",
                                "  padded  ",
                                "\"quoted\"",
                                "\"",
                                "50%",
                                "\"%0A\"",
                                "tab\there",
                                "%",
                                ";not a comment"};
    for (const QString& value : values) {
        ini.WriteString("Last", "Host", value);
        ini.WriteString("Last", "monnaie", "F");
        EXPECT_EQ(ini.ReadString("Last", "Host", "?"), value) << value.toStdString();
        EXPECT_EQ(ini.ReadString("Last", "monnaie", "?"), "F") << value.toStdString();
    }
    const QStringList keys = {"a=b", "[Evil]", ";semi", " spaced ", "line\nbreak", "100%"};
    for (const QString& key : keys)
        ini.WriteString("Associations", key, key);
    for (const QString& key : keys)
        EXPECT_EQ(ini.ReadString("Associations", key, "?"), key) << key.toStdString();

    EXPECT_EQ(ini.ReadSection("Associations"), keys);
    EXPECT_EQ(ini.ReadSection("Last"), QStringList({"Host", "monnaie"}));
    EXPECT_FALSE(ini.SectionExists("Evil"));
    EXPECT_FALSE(ini.KeyExists("MainW", "ComboBox1"));
}

TEST_F(IniFileTest, AFileWrittenOnTheOldPlatformIsRead) {
    // Windows-1252 bytes, CR LF lines, blanks around names and values.
    WriteWholeFile(Path(), "[Associations]\r\n Connexion  =  Tarif r\xE9"
                           "duit \r\n"
                           "Autre=\"  quoted  \"\r\n");
    EXPECT_EQ(ini.ReadString("Associations", "Connexion", ""), "Tarif réduit");
    EXPECT_EQ(ini.ReadString("Associations", "Autre", ""), "  quoted  ");
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenRaisesTheReason) {
    IniFile nowhere(folder.filePath("missing/folder/tallivo.ini"));
    try {
        nowhere.WriteString("MainW", "x", "1");
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().startsWith("Impossible d'écrire dans ")) << error.what();
    }
}

TEST_F(IniFileTest, ABatchWritesTheFileOnceWhenCommitted) {
    IniFile& settings = ini;
    settings.WriteString("Dialup", "Provider", "simulation");
    settings.BeginBatch();
    settings.EraseSection("MainW");
    settings.WriteInteger("MainW", "x", 12);
    settings.WriteBool("Last", "WinStart", false);
    EXPECT_EQ(settings.ReadInteger("MainW", "x", 0), 12) << "reads see the batch";
    EXPECT_FALSE(IniFile(Path()).KeyExists("MainW", "x")) << "nothing written yet";
    settings.CommitBatch();
    EXPECT_EQ(Bytes(), "[Dialup]\nProvider=simulation\n[MainW]\nx=12\n"
                       "[Last]\nWinStart=0\n");
    settings.WriteInteger("MainW", "y", 3); // after the batch, writes go to the file again
    EXPECT_EQ(IniFile(Path()).ReadInteger("MainW", "y", 0), 3);
}
