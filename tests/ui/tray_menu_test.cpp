#include "app/ui/mini_window.h"
#include "app/ui/windows.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>

using TrayMenuTest = AppWindowsTest;

namespace {
QStringList MenuTexts() {
    QStringList texts;
    for (QAction* action : Form1->PopupMenu1->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

void FillEntries(int count) {
    Form1->ComboBox1->clear();
    for (int index = 1; index <= count; ++index)
        Form1->ComboBox1->addItem(QStringLiteral("Entrée %1").arg(index));
}
} // namespace

TEST_F(TrayMenuTest, WithoutEntriesTheMenuHasOnlyItsFixedItems) {
    Form1->PopupMenu1Popup();
    EXPECT_EQ(MenuTexts(),
              QStringList({"&Options...", "&Journal...", "-", "&Déconnecter", "&Quitter"}));
}

TEST_F(TrayMenuTest, OpeningTheMenuTwiceListsEachEntryOnce) {
    FillEntries(2);
    Form1->PopupMenu1Popup();
    Form1->PopupMenu1Popup();
    EXPECT_EQ(MenuTexts(), QStringList({"&Options...", "&Journal...", "-", "Entrée 1", "Entrée 2",
                                        "-", "&Déconnecter", "&Quitter"}));
    FillEntries(0);
    Form1->PopupMenu1Popup();
    EXPECT_EQ(MenuTexts().size(), 5) << "entries deleted since are gone";
}

TEST_F(TrayMenuTest, TwentyFiveEntriesListTheFirstTwentyAndTheTwentiethSelectsIndex19) {
    FillEntries(25);
    Form1->PopupMenu1Popup();
    const QStringList texts = MenuTexts();
    ASSERT_EQ(texts.size(), 5 + 1 + 20);
    EXPECT_EQ(texts.at(3), "Entrée 1");
    EXPECT_EQ(texts.at(22), "Entrée 20");
    Form1->PopupMenu1->actions().at(22)->trigger();
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 19);
    EXPECT_FALSE(Form1->ChosenFromMenu) << "only set while the entry is dialled";
}

TEST_F(TrayMenuTest, DoubleClickOnTheIconShowsTheMainWindow) {
    Form1->hide();
    Form1->TrayIcon1DblClick();
    EXPECT_TRUE(Form1->isVisible());
    Form1->hide();
    MiniWin->MovePanel1DblClick();
    EXPECT_TRUE(Form1->isVisible());
}

TEST_F(TrayMenuTest, StayOnTopFollowsTheCheckBox) {
    Form1->CheckBox2->setChecked(true);
    EXPECT_TRUE(MiniWin->windowFlags() & Qt::WindowStaysOnTopHint);
    Form1->CheckBox2->setChecked(false);
    EXPECT_FALSE(MiniWin->windowFlags() & Qt::WindowStaysOnTopHint);
}
