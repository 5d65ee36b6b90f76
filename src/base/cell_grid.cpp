#include "base/cell_grid.h"

#include "base/ascii_digits.h"
#include "base/errors.h"
#include "base/formats.h"
#include "base/regular_file.h"
#include "base/safe_write.h"
#include "base/text_encoding.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {
constexpr QChar quote = QLatin1Char('"');
constexpr QChar decimalComma = QLatin1Char(',');
constexpr char endOfFile = 26; // Ctrl-Z

bool IsAsciiDigit(QChar ch) {
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

// The thousands separator of the user's regional settings. A comma or a point would clash
// with the program's decimal comma and with the decimal point that cells may hold, so
// numbers written by the grid would not read back; such a setting counts as none.
QChar ThousandsSeparator() {
    const QString group = QLocale::system().groupSeparator();
    if (group.size() != 1 || group == QLatin1String(",") || group == QLatin1String("."))
        return QChar();
    return group.at(0);
}

// A doubled quote gives one quote: of a run of quotes, every second one is dropped.
QString Unquote(QStringView text) {
    QString result;
    result.reserve(text.size());
    bool previousKeptQuote = false;
    for (const QChar ch : text) {
        if (ch == quote && previousKeptQuote) {
            previousKeptQuote = false;
            continue;
        }
        result.append(ch);
        previousKeptQuote = ch == quote;
    }
    return result;
}

// The closing quote of a quoted field whose text starts at `start`: the last character of
// the line when a run of quotes reaches it, otherwise the last quote of the first run of
// odd length (a lone quote, or doubled quotes followed by the closing one). -1 if none.
qsizetype FindClosingQuote(QStringView line, qsizetype start) {
    const qsizetype end = line.size();
    qsizetype i = start;
    while (i < end) {
        if (line[i] != quote) {
            ++i;
            continue;
        }
        qsizetype runEnd = i;
        while (runEnd < end && line[runEnd] == quote)
            ++runEnd;
        if (runEnd == end || (runEnd - i) % 2 == 1)
            return runEnd - 1;
        i = runEnd;
    }
    return -1;
}

QString WithCrLf(QString text) {
    if (text.contains(QLatin1Char('\n')))
        text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return text;
}
} // namespace

TCellGrid::TCellGrid(QObject* parent) : QAbstractTableModel(parent) {
    rows.resize(1);
}

void TCellGrid::SetRowCount(int count) {
    count = std::max(count, 1);
    const int current = RowCount();
    if (count == current)
        return;
    const bool notify = updateDepth == 0;
    if (count > current) {
        if (notify)
            beginInsertRows(QModelIndex(), current, count - 1);
        rows.resize(count);
        if (notify)
            endInsertRows();
    } else {
        if (notify)
            beginRemoveRows(QModelIndex(), count, current - 1);
        for (int row = count; row < current; ++row)
            ForgetRowText(row);
        rows.resize(count);
        if (notify)
            endRemoveRows();
        CompactIfWasteful();
    }
}

void TCellGrid::SetColCount(int count) {
    count = std::max(count, 1);
    if (count == columns)
        return;
    const bool notify = updateDepth == 0;
    if (count > columns) {
        if (notify)
            beginInsertColumns(QModelIndex(), columns, count - 1);
        columns = count;
        if (notify)
            endInsertColumns();
    } else {
        if (notify)
            beginRemoveColumns(QModelIndex(), count, columns - 1);
        for (RowText& row : rows)
            if (row.count > quint32(count)) {
                unusedBytes += (row.count - count) * row.endWidth;
                row.count = count;
            }
        columns = count;
        if (notify)
            endRemoveColumns();
    }
}

int TCellGrid::StoredCellCount(int row) const {
    return row >= 0 && row < RowCount() ? int(rows[row].count) : 0;
}

QString Utf8CellText(std::string_view text) {
    if (text.substr(0, 3) != "\xEF\xBB\xBF")
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(text.data(), qsizetype(text.size())));
}

QString TCellGrid::Cells(int col, int row) const {
    return Utf8CellText(CellUtf8(col, row));
}

void TCellGrid::ForgetRowText(int row) {
    const RowText& old = rows[row];
    unusedBytes += RowLength(old) + old.count * old.endWidth;
    rows[row] = RowText();
}

// Writes the row's cells at the end of the buffer; the old ones become unused.
void TCellGrid::StoreRow(int row, const std::string_view* cells, int count) {
    count = std::min(count, columns);
    while (count > 0 && cells[count - 1].empty())
        --count;
    size_t total = 0;
    bool inGrid = false;
    for (int col = 0; col < count; ++col) {
        total += cells[col].size();
        inGrid = inGrid || (cells[col].data() >= text.data() &&
                            cells[col].data() < text.data() + text.size());
    }
    if (text.size() + total > std::numeric_limits<quint32>::max())
        throw std::length_error("cell text beyond 4 GiB");
    if (quint32(count) > maxCellsInRow)
        throw std::length_error("more cells in a row than a grid holds");
    std::string copy;
    std::vector<std::string_view> copied;
    if (inGrid) { // growing the buffer would move the texts being stored
        copy.reserve(total);
        for (int col = 0; col < count; ++col) {
            copied.emplace_back(copy.data() + copy.size(), cells[col].size());
            copy.append(cells[col]);
        }
        cells = copied.data();
    }
    ForgetRowText(row);
    if (count == 0)
        return;
    RowText stored;
    stored.start = quint32(text.size());
    stored.count = quint32(count);
    stored.endWidth = total < 0x100 ? 1 : total < 0x10000 ? 2 : 4;
    if (endBytes.size() + size_t(count) * stored.endWidth > std::numeric_limits<quint32>::max())
        throw std::length_error("cell offsets beyond 4 GiB");
    stored.firstEnd = quint32(endBytes.size());
    endBytes.resize(endBytes.size() + size_t(count) * stored.endWidth);
    char* endByte = endBytes.data() + stored.firstEnd;
    quint32 end = 0;
    for (int col = 0; col < count; ++col) {
        text.append(cells[col]);
        end += quint32(cells[col].size());
        for (quint32 i = 0; i < stored.endWidth; ++i)
            *endByte++ = char((end >> (8 * i)) & 0xFF);
    }
    rows[row] = stored;
}

void TCellGrid::SetRowCellsUtf8(int row, const std::string_view* cells, int count) {
    if (row < 0 || row >= RowCount())
        return;
    StoreRow(row, cells, count);
    CompactIfWasteful();
}

void TCellGrid::Reserve(size_t bytes, int rowCount) {
    text.reserve(text.size() + bytes);
    if (rowCount > RowCount())
        rows.reserve(rowCount);
    endBytes.reserve(endBytes.size() + size_t(std::max(rowCount, 0)) * columns);
}

// Rewrites the buffer without the cells replaced since, once they fill half of it, so that
// editing costs amortised O(1) and the memory stays near the live text.
void TCellGrid::CompactIfWasteful() {
    if (unusedBytes < 4096 || unusedBytes * 2 < text.size() + endBytes.size())
        return;
    std::string liveText;
    std::string liveEnds;
    liveText.reserve(text.size() - std::min(unusedBytes, text.size()));
    for (RowText& row : rows) {
        if (row.count == 0)
            continue;
        const quint32 start = quint32(liveText.size());
        liveText.append(text, row.start, RowLength(row));
        const quint32 firstEnd = quint32(liveEnds.size());
        liveEnds.append(endBytes, row.firstEnd, size_t(row.count) * row.endWidth);
        row.start = start;
        row.firstEnd = firstEnd;
    }
    text = std::move(liveText);
    endBytes = std::move(liveEnds);
    unusedBytes = 0;
}

namespace {
// UTF-8 copies of texts and views on them, for StoreRow.
struct Utf8Cells {
    explicit Utf8Cells(const QStringList& cells) {
        bytes.reserve(cells.size());
        for (const QString& cell : cells)
            bytes.append(cell.toUtf8());
        for (const QByteArray& cell : bytes)
            views.emplace_back(cell.constData(), size_t(cell.size()));
    }
    QList<QByteArray> bytes;
    std::vector<std::string_view> views;
};
} // namespace

void TCellGrid::SetCells(int col, int row, const QString& cellText) {
    if (!Contains(col, row))
        return;
    const RowText& current = rows[row];
    if (quint32(col) >= current.count && cellText.isEmpty())
        return;
    const QByteArray bytes = cellText.toUtf8();
    std::vector<std::string_view> cells(std::max<size_t>(current.count, size_t(col) + 1));
    for (size_t i = 0; i < current.count; ++i)
        cells[i] = CellUtf8(int(i), row);
    cells[col] = std::string_view(bytes.constData(), size_t(bytes.size()));
    StoreRow(row, cells.data(), int(cells.size()));
    CompactIfWasteful();
    if (updateDepth == 0) {
        const QModelIndex changed = index(row, col);
        emit dataChanged(changed, changed);
    }
}

QStringList TCellGrid::RowCells(int row) const {
    QStringList cells;
    if (row < 0 || row >= RowCount())
        return cells;
    cells.reserve(columns);
    for (int col = 0; col < columns; ++col)
        cells.append(Cells(col, row));
    return cells;
}

void TCellGrid::SetRowCells(int row, const QStringList& cells) {
    if (row < 0 || row >= RowCount())
        return;
    const Utf8Cells utf8(cells);
    StoreRow(row, utf8.views.data(), int(utf8.views.size()));
    CompactIfWasteful();
    if (updateDepth == 0)
        emit dataChanged(index(row, 0), index(row, columns - 1));
}

void TCellGrid::AppendRow(const QStringList& cells) {
    InsertRow(RowCount(), cells);
}

void TCellGrid::InsertRow(int row, const QStringList& cells) {
    row = std::clamp(row, 0, RowCount());
    const bool notify = updateDepth == 0;
    if (notify)
        beginInsertRows(QModelIndex(), row, row);
    rows.insert(rows.begin() + row, RowText());
    const Utf8Cells utf8(cells);
    StoreRow(row, utf8.views.data(), int(utf8.views.size()));
    if (notify)
        endInsertRows();
}

void TCellGrid::RemoveRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    if (RowCount() == 1) {
        SetRowCells(0, {});
        return;
    }
    const bool notify = updateDepth == 0;
    if (notify)
        beginRemoveRows(QModelIndex(), row, row);
    ForgetRowText(row);
    rows.erase(rows.begin() + row);
    if (notify)
        endRemoveRows();
    CompactIfWasteful();
}

void TCellGrid::ClearCells() {
    BeginUpdate();
    for (RowText& row : rows)
        row = RowText();
    text = std::string();
    endBytes = std::string();
    unusedBytes = 0;
    EndUpdate();
}

void TCellGrid::Clear() {
    BeginUpdate();
    rows = std::vector<RowText>(1);
    text = std::string();
    endBytes = std::string();
    unusedBytes = 0;
    EndUpdate();
}

void TCellGrid::TakeCellsFrom(TCellGrid& other) {
    BeginUpdate();
    std::swap(rows, other.rows);
    std::swap(text, other.text);
    std::swap(endBytes, other.endBytes);
    std::swap(unusedBytes, other.unusedBytes);
    std::swap(columns, other.columns);
    EndUpdate();
}

QString TCellGrid::FloatFormat() const {
    return QStringLiteral("%.%1f").arg(decimals);
}

void TCellGrid::SetFloatFormat(int decimalCount) {
    decimals = std::clamp(decimalCount, 0, 15);
}

void TCellGrid::SetFloatFormat(const QString& format) {
    static const QRegularExpression pattern(QStringLiteral("^%\\.(\\d{1,2})f$"));
    const QRegularExpressionMatch match = pattern.match(format);
    if (match.hasMatch())
        SetFloatFormat(match.captured(1).toInt());
}

QChar TCellGrid::EffectiveSeparator() const {
    return separator.isNull() ? QLatin1Char(',') : separator;
}

// A line break in a cell is stored as a bare LF, which the reader takes as part of the line
// and turns back into CR LF. Ctrl-Z would end the file, so it is left out. Empty cells are
// two quotes. A cell is quoted, with its quotes doubled, when it holds the separator or
// begins with a quote, and in the last column also when it holds any quote (the reader
// drops a leading and a trailing quote of a line's last field).
void TCellGrid::AppendFieldText(QString& out, const QString& cell, bool lastColumn) const {
    QString text = cell;
    if (text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    text.remove(QChar(endOfFile));
    if (text.isEmpty()) {
        out += QLatin1String("\"\"");
        return;
    }
    // A cell beginning with U+FEFF is quoted too: opening the file, that character would be
    // read as the file's byte-order mark and dropped.
    const bool quoted = text.contains(EffectiveSeparator()) || text.startsWith(quote) ||
                        text.startsWith(QChar(0xFEFF)) || (lastColumn && text.contains(quote));
    if (!quoted) {
        out += text;
        return;
    }
    out += quote;
    for (const QChar ch : text) {
        if (ch == quote)
            out += quote;
        out += ch;
    }
    out += quote;
}

void TCellGrid::SaveToDelimitedFile(const QString& fileName) const {
    const QChar sep = EffectiveSeparator();
    QString text;
    QString fileText;
    for (int row = 0; row < RowCount(); ++row) {
        for (int col = 0; col < columns; ++col) {
            if (col > 0)
                fileText += sep;
            AppendFieldText(fileText, Cells(col, row), col == columns - 1);
        }
        fileText += QLatin1String("\r\n");
    }
    if (!WriteFileSafely(fileName, EncodeFileText(fileText)))
        throw AppError(QStringLiteral("Cannot Create file ") + fileName);
}

void TCellGrid::StoreField(int col, int row, QString text) {
    if (col >= columns)
        SetColCount(col + 1);
    SetCells(col, row, WithCrLf(std::move(text)));
}

void TCellGrid::ReadLine(QStringView line, int row) {
    const QChar sep = EffectiveSeparator();
    const qsizetype lastSeparator = line.lastIndexOf(sep);
    qsizetype pos = 0;
    int col = 0;
    while (pos <= lastSeparator) { // the rest of the line still holds a separator
        QString field;
        if (line[pos] == quote) {
            const qsizetype start = pos + 1;
            const qsizetype closing = FindClosingQuote(line, start);
            if (closing >= 0) {
                field = Unquote(line.sliced(start, closing - start));
                pos = closing + 1;
                const qsizetype next = line.indexOf(sep, pos);
                if (next >= 0)
                    pos = next + 1;
            } else {
                pos = line.indexOf(sep, start) + 1;
            }
        } else {
            const qsizetype next = line.indexOf(sep, pos);
            field = line.sliced(pos, next - pos).toString();
            pos = next + 1;
        }
        StoreField(col++, row, std::move(field));
    }
    if (pos < line.size()) {
        QStringView last = line.sliced(pos);
        if (last.startsWith(quote))
            last = last.sliced(1);
        if (last.endsWith(quote))
            last.chop(1);
        StoreField(col, row, Unquote(last));
    }
}

void TCellGrid::LoadFromDelimitedFile(const QString& fileName, BareLineFeed bareLineFeed) {
    QFile file(fileName);
    if (!OpenRegularFile(file))
        throw AppError(QStringLiteral("Cannot open file ") + fileName);
    QByteArray bytes = file.readAll();
    file.close();
    const qsizetype end = bytes.indexOf(endOfFile);
    if (end >= 0)
        bytes.truncate(end);
    const QString fileText = DecodeFileText(bytes);
    if (fileText.contains(QChar(0)))
        throw AppError(
            QStringLiteral("Le fichier %1 n'est pas un fichier texte : il n'a pas été lu.")
                .arg(fileName));

    // CR or CR LF ends a line; a bare LF belongs to the line, unless the file has no CR at
    // all (written on Linux) or the caller says so: then LF ends lines too.
    const bool lineFeedEnds =
        bareLineFeed == BareLineFeed::EndsLine || !fileText.contains(QLatin1Char('\r'));
    QList<QStringView> lines;
    const QStringView all(fileText);
    qsizetype start = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all[i] != QLatin1Char('\r') && (all[i] != QLatin1Char('\n') || !lineFeedEnds))
            continue;
        lines.append(all.sliced(start, i - start));
        if (all[i] == QLatin1Char('\r') && i + 1 < all.size() && all[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < all.size())
        lines.append(all.sliced(start));

    BeginUpdate();
    SetRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < lines.size(); ++row)
        ReadLine(lines[row], row);
    EndUpdate();
}

QString FloatToCellText(double value, int decimals) {
    return FixedText(std::isfinite(value) ? value : 0.0, decimals);
}

double CellTextToFloat(const QString& cellText) {
    if (cellText.trimmed().isEmpty())
        return 0;
    QString text = cellText;
    bool negative = text.startsWith(QLatin1Char('(')) && text.endsWith(QLatin1Char(')'));
    const QChar thousands = ThousandsSeparator();
    while (text.size() >= 2 && !IsAsciiDigit(text[0]) && text[0] != decimalComma &&
           (thousands.isNull() || text[0] != thousands)) {
        if (text[0] == QLatin1Char('-'))
            negative = true;
        text.remove(0, 1);
    }
    QString number;
    for (const QChar ch : std::as_const(text)) {
        if (!thousands.isNull() && ch == thousands)
            continue;
        if (ch == decimalComma)
            number += QLatin1Char('.');
        else if (IsAsciiDigit(ch) || ch == QLatin1Char('-') || ch == QLatin1Char('.'))
            number += ch;
        else
            break;
    }
    if (negative)
        number.prepend(QLatin1Char('-'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    // A cell with text but no number in it is as wrong as a malformed number.
    if (!ok || !std::isfinite(value))
        throw AppError(QStringLiteral("Cell does not contain a float value"));
    return value;
}

void TCellGrid::SetFloatCell(int col, int row, double value) {
    SetCells(col, row, FloatToCellText(value, decimals));
}

double CellUtf8ToFloat(std::string_view text) {
    const auto digits = [](std::string_view part) {
        return part.size() <= 15 && AllAsciiDigits(part);
    };
    const size_t comma = text.find(',');
    const std::string_view whole = text.substr(0, comma);
    const std::string_view fraction =
        comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (digits(whole) && (comma == std::string_view::npos || digits(fraction))) {
        char number[32];
        whole.copy(number, whole.size());
        size_t length = whole.size();
        number[length++] = '.';
        fraction.copy(number + length, fraction.size());
        length += fraction.size();
        double value = 0;
        std::from_chars(number, number + length, value); // correctly rounded, as toDouble
        return value;
    }
    return CellTextToFloat(Utf8CellText(text));
}

double TCellGrid::FloatCell(int col, int row) const {
    return CellUtf8ToFloat(CellUtf8(col, row));
}

void TCellGrid::BeginUpdate() {
    if (updateDepth++ == 0)
        beginResetModel();
}

void TCellGrid::EndUpdate() {
    if (updateDepth == 0)
        return;
    if (--updateDepth == 0)
        endResetModel();
}

int TCellGrid::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int TCellGrid::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant TCellGrid::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return Cells(index.column(), index.row());
}
