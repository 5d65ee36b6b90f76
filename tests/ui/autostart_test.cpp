#include "app/ui/windows.h"
#include "base/program_files.h"
#include "support/app_fixture.h"
#include "support/ui_support.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>

namespace {
class AutostartCheckBoxTest : public AppWindowsTest {
  protected:
    // The fixture points XDG_CONFIG_HOME at the temporary folder's "config".
    QString Entry(const QString& name) const {
        return folder->file(QStringLiteral("config/autostart/") + name +
                            QStringLiteral(".desktop"));
    }
};
} // namespace

TEST_F(AutostartCheckBoxTest, CheckedByDefaultItWritesTheEntryAndUncheckingRemovesIt) {
    EXPECT_TRUE(Form1->WinStart->isChecked());
    ASSERT_TRUE(QFile::exists(Entry("Tallivo")));
    const QByteArray entry = ReadWholeFile(Entry("Tallivo"));
    EXPECT_TRUE(entry.contains("\nName=Tallivo\n"));
    EXPECT_TRUE(entry.contains("\nExec=" + ProgramFiles::ExecutablePath().toUtf8() + "\n"));

    Form1->WinStart->click();
    EXPECT_FALSE(QFile::exists(Entry("Tallivo")));
    Form1->WinStart->click();
    EXPECT_TRUE(QFile::exists(Entry("Tallivo")));
}

TEST_F(AutostartCheckBoxTest, AnUncheckedBoxIsRestoredWithoutAnEntry) {
    Form1->WinStart->click();
    Form1->SaveSettings();
    StopProgram();
    StartProgram();
    EXPECT_FALSE(Form1->WinStart->isChecked());
    EXPECT_FALSE(QFile::exists(Entry("Tallivo")));
}

TEST_F(AutostartCheckBoxTest, CleaningRemovesTheObsoleteEntries) {
    for (const QString& name : {ProgramFiles::BaseName(), QStringLiteral("destroy me")})
        WriteWholeFile(Entry(name), "[Desktop Entry]\nType=Application\nExec=/old\n");
    Form1->SaveSettings();
    EXPECT_FALSE(QFile::exists(Entry(ProgramFiles::BaseName())));
    EXPECT_FALSE(QFile::exists(Entry("destroy me")));
    EXPECT_TRUE(QFile::exists(Entry("Tallivo")));
}

TEST_F(AutostartCheckBoxTest, AnEntryThatCannotBeWrittenIsReportedWithoutStoppingTheStartUp) {
    StopProgram();
    QDir(folder->file("config/autostart")).removeRecursively();
    WriteWholeFile(folder->file("config/autostart"), "a file where the folder should be");
    // The error box comes first; the fixture's own answer takes the warning that may follow.
    const std::shared_ptr<AnsweredBox> error = AnswerNextBox(QStringLiteral("OK"));
    StartProgram();
    const bool reported =
        (error->seen && error->title == "Erreur") || startWarning->title == "Erreur";
    EXPECT_TRUE(reported) << "the failure must be shown";
    const QString text = error->title == "Erreur" ? error->text : startWarning->text;
    EXPECT_EQ(text, "Erreur de création de la clé " + Entry("Tallivo"));
    EXPECT_TRUE(Form1->WinStart->isChecked());
    EXPECT_NE(Form1->CurrEdit, nullptr);
    EXPECT_TRUE(Form1->Timer2->isActive()) << "the start-up went to its end";
}
