// Quitting while a connection is up: the second question decides whether the line is closed.

#include "app/ui/windows.h"
#include "dialup/tras.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"

#include <QComboBox>
#include <QTimer>

namespace {
class QuitWithConnectionTest : public SimulatedModemTest {
  protected:
    void SetUp() override {
        SimulatedModemTest::SetUp();
        Dial(QStringLiteral("Simulation 56K"));
        Form1->PollConnection();
    }
    bool LineStillListed() {
        Form1->RAS->EnumConnections();
        return Form1->RAS->Connections.Count() > 0;
    }
};
} // namespace

TEST_F(QuitWithConnectionTest, AnnulerCancelsTheQuit) {
    ASSERT_NE(Form1->RAS->RASConn, 0u);
    const auto boxes = AnswerBoxes({QStringLiteral("&Oui"), QStringLiteral("Annuler")});
    const auto& second = boxes.at(1);
    Form1->Test31Click();
    EXPECT_TRUE(second->seen);
    EXPECT_EQ(second->text, "Voulez-vous aussi fermer la connexion à Internet ?");
    EXPECT_EQ(exitRequests, 0);
    EXPECT_NE(Form1->RAS->RASConn, 0u);
    EXPECT_TRUE(LineStillListed());
}

TEST_F(QuitWithConnectionTest, NonEndsTheProgramAndLeavesTheLineUp) {
    ASSERT_NE(Form1->RAS->RASConn, 0u);
    const auto boxes = AnswerBoxes({QStringLiteral("&Oui"), QStringLiteral("&Non")});
    const auto& second = boxes.at(1);
    Form1->Test31Click();
    EXPECT_TRUE(second->seen);
    EXPECT_EQ(exitRequests, 1);
    EXPECT_EQ(Form1->RAS->RASConn, 0u) << "the component forgets the connection";
    EXPECT_TRUE(LineStillListed()) << "but the line stays up";
}

TEST_F(QuitWithConnectionTest, OuiHangsUpThenEnds) {
    const auto boxes = AnswerBoxes({QStringLiteral("&Oui"), QStringLiteral("&Oui")});
    const auto& second = boxes.at(1);
    Form1->Test31Click();
    EXPECT_TRUE(second->seen);
    EXPECT_EQ(exitRequests, 1);
    EXPECT_EQ(Form1->RAS->RASConn, 0u);
}
