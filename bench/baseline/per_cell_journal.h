#pragma once

// The journal store as it was before its cells shared one buffer: one QString per cell in a
// list of rows, the file decoded whole into UTF-16 and built whole as UTF-16 before encoding,
// the period facts read from every row at the first query and duplicates found by hashing
// every row. Kept only as the benchmarks' baseline.

#include "base/cell_grid.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/text_encoding.h"
#include "base/text_functions.h"
#include "journal/allowance_period.h"

#include <QFile>
#include <QList>
#include <QSet>
#include <QStringList>

class PerCellJournal {
  public:
    QList<QStringList> rows{QStringList()};
    int columns = 8;

    QString Cells(int col, int row) const {
        const QStringList& cells = rows[row];
        return col < cells.size() ? cells[col] : QString();
    }
    void SetCells(int col, int row, const QString& text) {
        QStringList& cells = rows[row];
        if (col >= cells.size()) {
            if (text.isEmpty())
                return;
            cells.resize(col + 1);
        }
        cells[col] = text;
    }

    void Load(const QString& fileName) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            throw AppError(QStringLiteral("Cannot open file ") + fileName);
        const QString text = DecodeFileText(file.readAll());
        const QStringView all(text);
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
        const QStringView first = lines.first();
        const qsizetype comma = first.indexOf(QLatin1Char(','));
        columns = first.first(comma).toInt();
        const int rowCount =
            int(std::min<qsizetype>(first.sliced(comma + 1).toInt(), lines.size()));
        rows = QList<QStringList>(rowCount);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QStringView line = lines[i];
            const qsizetype firstComma = line.indexOf(QLatin1Char(','));
            if (firstComma < 0 || line.startsWith(QLatin1String("cw")))
                continue;
            const qsizetype secondComma = line.indexOf(QLatin1Char(','), firstComma + 1);
            const int col = line.first(firstComma).toInt();
            const int row = line.sliced(firstComma + 1, secondComma - firstComma - 1).toInt();
            QString cell = line.sliced(secondComma + 1).toString();
            if (cell.contains(QLatin1Char('\b')))
                cell.replace(QLatin1Char('\t'), QLatin1Char('\r'))
                    .replace(QLatin1Char('\b'), QLatin1Char('\n'));
            if (col >= 0 && col < columns && row >= 0 && row < rowCount)
                SetCells(col, row, cell);
        }
    }

    QByteArray FileText() const {
        QString out;
        out.reserve(qsizetype(rows.size()) * columns * 16 + 64);
        const QLatin1String lineEnd("\r\n");
        out += QString::number(columns) + QLatin1Char(',') + QString::number(rows.size()) + lineEnd;
        for (int col = 0; col < columns; ++col)
            out += QLatin1String("cw ") + QString::number(col) + QLatin1String(",64") + lineEnd;
        for (int row = 0; row < rows.size(); ++row) {
            const QString rowText = QString::number(row);
            for (int col = 0; col < columns; ++col) {
                const QString cell = Cells(col, row);
                if (cell.isEmpty())
                    continue;
                out += QString::number(col) + QLatin1Char(',') + rowText + QLatin1Char(',') + cell +
                       lineEnd;
            }
        }
        return EncodeFileText(out);
    }

    // The period sums as the first tick after a load computed them: every row read again.
    qint64 PeriodSeconds(const QDate& today, int firstDay, const QString& tariff) const {
        qint64 seconds = 0;
        double cost = 0;
        for (int row = 1; row < rows.size(); ++row) {
            if (Cells(1, row) != tariff ||
                !InAllowancePeriod(ParseDateText(Cells(2, row)), today, firstDay))
                continue;
            seconds += DurationSeconds(Cells(4, row)).value_or(0);
            try {
                cost += CellTextToFloat(Cells(7, row));
            } catch (const AppError&) {
            }
        }
        return seconds + qint64(cost);
    }

    // Duplicates as a session's end looked for them: every row hashed again.
    int CountDuplicates() const {
        QSet<QStringList> seen;
        seen.reserve(rows.size());
        int duplicates = 0;
        for (int row = 1; row < rows.size(); ++row) {
            QStringList cells = rows[row];
            cells.resize(columns);
            if (seen.contains(cells))
                ++duplicates;
            else
                seen.insert(cells);
        }
        return duplicates;
    }
};
