#pragma once

#include "journal/print_layout.h"

#include <QFont>
#include <QList>
#include <QString>
#include <vector>

class QPainter;
class QPrinter;
class TCellGrid;

// Prints a cell grid whole on a printer: the title at the top centre, the date at the bottom
// centre, the table centred under it with single solid cell borders, at its natural size,
// its header row repeated on each page.
class GridPrinter {
  public:
    GridPrinter(const TCellGrid& grid, QPrinter& printer, const QString& title,
                const QString& date);

    int PageCount() const { return int(pages.size()); }
    // Prints the pages [span.begin, span.end); false when the printer could not start.
    bool Print(PageSpan span);

  private:
    void Measure();
    void PaintPage(QPainter& painter, const PrintPage& page);
    void PaintRow(QPainter& painter, int gridRow, double left, double top);

    const TCellGrid& grid;
    QPrinter& printer;
    QString title;
    QString date;
    QFont font;
    QList<double> columnWidths;
    double tableWidth = 0;
    double rowHeight = 0;
    double lineHeight = 0;
    double gap = 0;
    double padding = 0;
    std::vector<PrintPage> pages;
};
