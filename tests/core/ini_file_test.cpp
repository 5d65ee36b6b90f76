#include "base/errors.h"
#include "base/ini_file.h"
#include "support/test_support.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

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
    EXPECT_FALSE(QFile::exists(Path()));                                  // reading creates nothing
    EXPECT_EQ(IniFile("/dev/zero").ReadString("Last", "Host", "d"), "d"); // not a file
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

TEST_F(IniFileTest, RandomValuesAndKeysRoundTripExactly) {
    // Carriage returns, line breaks, quotes, "%" and blanks at the ends in every position:
    // whatever is saved reads back as it was written, by this object and by a fresh one.
    const QString alphabet = QStringLiteral("\r\n\t \"%=[];aZé0x");
    std::mt19937 random(20261207);
    auto randomText = [&](int minimum) {
        QString text;
        const int length = minimum + int(random() % 12);
        for (int i = 0; i < length; ++i)
            text += alphabet[int(random() % alphabet.size())];
        return text;
    };
    QList<QPair<QString, QString>> written = {{"crcr", "value\r\r"}, {"\r\r", "\r\r"}};
    for (int i = 0; i < 200; ++i)
        written.append({randomText(1), randomText(0)});
    ini.BeginBatch();
    for (const auto& [key, value] : written)
        ini.WriteString("Last", key, value);
    ini.CommitBatch();
    const IniFile fresh(Path());
    for (const auto& [key, value] : written) {
        // A key written twice keeps its last value.
        QString expected;
        for (const auto& [otherKey, otherValue] : written)
            if (otherKey == key)
                expected = otherValue;
        EXPECT_EQ(fresh.ReadString("Last", key, "?"), expected)
            << QString(key).toUtf8().toPercentEncoding().toStdString();
    }
}

TEST_F(IniFileTest, ACarriageReturnEndingAValueOfTheFileSurvivesASave) {
    WriteWholeFile(Path(), "[Last]\r\nHost=a\r\r\nJour=1\r\n");
    EXPECT_EQ(ini.ReadString("Last", "Host", ""), "a\r");
    ini.WriteString("Last", "Jour", "2");
    EXPECT_EQ(IniFile(Path()).ReadString("Last", "Host", ""), "a\r");
    EXPECT_EQ(Bytes(), "[Last]\nHost=a\r\r\nJour=2\n");
}

TEST_F(IniFileTest, AnEditByAnotherProgramIsSeen) {
    WriteWholeFile(Path(), "[Last]\nHost=aaaa\n");
    const QDateTime past = QDateTime::currentDateTime().addSecs(-60);
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(past, QFileDevice::FileModificationTime);
    EXPECT_EQ(ini.ReadString("Last", "Host", ""), "aaaa");
    // Same size, same inode, written in place: only the modification time tells.
    file.seek(0);
    file.write("[Last]\nHost=bbbb\n");
    file.flush();
    file.setFileTime(past.addSecs(1), QFileDevice::FileModificationTime);
    EXPECT_EQ(ini.ReadString("Last", "Host", ""), "bbbb");
}

TEST_F(IniFileTest, AFileOverOneMebibyteIsNeitherReadNorWrittenAndIsSetAside) {
    QByteArray huge = "[Last]\nHost=" + QByteArray(IniFile::MaxFileSize, 'x') + "\n";
    WriteWholeFile(Path(), huge);
    EXPECT_EQ(ini.ReadString("Last", "Host", "default"), "default");
    EXPECT_TRUE(ini.TooLarge());
    EXPECT_THROW(ini.WriteString("Last", "Host", "h"), AppError);
    ini.BeginBatch();
    ini.WriteString("Last", "Host", "h");
    EXPECT_THROW(ini.CommitBatch(), AppError);
    EXPECT_EQ(Bytes(), huge) << "kept untouched";

    const QString message = IniFile::SetAsideWhenTooLarge(Path()).Message();
    EXPECT_TRUE(message.startsWith("Le fichier de paramètres ")) << message.toStdString();
    EXPECT_FALSE(QFile::exists(Path()));
    const QStringList aside = QDir(folder.path()).entryList({"tallivo.ini.endommage-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(ReadWholeFile(folder.filePath(aside[0])), huge);
    ini.WriteString("Last", "Host", "h"); // saved again from scratch
    EXPECT_EQ(ini.ReadString("Last", "Host", ""), "h");
    EXPECT_TRUE(IniFile::SetAsideWhenTooLarge(Path()));
}
