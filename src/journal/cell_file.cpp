#include "journal/cell_file.h"

#include "base/cell_grid.h"
#include "base/errors.h"
#include "base/safe_write.h"
#include "base/text_encoding.h"

#include <QFile>
#include <algorithm>

namespace {
QString CorruptFileText(const QString& fileName) {
    return QStringLiteral("File contains no data or corrupt file ") + fileName;
}

int ToCount(QStringView text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

// A cell text on one line: CR as tab, LF as backspace.
void AppendCellText(QString& out, const QString& text) {
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))) {
        out += text;
        return;
    }
    for (QChar ch : text) {
        if (ch == QLatin1Char('\r'))
            ch = QLatin1Char('\t');
        else if (ch == QLatin1Char('\n'))
            ch = QLatin1Char('\b');
        out += ch;
    }
}

QString RestoredCellText(QStringView text) {
    QString result = text.toString();
    if (!result.contains(QLatin1Char('\b')))
        return result;
    result.replace(QLatin1Char('\t'), QLatin1Char('\r'));
    result.replace(QLatin1Char('\b'), QLatin1Char('\n'));
    return result;
}
} // namespace

int LoadFromCellFile(TCellGrid& grid, QList<int>& columnWidths, const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open file ") + fileName);
    const QByteArray bytes = file.readAll();
    file.close();
    return ReadCellFileText(grid, columnWidths, bytes, fileName);
}

int ReadCellFileText(TCellGrid& grid, QList<int>& columnWidths, const QByteArray& bytes,
                     const QString& fileName) {
    const QString text = DecodeFileText(bytes);
    const QStringView all(text);

    // Lines end with LF (a CR before it is dropped); cell texts hold neither.
    QList<QStringView> lines;
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = all.size();
        QStringView line = all.sliced(start, end - start);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        lines.append(line);
        start = end + 1;
    }

    const QStringView first = lines.isEmpty() ? QStringView() : lines.first();
    const qsizetype comma = first.indexOf(QLatin1Char(','));
    const int declaredColumns = comma < 0 ? 0 : ToCount(first.first(comma));
    const int declaredRows = comma < 0 ? 0 : ToCount(first.sliced(comma + 1));
    if (declaredColumns <= 0 || declaredRows <= 0)
        throw AppError(CorruptFileText(fileName));
    // Every row the program stores has at least one cell line, so a larger row count comes
    // from a damaged first line; it would only add empty rows, by the million.
    const int columns = std::min(declaredColumns, 10'000);
    const int rowCount = int(std::min<qsizetype>(declaredRows, lines.size()));

    grid.BeginUpdate();
    grid.Clear();
    grid.SetColCount(columns);
    grid.SetRowCount(rowCount);
    columnWidths = QList<int>(columns, DefaultColumnWidth);
    int ignored = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        const qsizetype firstComma = line.indexOf(QLatin1Char(','));
        if (firstComma < 0)
            continue;
        if (line.startsWith(QLatin1String("cw"))) {
            bool indexOk = false, widthOk = false;
            const int index = line.sliced(0, firstComma)
                                  .sliced(std::min<qsizetype>(3, firstComma))
                                  .trimmed()
                                  .toInt(&indexOk);
            const int width = line.sliced(firstComma + 1).trimmed().toInt(&widthOk);
            if (indexOk && widthOk && index >= 0 && index < columns)
                columnWidths[index] = width;
            continue;
        }
        const qsizetype secondComma = line.indexOf(QLatin1Char(','), firstComma + 1);
        if (secondComma < 0)
            continue;
        bool colOk = false, rowOk = false;
        const int col = line.first(firstComma).toInt(&colOk);
        const int row = line.sliced(firstComma + 1, secondComma - firstComma - 1).toInt(&rowOk);
        if (!colOk || !rowOk || col < 0 || col >= columns || row < 0 || row >= rowCount) {
            ++ignored;
            continue;
        }
        grid.SetCells(col, row, RestoredCellText(line.sliced(secondComma + 1)));
    }
    grid.EndUpdate();
    return ignored;
}

QByteArray CellFileText(const TCellGrid& grid, const QList<int>& columnWidths) {
    const int columns = grid.ColCount();
    const int rowCount = grid.RowCount();
    QString out;
    out.reserve(qsizetype(rowCount) * columns * 16 + 64);
    const QLatin1String lineEnd("\r\n");
    out += QString::number(columns) + QLatin1Char(',') + QString::number(rowCount) + lineEnd;
    for (int col = 0; col < columns; ++col)
        out += QLatin1String("cw ") + QString::number(col) + QLatin1Char(',') +
               QString::number(columnWidths.value(col, DefaultColumnWidth)) + lineEnd;
    for (int row = 0; row < rowCount; ++row) {
        const QString rowText = QString::number(row);
        for (int col = 0; col < columns; ++col) {
            const QString cell = grid.Cells(col, row);
            if (cell.isEmpty())
                continue;
            out += QString::number(col);
            out += QLatin1Char(',');
            out += rowText;
            out += QLatin1Char(',');
            AppendCellText(out, cell);
            out += lineEnd;
        }
    }
    return EncodeFileText(out);
}

void SaveToCellFile(const TCellGrid& grid, const QList<int>& columnWidths,
                    const QString& fileName) {
    if (!WriteFileSafely(fileName, CellFileText(grid, columnWidths)))
        throw AppError(QStringLiteral("Cannot Create ") + fileName);
}
