#pragma once

#include "base/cell_grid.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The journal export's file types, numbered as the export dialog lists them. The chart's
// images come after the five table types, so a remembered table type keeps its number.
enum class ExportType { Csv = 1, Html = 2, Text = 3, Word = 4, Spreadsheet = 5, Png = 6, Svg = 7 };
constexpr int ExportTypeCount = 5;
constexpr int ChartExportTypeCount = 7;
constexpr ExportType DefaultExportType = ExportType::Spreadsheet;

bool IsImageExport(ExportType type);
// The type of a remembered filter index (a table type); out of range gives the default.
ExportType ExportTypeFromIndex(int filterIndex);
// "csv", "htm", "txt", "doc", "xls".
QString ExportExtension(ExportType type);
// The dialog's filters in order: "Comma Separated Value (.csv) (*.csv)", ...; with the
// images, "Image PNG (.png) (*.png)" and "Image SVG (.svg) (*.svg)" last.
QStringList ExportNameFilters(bool withImages = false);
// The dialog's filter text for a type.
QString ExportNameFilter(ExportType type);
// The type whose filter text this is (the default when none).
ExportType ExportTypeOfFilter(const QString& nameFilter);

// The file actually written for the name typed in the dialog: its extension is replaced by
// the type's one, or the type's one is appended when it has none ("mai.csv" and "mai" as
// text both give "mai.txt").
QString ExportFileName(const QString& chosenName, ExportType type);

// Every cell of the grid, header row included, as one HTML page: one table 100 % wide, the
// header row in bold, each cell's text escaped, UTF-8 declared.
QByteArray GridHtml(const TCellGrid& grid);
// One CR LF ended line per row, each column padded with spaces to its longest text plus one.
QByteArray GridPlainText(const TCellGrid& grid);
// The grid as comma-separated text for the spreadsheet import: numbers written with a decimal
// point so that they arrive as numbers, every other cell as text. `textColumns` receives, for
// each column, whether it holds anything but numbers below the header.
QByteArray GridSpreadsheetCsv(const TCellGrid& grid, QList<bool>* textColumns);
// A .xls sheet holds 65 536 rows, header included: LibreOffice drops the rest without a word.
constexpr int SpreadsheetRowLimit = 65536;
// Why a grid of that many rows cannot go to a .xls file; empty when it can.
QString SpreadsheetTooLongText(int rowCount);
