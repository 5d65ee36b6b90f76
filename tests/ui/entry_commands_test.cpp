// The main window's entry commands on the simulated modem's phonebook, through the real
// windows: create, rename, delete, user name and password. Passwords are compared without
// printing them.

#include "app/ui/windows.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "dialup/simulation_provider.h"
#include "dialup/tras.h"
#include "dialup/ui/input_box.h"
#include "dialup/ui/password_dialog.h"
#include "dialup/ui/simulation_entry_dialog.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"
#include "widgets/wav_player.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

namespace {
// One answer to a dialog: the text typed into its edit line, then the button pressed.
struct Answer {
    QString Text;
    QString Button = QStringLiteral("OK");
};

// What a dialog showed when it was answered.
struct Shown {
    QString Caption;
    QString Prompt;
    QString Text;
    QString Displayed;
};

// Runs `fill` on each of the next `count` dialogs of type Dialog as it becomes the active
// modal window, with its position in the sequence.
template <typename Dialog> void WhenShown(int count, std::function<void(Dialog*, int)> fill) {
    auto* poll = new QTimer(qApp);
    auto index = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, count, fill, index] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        if (++*index >= count)
            poll->deleteLater();
        fill(dialog, *index - 1);
    });
    poll->start(10);
}

// Answers the next dialogs of type Dialog in order; `edit` gives the dialog's edit line.
template <typename Dialog>
std::shared_ptr<QList<Shown>> AnswerDialogs(const QList<Answer>& answers,
                                            std::function<QLineEdit*(Dialog*)> edit) {
    auto shown = std::make_shared<QList<Shown>>();
    WhenShown<Dialog>(int(answers.size()), [answers, edit, shown](Dialog* dialog, int index) {
        QLineEdit* line = edit(dialog);
        const auto* prompt = dialog->template findChild<QLabel*>(QStringLiteral("Prompt"));
        shown->append({dialog->windowTitle(), prompt ? prompt->text() : QString(), line->text(),
                       line->displayText()});
        line->setText(answers[index].Text);
        dialog->template findChild<QPushButton*>(answers[index].Button)->click();
    });
    return shown;
}

std::shared_ptr<QList<Shown>> AnswerInputBoxes(const QList<Answer>& answers) {
    return AnswerDialogs<TInputBox>(answers, [](TInputBox* box) { return box->Edit; });
}

std::shared_ptr<QList<Shown>> AnswerPassword(const Answer& answer) {
    return AnswerDialogs<TPassword>({answer}, [](TPassword* box) { return box->Edit1; });
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

class EntryCommandsTest : public AppWindowsTest {
  protected:
    void SetUp() override {
        AppWindowsTest::SetUp();
        RestartWithProvider(QStringLiteral("simulation"));
        Form1->Timer2->stop();
    }
    IniFile Modem() const { return IniFile(SimulationProvider::DefaultPhonebookFile()); }
    IniFile Settings() const { return IniFile(ProgramFiles::SettingsFileName()); }
    QString Status() const { return Form1->StatusBar1->currentMessage(); }
    void Select(const QString& name) {
        Form1->ComboBox1->setCurrentIndex(Form1->ComboBox1->findText(name));
        Form1->ComboBox1Click();
    }
};
} // namespace

TEST_F(EntryCommandsTest, CreateRenameAndDeleteThroughTheWindows) {
    // Create: the simulated modem's new-entry dialog, then the new entry selected.
    WhenShown<TSimulationEntryDialog>(1, [](TSimulationEntryDialog* dialog, int) {
        dialog->findChild<QLineEdit*>(QStringLiteral("EntryName"))->setText(QStringLiteral("Neuf"));
        dialog->findChild<QLineEdit*>(QStringLiteral("PhoneNumber"))
            ->setText(QStringLiteral("0860555555"));
        dialog->findChild<QPushButton*>(QStringLiteral("OK"))->click();
    });
    Form1->CreateBtn->click();
    EXPECT_EQ(Form1->ComboBox1->currentText(), QStringLiteral("Neuf"));
    EXPECT_EQ(Form1->ComboBox1->count(), 6);
    EXPECT_EQ(Form1->Label2->text(), QStringLiteral("0860555555"));
    EXPECT_EQ(Form1->Label6->text(), QStringLiteral("Modem simulé 56K"));

    // Rename, with a tariff associated: the association follows the entry.
    if (Form1->ComboTarifAsso->count() == 0)
        Form1->Button3Click();
    Form1->ComboTarifAsso->setCurrentIndex(0);
    Form1->ComboTarifAssoClick();
    const QString tariff = Form1->ComboTarifAsso->currentText();
    ASSERT_FALSE(tariff.isEmpty());
    auto shown = AnswerInputBoxes({{QStringLiteral("Renommé")}});
    Form1->RenameBtn->click();
    ASSERT_EQ(shown->size(), 1);
    EXPECT_EQ(shown->at(0).Caption, QStringLiteral("Renommer"));
    EXPECT_EQ(shown->at(0).Prompt, QStringLiteral("Nom de la connexion :"));
    EXPECT_EQ(shown->at(0).Text, QStringLiteral("Neuf"));
    EXPECT_EQ(Form1->ComboBox1->currentText(), QStringLiteral("Renommé"));
    EXPECT_FALSE(Items(Form1->ComboBox1).contains(QStringLiteral("Neuf")));
    EXPECT_EQ(Form1->Label2->text(), QStringLiteral("0860555555"));
    EXPECT_EQ(Settings().ReadString(QStringLiteral("Associations"), QStringLiteral("Renommé"), {}),
              tariff);
    EXPECT_FALSE(Settings().KeyExists(QStringLiteral("Associations"), QStringLiteral("Neuf")));
    EXPECT_EQ(Modem().ReadString(QStringLiteral("Renommé"), QStringLiteral("PhoneNumber"), {}),
              QStringLiteral("0860555555"));

    // Delete, confirmed: the list starts again at its first entry.
    auto confirm = AnswerNextBox(QStringLiteral("&Oui"));
    Form1->Poubelle7->click();
    EXPECT_EQ(confirm->text,
              QStringLiteral("Voulez-vous vraiment supprimer la connexion Renommé ?"));
    EXPECT_EQ(Form1->ComboBox1->count(), 5);
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 0);
    EXPECT_FALSE(Modem().SectionExists(QStringLiteral("Renommé")));
    EXPECT_EQ(Form1->Label2->text(), QStringLiteral("0860123456"));
    // The association of a deleted entry is left in place.
    EXPECT_TRUE(Settings().KeyExists(QStringLiteral("Associations"), QStringLiteral("Renommé")));
}

TEST_F(EntryCommandsTest, RenameAsksAgainUntilTheNameIsNewAndValid) {
    Select(QStringLiteral("Simulation 56K"));
    const QByteArray settingsBefore = ReadWholeFile(ProgramFiles::SettingsFileName());
    QSignalSpy beeps(Form1->WAVPlayer1, &TWAVPlayer::Beeped);
    // The same name, then a name the file cannot hold, then one differing in case only.
    auto shown = AnswerInputBoxes({{QStringLiteral("Simulation 56K")},
                                   {QStringLiteral("Sim]")},
                                   {QStringLiteral("simulation 56K")}});
    Form1->RenameBtn->click();
    EXPECT_EQ(shown->size(), 3);
    EXPECT_EQ(beeps.count(), 2);
    EXPECT_EQ(Form1->ComboBox1->currentText(), QStringLiteral("simulation 56K"));
    EXPECT_TRUE(Modem().SectionExists(QStringLiteral("simulation 56K")));
    EXPECT_FALSE(Modem().SectionExists(QStringLiteral("Simulation 56K")));
    // No tariff associated: the settings file's associations are not touched.
    EXPECT_FALSE(Settings().SectionExists(QStringLiteral("Associations")));
    EXPECT_EQ(ReadWholeFile(ProgramFiles::SettingsFileName()), settingsBefore);

    // Cancel does nothing.
    const QByteArray modemBefore = ReadWholeFile(SimulationProvider::DefaultPhonebookFile());
    AnswerInputBoxes({{QStringLiteral("Autre"), QStringLiteral("Annuler")}});
    Form1->RenameBtn->click();
    AnswerInputBoxes({{QStringLiteral("Autre"), QStringLiteral("Annuler")}});
    Form1->UserBtn->click();
    AnswerPassword({QStringLiteral("autre"), QStringLiteral("Annuler")});
    Form1->PWBtn->click();
    EXPECT_EQ(ReadWholeFile(SimulationProvider::DefaultPhonebookFile()), modemBefore);
    EXPECT_TRUE(Status().isEmpty());
}

TEST_F(EntryCommandsTest, EmptyAnswersKeepTheUserNameAndPassword) {
    Select(QStringLiteral("Ligne occupée"));
    auto shown = AnswerInputBoxes({{QString()}});
    Form1->UserBtn->click();
    EXPECT_EQ(shown->value(0).Caption, QStringLiteral("Ligne occupée"));
    EXPECT_EQ(shown->value(0).Prompt, QStringLiteral("Nom de l'utilisateur :"));
    EXPECT_EQ(shown->value(0).Text, QStringLiteral("demo"));
    EXPECT_EQ(Status(), QStringLiteral("Paramètres de connexion mis à jour"));
    EXPECT_EQ(Modem().ReadString(QStringLiteral("Ligne occupée"), QStringLiteral("UserName"), {}),
              QStringLiteral("demo"));

    auto password = AnswerPassword({QString()});
    Form1->PWBtn->click();
    EXPECT_EQ(password->value(0).Caption, QStringLiteral("Ligne occupée"));
    EXPECT_EQ(password->value(0).Displayed, QStringLiteral("****"));
    EXPECT_TRUE(Modem().ReadString(QStringLiteral("Ligne occupée"), QStringLiteral("Password"),
                                   {}) == QStringLiteral("demo"));
    EXPECT_TRUE(Password->Edit1->text().isEmpty());

    AnswerInputBoxes({{QStringLiteral("paul")}});
    Form1->UserBtn->click();
    AnswerPassword({QStringLiteral("s3cret")});
    Form1->PWBtn->click();
    EXPECT_EQ(Status(), QStringLiteral("Paramètres de connexion mis à jour"));
    EXPECT_EQ(Modem().ReadString(QStringLiteral("Ligne occupée"), QStringLiteral("UserName"), {}),
              QStringLiteral("paul"));
    EXPECT_TRUE(Modem().ReadString(QStringLiteral("Ligne occupée"), QStringLiteral("Password"),
                                   {}) == QStringLiteral("s3cret"));
}

TEST_F(EntryCommandsTest, DeletingTheLastEntryLeavesNothingSelected) {
    while (Form1->ComboBox1->count() > 0) {
        const int before = Form1->ComboBox1->count();
        AnswerNextBox(QStringLiteral("&Oui"));
        Form1->Poubelle7->click();
        ASSERT_EQ(Form1->ComboBox1->count(), before - 1) << Status().toStdString();
    }
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), -1);
    EXPECT_TRUE(Form1->Label2->text().isEmpty());
    // With nothing selected, the commands that need an entry do nothing.
    auto box = AnswerNextBox(QStringLiteral("&Oui"), 300);
    Form1->Poubelle7->click();
    Form1->RenameBtn->click();
    EXPECT_FALSE(box->seen);
    box->Cancel();
}

TEST_F(EntryCommandsTest, AConnectionSelectsItsOwnEntryBeforeOneDifferingInCase) {
    // Peers are files: "ligne occupée" and "Ligne occupée" are two entries.
    const QString listed = Form1->ComboBox1->itemText(0);
    Form1->ComboBox1->addItem(listed.toLower());
    Form1->SelectEntry(listed.toLower());
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), Form1->ComboBox1->count() - 1);
    Form1->SelectEntry(listed.toUpper()); // no exact match: the name found without case
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 0);
}
