// The tariff file (delimited text): any content is read without harm, and the table the
// program keeps from it is saved and read back cell for cell.
#include "base/cell_grid.h"
#include "fuzz_support.h"
#include "tariff/tariff_table.h"

#include <algorithm>

namespace {
QString GridText(const TCellGrid& grid, int columns) {
    QString text = QString::number(grid.RowCount());
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < columns; ++col)
            text += QStringLiteral("[%1,%2]").arg(col).arg(row) + grid.Cells(col, row);
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = FreshFolder();
    const QString fileName = folder + QStringLiteral("/tallivo.csv");
    WriteInputFile(fileName, InputBytes(data, size));
    TCellGrid grid;
    TariffTable::LoadFile(grid, fileName);

    const QString copy = folder + QStringLiteral("/copie.csv");
    grid.SaveToDelimitedFile(copy);
    TCellGrid again;
    TariffTable::PrepareGrid(again);
    again.LoadFromDelimitedFile(copy);
    const int columns = std::max(grid.ColCount(), again.ColCount());
    const QString written = GridText(grid, columns);
    const QString readBack = GridText(again, columns);
    if (written != readBack)
        RoundTripFailure("tariff table", written, readBack);
    return 0;
}
