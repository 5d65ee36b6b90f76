// The notification-area icon, its menu with the dial-up entries, and the ways back to the
// main window.

#include "app/application_title.h"
#include "app/ui/mini_window.h"
#include "app/ui/tray_icon.h"
#include "app/ui/windows.h"
#include "journal/ui/journal_window.h"
#include "widgets/message_box.h"
#include "widgets/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>

namespace {
constexpr int maxEntryItems = 20;
constexpr int maxEntryItemWidth = 360; // pixels
constexpr int firstEntryPosition = 3;
} // namespace

void TForm1::BuildTrayMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Test11 = PopupMenu1->addAction(QStringLiteral("&Options..."), this, &TForm1::Test11Click);
    Test11->setObjectName(QStringLiteral("Test11"));
    Journal1 = PopupMenu1->addAction(QStringLiteral("&Journal..."), this, &TForm1::Journal1Click);
    Journal1->setObjectName(QStringLiteral("Journal1"));
    N1 = PopupMenu1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Dconnecter1 =
        PopupMenu1->addAction(QStringLiteral("&Déconnecter"), this, &TForm1::Button2Click);
    Dconnecter1->setObjectName(QStringLiteral("Dconnecter1"));
    Dconnecter1->setEnabled(false);
    Test31 = PopupMenu1->addAction(QStringLiteral("&Quitter"), this, &TForm1::Test31Click);
    Test31->setObjectName(QStringLiteral("Test31"));
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TForm1::PopupMenu1Popup);

    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->SetIcon(windowIcon());
    TrayIcon1->SetPopupMenu(PopupMenu1);
    TrayIcon1->SetToolTip(ApplicationTitle());
    TrayIcon1->SetActive(true);
    connect(TrayIcon1, &TTrayIcon::OnDblClick, this, &TForm1::TrayIcon1DblClick);
}

void TForm1::CreateEntryMenuItems() {
    for (int index = 0; index < maxEntryItems; ++index) {
        auto* item = new QAction(this);
        connect(item, &QAction::triggered, this, &TForm1::MyHandler);
        EntryMenuItems.append(item);
    }
    // The separator above the entries: a separator action, without text.
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    separator->setObjectName(QStringLiteral("sep"));
    EntryMenuItems.append(separator);
}

void TForm1::TrayIcon1DblClick() {
    ShowInFront();
}

void TForm1::PopupMenu1Popup() {
    // The entry items of the previous opening are detached, never recreated.
    for (QAction* item : EntryMenuItems)
        PopupMenu1->removeAction(item);
    if (ComboBox1->count() == 0 || EntryMenuItems.isEmpty())
        return;
    QAction* separator = EntryMenuItems.last();
    PopupMenu1->insertAction(N1, separator);
    const int shown = std::min(int(ComboBox1->count()), maxEntryItems);
    for (int index = 0; index < shown; ++index) {
        QAction* item = EntryMenuItems.at(index);
        // A name is shown as typed ("&" is no shortcut) and a very long one cut in its middle,
        // so that the menu stays on the screen.
        const QString name = ComboBox1->itemText(index);
        item->setText(PopupMenu1->fontMetrics()
                          .elidedText(name, Qt::ElideMiddle, maxEntryItemWidth)
                          .replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setData(index);
        PopupMenu1->insertAction(N1, item);
    }
}

void TForm1::MyHandler() {
    auto* item = qobject_cast<QAction*>(sender());
    if (!item)
        return;
    const int position = PopupMenu1->actions().indexOf(item);
    ComboBox1->setCurrentIndex(position - firstEntryPosition);
    ChosenFromMenu = true;
    Button1Click();
    ChosenFromMenu = false;
}

void TForm1::CheckBox2Click() {
    MiniWin->SetStayOnTop(CheckBox2->isChecked());
}

void TForm1::Journal1Click() {
    if (Journal->RowCount() < 2) {
        ShowMessageBox(BoxKind::Information, QStringLiteral("Le journal est vide."));
        return;
    }
    if (!Journal->isVisible())
        Journal->exec();
}
