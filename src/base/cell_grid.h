#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// A grid of text cells: the tariff table, the journal and its month totals. It is also a
// table model, so the windows show it through views without copying it.
//
// Cells are addressed (column, row), both from 0. RowCount and ColCount are at least 1.
// Reading a cell is O(1); appending a row is O(1) amortised. The text of every cell is kept
// in UTF-8 in one buffer, a row's cells side by side, with the cells' end offsets beside it:
// a journal of a million rows then takes little more memory than its file. A row may hold
// fewer cells than ColCount: the missing cells are empty, so growing ColCount costs nothing.
class TCellGrid : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TCellGrid(QObject* parent = nullptr);

    int RowCount() const { return static_cast<int>(rows.size()); }
    int ColCount() const { return columns; }
    // Less than 1 gives 1. New rows and columns are empty; removed ones are dropped.
    void SetRowCount(int count);
    void SetColCount(int count);

    // Reading outside the grid gives an empty text; writing outside it does nothing.
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    // The UTF-8 text of a cell, without conversion; valid until the grid next changes.
    std::string_view CellUtf8(int col, int row) const;
    // How many cells of the row are kept: the later ones are empty.
    int StoredCellCount(int row) const;
    // Calls visit(col, utf8Text) for each kept cell of a row within ColCount, in order: the
    // writers' way through a whole grid without a look-up per cell.
    template <typename Visit> void ForEachStoredCell(int row, Visit visit) const {
        const RowText& cells = rows[size_t(row)];
        quint32 begin = 0;
        for (quint32 col = 0; col < cells.count && int(col) < columns; ++col) {
            const quint32 end = CellEnd(cells, col);
            visit(int(col), std::string_view(text.data() + cells.start + begin, end - begin));
            begin = end;
        }
    }
    // Replaces a row's cells by UTF-8 texts (which may lie in the grid itself); cells beyond
    // ColCount are dropped. Views are not told: for readers filling the grid in an update.
    void SetRowCellsUtf8(int row, const std::string_view* cells, int count);
    // Room for `bytes` of cell text and `rowCount` rows, so that a large load grows nothing.
    void Reserve(size_t bytes, int rowCount);

    // The ColCount cells of a row.
    QStringList RowCells(int row) const;
    // Replaces the cells of a row; extra texts are dropped, missing ones leave cells empty.
    void SetRowCells(int row, const QStringList& cells);
    // Adds a row at the end (or before `row`) holding the given cells.
    void AppendRow(const QStringList& cells = {});
    void InsertRow(int row, const QStringList& cells = {});
    // Removes a row; the last remaining row is emptied instead, as the grid keeps one row.
    void RemoveRow(int row);
    // Empties every cell and keeps the size.
    void ClearCells();
    // Back to one empty row; ColCount is kept.
    void Clear();
    // Takes the other grid's cells and size (it is left with this grid's); views are reset.
    void TakeCellsFrom(TCellGrid& other);

    // The field separator of the delimited files; a null character means unset (",").
    QChar Separator() const { return separator; }
    void SetSeparator(QChar value) { separator = value; }

    // The format of numbers written by SetFloatCell: "%.Nf", N decimals.
    QString FloatFormat() const;
    int FloatDecimals() const { return decimals; }
    void SetFloatFormat(int decimalCount);
    // Accepts "%.5f" and the like; anything else keeps the current format.
    void SetFloatFormat(const QString& format);

    // Writes every cell, one CR LF ended line per row, UTF-8 without byte-order mark.
    // Throws AppError "Cannot Create file <name>".
    void SaveToDelimitedFile(const QString& fileName) const;
    // Reads the file into the grid from cell (0, 0). RowCount becomes the number of lines,
    // ColCount grows to the widest line, cells the file does not address keep their text.
    // Throws AppError "Cannot open file <name>".
    // A bare LF in a file that has CRs is a line break inside a cell, as this grid writes it;
    // a file whose cells never hold one may have it end lines too (a line added on Linux).
    enum class BareLineFeed { InCell, EndsLine };
    void LoadFromDelimitedFile(const QString& fileName,
                               BareLineFeed bareLineFeed = BareLineFeed::InCell);

    // Fixed-point text with the decimal comma: 0.22 at "%.5f" is "0,22000".
    void SetFloatCell(int col, int row, double value);
    // Throws AppError "Cell does not contain a float value".
    double FloatCell(int col, int row) const;

    // Many changes at once: views are told once, at the outermost EndUpdate, that the whole
    // grid changed. Nested calls are counted.
    void BeginUpdate();
    void EndUpdate();

    // Table model
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    bool Contains(int col, int row) const;
    QChar EffectiveSeparator() const;
    void AppendFieldText(QString& out, const QString& cell, bool lastColumn) const;
    void ReadLine(QStringView line, int row);
    void StoreField(int col, int row, QString text);
    void StoreRow(int row, const std::string_view* cells, int count);
    void ForgetRowText(int row);
    void CompactIfWasteful();

    // A row's cells lie side by side in `text` from `start`. Their end offsets (from `start`)
    // follow each other in `endBytes` from `firstEnd`, each `endWidth` bytes long, little
    // endian: the narrowest of 1, 2 or 4 bytes that holds the row's length. A journal row is
    // under 256 bytes, so its offsets take a byte a cell instead of four.
    struct RowText {
        quint32 start = 0;
        quint32 firstEnd = 0;
        quint32 count : 29 = 0;
        quint32 endWidth : 3 = 1;
    };
    static constexpr quint32 maxCellsInRow = (1u << 29) - 1;
    quint32 CellEnd(const RowText& row, quint32 col) const {
        const auto* bytes = reinterpret_cast<const unsigned char*>(endBytes.data()) + row.firstEnd +
                            col * row.endWidth;
        switch (row.endWidth) {
        case 1:
            return bytes[0];
        case 2:
            return bytes[0] | quint32(bytes[1]) << 8;
        default:
            return bytes[0] | quint32(bytes[1]) << 8 | quint32(bytes[2]) << 16 |
                   quint32(bytes[3]) << 24;
        }
    }
    quint32 RowLength(const RowText& row) const {
        return row.count == 0 ? 0 : CellEnd(row, row.count - 1);
    }
    std::string text;
    std::string endBytes;
    std::vector<RowText> rows;
    size_t unusedBytes = 0; // text and end offsets of replaced cells, dropped by a compaction
    int columns = 1;
    QChar separator;
    int decimals = 2;
    int updateDepth = 0;
};

// Inline: the journal's load and indexes read every cell through these.
inline bool TCellGrid::Contains(int col, int row) const {
    return col >= 0 && col < columns && row >= 0 && row < RowCount();
}

inline std::string_view TCellGrid::CellUtf8(int col, int row) const {
    if (!Contains(col, row))
        return {};
    const RowText& cells = rows[size_t(row)];
    if (quint32(col) >= cells.count)
        return {};
    const quint32 begin = col == 0 ? 0 : CellEnd(cells, quint32(col) - 1);
    const quint32 end = CellEnd(cells, quint32(col));
    return std::string_view(text.data() + cells.start + begin, end - begin);
}

// A cell's UTF-8 text as a QString, a leading U+FEFF kept (QString::fromUtf8 drops it).
QString Utf8CellText(std::string_view text);

// The number rule of the grid's cells, also used for cells kept elsewhere.
// Throws AppError "Cell does not contain a float value".
double CellTextToFloat(const QString& text);
// The same rule for a cell's UTF-8 text: plain numbers ("123", "123,45"), as the program
// writes them, are read without building a QString.
double CellUtf8ToFloat(std::string_view text);
// The text SetFloatCell stores for a value with that many decimals.
QString FloatToCellText(double value, int decimals);
