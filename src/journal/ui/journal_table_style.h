#pragma once

#include <QColor>
#include <QFont>

class QTableView;

// The journal tables' looks: body font, 21-pixel rows, silver grid lines, no selection, the
// header row centred and fixed, the last column stretched, rows banded from `firstBand` and
// the window background.
QFont JournalTableFont();
constexpr int JournalColumnMargin = 20; // added to a column's widest text
constexpr int JournalRowHeight = 21;
void StyleJournalTable(QTableView* view, const QColor& firstBand);
