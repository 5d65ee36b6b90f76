#include "journal/ui/journal_window.h"

#include "app/ui/tform1.h"
#include "app/ui/windows.h"

#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

TJournal::TJournal(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Journal"));
    setWindowTitle(QStringLiteral("Journal"));
    resize(792, 573);
    auto* layout = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Détail"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Par mois"));
    layout->addWidget(PageControl1);
    FormCreate();
}

TJournal::~TJournal() = default;

void TJournal::FormCreate() {
    PageControl1->setCurrentWidget(TabSheet1);
    // The monitor starts only once the journal is there.
    if (Form1)
        Form1->Timer2->start();
}

int TJournal::RowCount() const {
    return 1;
}

void TJournal::AppendSession() {
    if (Form1)
        Form1->SaveSettings();
}

void TJournal::SaveJournal() {}
