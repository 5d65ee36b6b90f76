#pragma once

#include "base/result.h"
#include <QString>
#include <QStringList>

class IniFile;
class TCellGrid;

// One tariff: a row of the tariff table and of the tariff file.
struct TariffRow {
    QString designation;
    double peakMinuteCost = 0;    // column 1, `coutmin`
    double peakStartCost = 0;     // column 2, `coutdeb`
    int peakStartSeconds = 0;     // column 3, `durdeb`
    int allowanceHours = 0;       // column 4, `durfor`
    int consumedMinutes = 0;      // column 5, `dch` x 60 + `dcm`
    int periodStartDay = 1;       // column 6, `debfor`
    double offPeakMinuteCost = 0; // column 7, `coutminc`
    double offPeakStartCost = 0;  // column 8, `coutdebc`
    int offPeakStartSeconds = 0;  // column 9, `durdebc`

    bool operator==(const TariffRow&) const = default;
};

namespace TariffTable {
constexpr int ColumnCount = 10;

QString DefaultDesignation(); // "Tarif par défaut"
QString NewDesignation();     // "Nouveau tarif"
// 0,22 a minute in peak hours, 0,12 off-peak, period starting on day 1, nothing else.
TariffRow DefaultTariff();
// Every value 0, period starting on day 1.
TariffRow NewTariff(const QString& designation);

// The tariff grid: separator ";", numbers with five decimals, ten columns.
void PrepareGrid(TCellGrid& grid);

// Reads a row by the number rule of the grid's cells (an empty cell gives 0; whole
// quantities are rounded). Throws AppError "Cell does not contain a float value".
TariffRow ReadRow(const TCellGrid& grid, int row);
void WriteRow(TCellGrid& grid, int row, const TariffRow& values);

// What reading a tariff file gave.
struct FileLoad {
    int rows = 0; // usable tariffs now in the grid, in file order
    // A failure when the file could not be read or a row was damaged: the first error met,
    // as raised by the grid.
    Result result = Result::Success();
};
// Far beyond any real tariff file: such a file is not read.
constexpr qint64 MaxFileSize = 1024 * 1024;
// Reads the file into the grid. Rows holding a cell that is not a number are left out, so
// the grid only holds tariffs that can be shown. A file without any text (empty, or blank
// fields only) holds no tariff.
FileLoad LoadFile(TCellGrid& grid, const QString& fileName);

// A tariff's name is one line of the tariff file: line breaks and other control characters
// pasted into it become spaces.
QString SingleLineDesignation(const QString& typed);

// The item to select for the stored `ComboTarif` index: the stored one when it is in the
// list, else the first. -1 for an empty list.
int SelectedIndex(int storedIndex, int count);
// The first designation equal to name without regard to case, or -1.
int FindDesignation(const QStringList& designations, const QString& name);
// Every key of section "Associations" whose value is exactly oldName gets newName.
// Returns how many were changed. Throws AppError when the settings file cannot be written.
int RenameAssociations(IniFile& settings, const QString& oldName, const QString& newName);
// Splits a consumed time in minutes into hours and minutes ("2 h 5 min" for 125).
int ConsumedHours(int minutes);
int ConsumedRemainder(int minutes);
int ConsumedMinutes(int hours, int minutes);
} // namespace TariffTable
