#include "tariff/tariff_table.h"

#include "base/cell_grid.h"
#include "base/errors.h"
#include "base/ini_file.h"

#include <QFileInfo>
#include <QList>
#include <cmath>
#include <limits>

namespace TariffTable {
namespace {
const QString associations = QStringLiteral("Associations");

int WholeNumber(double value) {
    const double rounded = std::round(value);
    if (rounded >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (rounded <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

bool RowIsBlank(const TCellGrid& grid, int row) {
    for (int col = 0; col < grid.ColCount(); ++col)
        if (!grid.Cells(col, row).trimmed().isEmpty())
            return false;
    return true;
}
} // namespace

QString DefaultDesignation() {
    return QStringLiteral("Tarif par défaut");
}
QString NewDesignation() {
    return QStringLiteral("Nouveau tarif");
}

TariffRow DefaultTariff() {
    TariffRow values;
    values.designation = DefaultDesignation();
    values.peakMinuteCost = 0.22;
    values.offPeakMinuteCost = 0.12;
    values.periodStartDay = 1;
    return values;
}

TariffRow NewTariff(const QString& designation) {
    TariffRow values;
    values.designation = designation;
    return values;
}

void PrepareGrid(TCellGrid& grid) {
    grid.SetSeparator(QLatin1Char(';'));
    grid.SetFloatFormat(QStringLiteral("%.5f"));
    if (grid.ColCount() < ColumnCount)
        grid.SetColCount(ColumnCount);
}

TariffRow ReadRow(const TCellGrid& grid, int row) {
    TariffRow values;
    values.designation = grid.Cells(0, row);
    values.peakMinuteCost = grid.FloatCell(1, row);
    values.peakStartCost = grid.FloatCell(2, row);
    values.peakStartSeconds = WholeNumber(grid.FloatCell(3, row));
    values.allowanceHours = WholeNumber(grid.FloatCell(4, row));
    values.consumedMinutes = WholeNumber(grid.FloatCell(5, row));
    values.periodStartDay = WholeNumber(grid.FloatCell(6, row));
    values.offPeakMinuteCost = grid.FloatCell(7, row);
    values.offPeakStartCost = grid.FloatCell(8, row);
    values.offPeakStartSeconds = WholeNumber(grid.FloatCell(9, row));
    return values;
}

void WriteRow(TCellGrid& grid, int row, const TariffRow& values) {
    grid.SetCells(0, row, values.designation);
    grid.SetFloatCell(1, row, values.peakMinuteCost);
    grid.SetFloatCell(2, row, values.peakStartCost);
    grid.SetFloatCell(3, row, values.peakStartSeconds);
    grid.SetFloatCell(4, row, values.allowanceHours);
    grid.SetFloatCell(5, row, values.consumedMinutes);
    grid.SetFloatCell(6, row, values.periodStartDay);
    grid.SetFloatCell(7, row, values.offPeakMinuteCost);
    grid.SetFloatCell(8, row, values.offPeakStartCost);
    grid.SetFloatCell(9, row, values.offPeakStartSeconds);
}

FileLoad LoadFile(TCellGrid& grid, const QString& fileName) {
    FileLoad outcome;
    grid.Clear();
    PrepareGrid(grid);
    if (QFileInfo(fileName).size() > MaxFileSize)
        return {0, Result::Failure(
                       QStringLiteral("Le fichier des tarifs %1 dépasse 1 Mio : il n'a pas été lu.")
                           .arg(fileName))};
    try {
        // The program never puts a line break in a tariff's cell: a bare LF is a line's end,
        // as in a line added on Linux to a file written here.
        grid.LoadFromDelimitedFile(fileName, TCellGrid::BareLineFeed::EndsLine);
    } catch (const AppError& error) {
        grid.Clear();
        return {0, Result::Failure(error.message())};
    }
    if (grid.RowCount() == 1 && RowIsBlank(grid, 0))
        return outcome;

    QList<int> damaged;
    for (int row = 0; row < grid.RowCount(); ++row) {
        try {
            ReadRow(grid, row);
        } catch (const AppError& error) {
            if (outcome.result)
                outcome.result = Result::Failure(error.message());
            damaged.append(row);
        }
    }
    outcome.rows = grid.RowCount() - static_cast<int>(damaged.size());
    grid.BeginUpdate();
    for (qsizetype i = damaged.size() - 1; i >= 0; --i)
        grid.RemoveRow(damaged[i]); // the last one left is emptied, not removed
    grid.EndUpdate();
    return outcome;
}

QString SingleLineDesignation(const QString& typed) {
    QString name = typed;
    for (QChar& ch : name)
        if (ch.category() == QChar::Other_Control || ch == QChar::LineSeparator ||
            ch == QChar::ParagraphSeparator)
            ch = QLatin1Char(' ');
    return name;
}

int SelectedIndex(int storedIndex, int count) {
    if (count <= 0)
        return -1;
    return storedIndex >= 0 && storedIndex < count ? storedIndex : 0;
}

int FindDesignation(const QStringList& designations, const QString& name) {
    for (int i = 0; i < designations.size(); ++i)
        if (designations[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int RenameAssociations(IniFile& settings, const QString& oldName, const QString& newName) {
    if (oldName == newName)
        return 0;
    int renamed = 0;
    for (const auto& [key, value] : settings.ReadSectionValues(associations)) {
        if (value != oldName)
            continue;
        settings.WriteString(associations, key, newName);
        ++renamed;
    }
    return renamed;
}

int ConsumedHours(int minutes) {
    return minutes / 60;
}
int ConsumedRemainder(int minutes) {
    return minutes % 60;
}

int ConsumedMinutes(int hours, int minutes) {
    return hours * 60 + minutes;
}
} // namespace TariffTable
