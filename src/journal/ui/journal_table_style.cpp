#include "journal/ui/journal_table_style.h"

#include <QHeaderView>
#include <QPalette>
#include <QTableView>

QFont JournalTableFont() {
    return QFont(QStringLiteral("Tahoma"), 8);
}

void StyleJournalTable(QTableView* view, const QColor& firstBand) {
    view->setFont(JournalTableFont());
    view->setGridStyle(Qt::SolidLine);
    view->setStyleSheet(QStringLiteral("QTableView { gridline-color: silver; }"));
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFocusPolicy(Qt::NoFocus);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(JournalRowHeight);
    view->verticalHeader()->setMinimumSectionSize(JournalRowHeight);
    view->horizontalHeader()->setFixedHeight(JournalRowHeight);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    view->horizontalHeader()->setSectionsClickable(false);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setAlternatingRowColors(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, firstBand);
    palette.setColor(QPalette::AlternateBase, view->palette().color(QPalette::Window));
    view->setPalette(palette);
}
