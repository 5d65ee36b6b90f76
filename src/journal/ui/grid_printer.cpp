#include "journal/ui/grid_printer.h"

#include "base/cell_grid.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

GridPrinter::GridPrinter(const TCellGrid& grid, QPrinter& printer, const QString& title,
                         const QString& date)
    : grid(grid), printer(printer), title(title), date(date),
      font(QStringLiteral("MS Sans Serif"), 8) {
    Measure();
}

void GridPrinter::Measure() {
    const QFontMetricsF metrics(font, &printer);
    lineHeight = metrics.height();
    rowHeight = lineHeight * 1.5;
    padding = metrics.averageCharWidth();
    gap = lineHeight; // between the title and the table
    columnWidths = QList<double>(grid.ColCount(), 0);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            columnWidths[col] =
                std::max(columnWidths[col], metrics.horizontalAdvance(grid.Cells(col, row)));
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    std::vector<double> widths;
    for (double width : columnWidths)
        widths.push_back(width + 2 * padding);
    widths = FitColumnsToWidth(std::move(widths), page.width());
    tableWidth = 0;
    for (int col = 0; col < columnWidths.size(); ++col) {
        columnWidths[col] = widths[size_t(col)];
        tableWidth += columnWidths[col];
    }
    const int perPage = BodyRowsPerPage(page.height(), lineHeight, gap, 2 * lineHeight, rowHeight);
    pages = PaginateRows(grid.RowCount() - 1, perPage);
}

bool GridPrinter::Print(PageSpan span) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int i = span.begin; i < span.end; ++i) {
        if (i > span.begin)
            printer.newPage();
        PaintPage(painter, pages[size_t(i)]);
    }
    return painter.end();
}

void GridPrinter::PaintPage(QPainter& painter, const PrintPage& page) {
    // The painter's origin is the printable area's corner.
    const QRectF area(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), lineHeight), Qt::AlignCenter,
                     title);
    painter.drawText(QRectF(area.left(), area.bottom() - lineHeight, area.width(), lineHeight),
                     Qt::AlignCenter, date);
    const double left = area.left() + std::max(0.0, (area.width() - tableWidth) / 2);
    double top = area.top() + lineHeight + gap;
    PaintRow(painter, 0, left, top);
    for (int row = page.firstRow; row < page.firstRow + page.rowCount; ++row) {
        top += rowHeight;
        PaintRow(painter, row, left, top);
    }
}

void GridPrinter::PaintRow(QPainter& painter, int gridRow, double left, double top) {
    const QFontMetricsF metrics(font, &printer);
    double x = left;
    for (int col = 0; col < grid.ColCount(); ++col) {
        const QRectF cell(x, top, columnWidths[col], rowHeight);
        painter.drawRect(cell);
        const Qt::Alignment alignment =
            gridRow == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
        const QRectF text = cell.adjusted(padding, 0, -padding, 0);
        // Only a narrowed column's text is cut; the others were measured to fit.
        QString shown = grid.Cells(col, gridRow);
        if (metrics.horizontalAdvance(shown) > text.width() + 0.5)
            shown = metrics.elidedText(shown, Qt::ElideRight, text.width());
        painter.drawText(text, alignment, shown);
        x += columnWidths[col];
    }
}
