#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <string>
#include <string_view>

class TCellGrid;

// The journal's file format: a line "columns,rows", a line "cw index,width" per column, then
// a line "column,row,text" per non-empty cell. Lines end with CR LF; a cell's CR and LF are
// stored as tab and backspace so that each cell stays on its line. A text that form cannot
// bring back exactly (a CR without LF, a tab beside a line break, a backspace) is written
// instead after the mark BS ESC, with ESC r, n, t, b and e standing for CR, LF, tab,
// backspace and ESC.

// Width written for a column that has none of its own.
constexpr int DefaultColumnWidth = 64;

// Reads the file into the grid (sized from its first line) and the column widths; returns
// how many cell lines lay outside the table and were ignored, plus one when lines that are
// not UTF-8 were found in a UTF-8 file (read as Windows-1252): either way the file is damaged.
// Throws AppError "Cannot open file <name>" or "File contains no data or corrupt file <name>".
int LoadFromCellFile(TCellGrid& grid, QList<int>& columnWidths, const QString& fileName);
int ReadCellFileText(TCellGrid& grid, QList<int>& columnWidths, const QByteArray& bytes,
                     const QString& fileName);

// Replaces the file safely. Throws AppError "Cannot Create <name>".
void SaveToCellFile(const TCellGrid& grid, const QList<int>& columnWidths, const QString& fileName);
QByteArray CellFileText(const TCellGrid& grid, const QList<int>& columnWidths);

// A text kept on one line of the journal or of the session checkpoint, and back.
void AppendOneLineText(QByteArray& out, std::string_view text);
// The text a one-line form stands for; `scratch` holds it when it differs from `line`.
std::string_view RestoredLineText(std::string_view line, std::string& scratch);
QString OneLineText(const QString& text);
QString RestoredLineText(const QString& line);
