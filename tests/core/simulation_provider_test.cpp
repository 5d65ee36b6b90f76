#include "base/ini_file.h"
#include "base/program_files.h"
#include "core/dialup_test_support.h"
#include "dialup/dialup_settings.h"
#include "dialup/simulation_provider.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {
class SimulationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SimulationProvider::SetTimeScale(0.01);
        provider = std::make_shared<SimulationProvider>(SimulationProvider::DefaultPhonebookFile());
        provider->EndedVisibleMs = 300;
        libraries = std::make_unique<ScopedRasLibraries>(provider);
        ras = std::make_unique<TRAS>();
        QObject::connect(ras.get(), &TRAS::OnStateChanged, [this] { states << ras->ConnectState; });
        ASSERT_TRUE(ras->RasAvailable());
    }
    void TearDown() override {
        ras.reset();
        libraries.reset();
        SimulationProvider::SetTimeScale(1.0);
    }
    void DialAndWait(const QString& entry) { DIAL_AND_WAIT(ras, entry); }

    ScopedProgramFolder folder;
    std::shared_ptr<SimulationProvider> provider;
    std::unique_ptr<ScopedRasLibraries> libraries;
    std::unique_ptr<TRAS> ras;
    QList<quint16> states;
};
} // namespace

TEST_F(SimulationTest, PhonebookOfExamplesIsWrittenBesideTheProgram) {
    EXPECT_EQ(SimulationProvider::DefaultPhonebookFile(),
              folder.file(QStringLiteral("tallivo-modem.ini")));
    ras->EnumEntries();
    EXPECT_EQ(ras->Entries, QStringList({"Simulation 56K", "Ligne occupée", "Pas de réponse",
                                         "Mot de passe refusé", "Coupure après 60 s"}));
    ras->EntryName = QStringLiteral("Simulation 56K");
    ASSERT_EQ(ras->GetEntryProperties(), 0);
    EXPECT_EQ(ras->PhoneNumber, QStringLiteral("0860123456"));
    EXPECT_EQ(ras->DeviceName, QStringLiteral("Modem simulé 56K"));
    EXPECT_EQ(ras->DevicePort, QStringLiteral("/dev/ttyS0"));
    ASSERT_EQ(ras->GetDialParams(), 0);
    EXPECT_EQ(ras->UserName, QStringLiteral("demo"));
}

TEST_F(SimulationTest, ConnectsThroughTheWholeSequenceAndCountsLikeAModem) {
    DialAndWait(QStringLiteral("Simulation 56K"));
    EXPECT_EQ(ras->ConnectState, Ras::Connected);
    EXPECT_EQ(states, QList<quint16>({0, 1, 2, 3, 4, 5, 14, 18, 8192}));
    EXPECT_TRUE(ras->LinkUp());
    EXPECT_EQ(ras->GetIPAddresses(), 0);
    EXPECT_TRUE(ras->ClientIP.startsWith(QStringLiteral("192.0.2.")));
    EXPECT_EQ(ras->ServerIP, QStringLiteral("192.0.2.1"));
    ASSERT_TRUE(ras->ReadStats());
    const qint32 first = ras->StatsRecv;
    QThread::msleep(30); // three modem seconds
    ras->ReadStats();
    EXPECT_GT(ras->StatsRecv, first + 5000);
    EXPECT_GT(ras->StatsRecv, ras->StatsXmit);
    EXPECT_EQ(ras->Disconnect(), 0);
    ras->EnumConnections();
    EXPECT_EQ(ras->Connections.Count(), 0);
    EXPECT_FALSE(ras->LinkUp());
}

TEST_F(SimulationTest, FailingEntriesEndInTheirErrors) {
    const QList<QPair<QString, int>> cases = {{QStringLiteral("Ligne occupée"), 676},
                                              {QStringLiteral("Pas de réponse"), 678},
                                              {QStringLiteral("Mot de passe refusé"), 691}};
    for (const auto& [entry, error] : cases) {
        states.clear();
        DialAndWait(entry);
        EXPECT_EQ(ras->ConnectState, error) << entry.toStdString();
        EXPECT_EQ(ras->StatusStr, ras->ErrorText(error));
        EXPECT_FALSE(states.contains(Ras::Connected));
        ras->Disconnect();
    }
}

TEST_F(SimulationTest, LineDropsAfterTheGivenTime) {
    DialAndWait(QStringLiteral("Coupure après 60 s"));
    ASSERT_EQ(ras->ConnectState, Ras::Connected);
    ASSERT_TRUE(WaitFor([this] { return ras->ConnectState == Ras::RemoteDisconnection; }));
    ras->EnumConnections();
    ASSERT_EQ(ras->Connections.Count(), 1);
    QString text;
    ras->StatusText(&text);
    EXPECT_EQ(text, QStringLiteral("La connexion a été coupée par l'ordinateur distant."));
    EXPECT_FALSE(ras->LinkUp());
    ASSERT_TRUE(WaitFor([this] {
        ras->EnumConnections();
        return ras->Connections.Count() == 0;
    }));
}

TEST_F(SimulationTest, EntriesCanBeChangedRenamedAndDeleted) {
    IniFile book(SimulationProvider::DefaultPhonebookFile());
    book.WriteInteger(QStringLiteral("Simulation 56K"), QStringLiteral("CountryCode"), 33);
    book.WriteString(QStringLiteral("Simulation 56K"), QStringLiteral("AreaCode"),
                     QStringLiteral("1"));
    ras->EntryName = QStringLiteral("Simulation 56K");
    ras->GetEntryProperties();
    EXPECT_EQ(ras->PhoneCanonical, QStringLiteral("+33 (1) 0860123456"));
    ras->UserName = QStringLiteral("paul");
    ras->Password = QStringLiteral("pw");
    ASSERT_EQ(ras->SetDialParams(), 0);
    // It holds passwords: its owner's only, also after a write.
    EXPECT_EQ(QFile::permissions(SimulationProvider::DefaultPhonebookFile()),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(ras->ValidateName(QStringLiteral("Ligne occupée")), Ras::AlreadyExists);
    EXPECT_EQ(ras->ValidateName(QStringLiteral("a]b")), Ras::InvalidName);
    ASSERT_EQ(ras->RenameEntry(QStringLiteral("Mon FAI")), 0);
    ras->GetDialParams();
    EXPECT_EQ(ras->UserName, QStringLiteral("paul"));
    EXPECT_EQ(ras->Password, QStringLiteral("pw"));
    ASSERT_EQ(ras->DeleteEntry(), 0);
    ras->EnumEntries();
    EXPECT_FALSE(ras->Entries.contains(QStringLiteral("Mon FAI")));
    EXPECT_EQ(ras->Entries.size(), 4);
}

TEST_F(SimulationTest, EveryListedNameCanBeReadRenamedAndDeleted) {
    // Section lines the reader cuts at the first "]" and trims: listed as the reader sees them.
    const QString file = SimulationProvider::DefaultPhonebookFile();
    WriteWholeFile(file, "[a]b]\nPhoneNumber=1\n[  blancs  ]\nPhoneNumber=2\n"
                         "[Casse]\nPhoneNumber=3\nUserName=u\n");
    ras->EnumEntries();
    EXPECT_EQ(ras->Entries, QStringList({"a", "blancs", "Casse"}));
    ras->EntryName = QStringLiteral("blancs");
    ASSERT_EQ(ras->GetEntryProperties(), 0);
    EXPECT_EQ(ras->PhoneNumber, QStringLiteral("2"));
    ASSERT_EQ(ras->RenameEntry(QStringLiteral("b")), 0);
    ras->EntryName = QStringLiteral("a");
    ASSERT_EQ(ras->DeleteEntry(), 0);
    // A name differing in letter case only is a new name.
    ras->EntryName = QStringLiteral("Casse");
    ASSERT_EQ(ras->RenameEntry(QStringLiteral("casse")), 0);
    ras->EnumEntries();
    EXPECT_EQ(ras->Entries, QStringList({"b", "casse"}));
    ASSERT_EQ(ras->GetDialParams(), 0);
    EXPECT_EQ(ras->UserName, QStringLiteral("u"));
    // Names the file cannot hold are refused where they are entered.
    for (const QString& name :
         {QStringLiteral("x]"), QStringLiteral("[x"), QStringLiteral(" x"), QStringLiteral("x\t")})
        EXPECT_EQ(ras->ValidateName(name), Ras::InvalidName) << name.toStdString();
}

TEST_F(SimulationTest, AnEntryBeingDialledIsNeitherRenamedNorDeleted) {
    DialAndWait(QStringLiteral("Simulation 56K"));
    EXPECT_EQ(ras->DeleteEntry(), Ras::EntryInUse);
    EXPECT_EQ(ras->RenameEntry(QStringLiteral("Autre")), Ras::EntryInUse);
    ras->EnumEntries();
    EXPECT_TRUE(ras->Entries.contains(QStringLiteral("Simulation 56K")));
    ras->HangUp();
}

TEST(DialupSettingsTest, ProviderIsChosenInItsOwnSectionOfTheSettings) {
    ScopedProgramFolder folder;
    const bool pppd = QFileInfo(DialupSettings::DefaultPppdPath).isExecutable();
    EXPECT_EQ(ConfiguredProviderName(), pppd ? QStringLiteral("pppd") : QStringLiteral("none"));
    IniFile settings(ProgramFiles::SettingsFileName());
    settings.WriteString(QStringLiteral("MainW"), QStringLiteral("Top"), QStringLiteral("10"));
    settings.WriteString(QStringLiteral("Dialup"), QStringLiteral("Provider"),
                         QStringLiteral("Simulation"));
    EXPECT_EQ(ConfiguredProviderName(), QStringLiteral("simulation"));
    RasLibrary first = CreateConfiguredProvider();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Kind(), QStringLiteral("simulation"));
    EXPECT_EQ(CreateConfiguredProvider(), first); // one per process, shared
    settings.WriteString(QStringLiteral("Dialup"), QStringLiteral("Provider"),
                         QStringLiteral("none"));
    EXPECT_FALSE(CreateConfiguredProvider());
    TRAS ras;
    EXPECT_FALSE(ras.RasAvailable());
    EXPECT_EQ(ras.StatusStr, QStringLiteral("RASAPI32.DLL Not Available"));
    settings.WriteString(QStringLiteral("Dialup"), QStringLiteral("Provider"),
                         QStringLiteral("modem?"));
    EXPECT_EQ(ConfiguredProviderName(), pppd ? QStringLiteral("pppd") : QStringLiteral("none"));
}
