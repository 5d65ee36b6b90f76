// The journal file: any content is read without harm, and the table read from it is written
// in the journal's format and read back cell for cell, column widths included.
#include "base/cell_grid.h"
#include "base/errors.h"
#include "fuzz_support.h"
#include "journal/cell_file.h"

#include <algorithm>

namespace {
QString GridText(const TCellGrid& grid, const QList<int>& widths) {
    QString text = QStringLiteral("%1x%2 widths").arg(grid.ColCount()).arg(grid.RowCount());
    for (const int width : widths)
        text += QLatin1Char(' ') + QString::number(width);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            if (!grid.Cells(col, row).isEmpty())
                text += QStringLiteral("\n[%1,%2]").arg(col).arg(row) + grid.Cells(col, row);
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Sizes from the first line are bounded by the reader; keep runs short all the same.
    if (size > 64 * 1024)
        return 0;
    const QString name = QStringLiteral("tallivo.jnl");
    TCellGrid grid;
    QList<int> widths;
    try {
        ReadCellFileText(grid, widths, InputBytes(data, size), name);
    } catch (const AppError&) {
        return 0;
    }
    const QByteArray written = CellFileText(grid, widths);
    TCellGrid again;
    QList<int> widthsAgain;
    try {
        ReadCellFileText(again, widthsAgain, written, name);
    } catch (const AppError& error) {
        RoundTripFailure("journal refused its own file", QString::fromUtf8(written),
                         error.message());
    }
    const QString before = GridText(grid, widths);
    const QString after = GridText(again, widthsAgain);
    if (before != after)
        RoundTripFailure("journal table", before, after);
    return 0;
}
