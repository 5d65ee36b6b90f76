#include "app/single_instance.h"
#include "app/ui/mini_window.h"
#include "app/ui/move_panel.h"
#include "app/ui/tray_icon.h"
#include "app/ui/windows.h"
#include "support/app_fixture.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWindow>
#include <functional>

using TrayMenuTest = AppWindowsTest;

namespace {
QStringList MenuTexts() {
    QStringList texts;
    for (QAction* action : Form1->PopupMenu1->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// Counts the times a widget is hidden.
struct HideCounter : QObject {
    int hides = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        hides += event->type() == QEvent::Hide;
        return false;
    }
};

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

    Form1->ComboBox1->addItem(QStringLiteral("A&B"));
    Form1->ComboBox1->addItem(QString(300, QLatin1Char('x')));
    Form1->PopupMenu1Popup();
    EXPECT_EQ(MenuTexts().at(3), "A&&B");     // shown as typed, no shortcut
    EXPECT_LT(MenuTexts().at(4).size(), 100); // cut in its middle
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

TEST_F(TrayMenuTest, EveryWayOfShowingTheMainWindowBringsItBackFromMinimised) {
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"icon", [] { Form1->TrayIcon1DblClick(); }},
        {"Options", [] { Form1->Test11->trigger(); }},
        {"mini window", [] { MiniWin->MovePanel1DblClick(); }},
        {"second copy", [] { emit MiniWin->OnlyOne1->RaiseRequested(); }}};
    for (const auto& [name, show] : ways) {
        Form1->show();
        Form1->setWindowState(Qt::WindowMinimized);
        show();
        EXPECT_FALSE(Form1->windowState() & Qt::WindowMinimized) << name;
        EXPECT_TRUE(Form1->isVisible()) << name;
    }
}

TEST_F(TrayMenuTest, BothMenusOpenWithTheirRightEdgeAtTheMouse) {
    MiniWin->show();
    const QPoint at = MiniWin->MovePanel1->mapToGlobal(QPoint(10, 10));
    emit MiniWin->MovePanel1->customContextMenuRequested(QPoint(10, 10));
    ASSERT_TRUE(Form1->PopupMenu1->isVisible());
    EXPECT_EQ(Form1->PopupMenu1->geometry().right() + 1, at.x());
    Form1->PopupMenu1->hide();

    QCursor::setPos(500, 300);
    emit Form1->TrayIcon1->SystemIcon()->activated(QSystemTrayIcon::Context);
    ASSERT_TRUE(Form1->PopupMenu1->isVisible());
    EXPECT_EQ(Form1->PopupMenu1->geometry().right() + 1, 500);
    Form1->PopupMenu1->hide();
}

TEST_F(TrayMenuTest, StayOnTopFollowsTheCheckBox) {
    MiniWin->show();
    const QWindow* window = MiniWin->windowHandle();
    const WId id = MiniWin->winId();
    const QPoint position = MiniWin->pos();
    HideCounter counter;
    MiniWin->installEventFilter(&counter);
    Form1->CheckBox2->setChecked(true);
    EXPECT_TRUE(MiniWin->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(MiniWin->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    Form1->CheckBox2->setChecked(false);
    EXPECT_FALSE(MiniWin->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(MiniWin->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    // The same window, where it was: neither hidden, recreated nor moved.
    EXPECT_EQ(counter.hides, 0);
    EXPECT_EQ(MiniWin->windowHandle(), window);
    EXPECT_EQ(MiniWin->winId(), id);
    EXPECT_TRUE(MiniWin->isVisible());
    EXPECT_EQ(MiniWin->pos(), position);
}
