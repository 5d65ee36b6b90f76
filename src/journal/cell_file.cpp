#include "journal/cell_file.h"

#include "base/ascii_digits.h"
#include "base/cell_grid.h"
#include "base/errors.h"
#include "base/regular_file.h"
#include "base/safe_write.h"
#include "base/text_encoding.h"

#include <QFile>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {
constexpr char escape = '\x1b';
constexpr std::string_view escapedMark("\b\x1b");

QString CorruptFileText(const QString& fileName) {
    return QStringLiteral("File contains no data or corrupt file ") + fileName;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A whole number as the reader of counts and indexes takes it: blanks around, a sign.
std::optional<qint64> WholeNumber(std::string_view text, bool saturate = false) {
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    qint64 value = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        if (value > (std::numeric_limits<qint64>::max() - 9) / 10) {
            if (!saturate)
                return std::nullopt;
            value = std::numeric_limits<qint64>::max() / 2; // beyond any real count
            continue;
        }
        value = value * 10 + (ch - '0');
    }
    return negative ? -value : value;
}

std::optional<int> IntNumber(std::string_view text) {
    // Most are plain digits, as the program writes them: read those at once.
    if (text.size() <= 9 && AllAsciiDigits(text))
        return int(AsciiDigitsValue(text));
    const std::optional<qint64> value = WholeNumber(text);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*value);
}

// A count of the first line: a number too large for any table counts as huge (the rows are
// then bounded by the file's lines), not as zero; anything else unreadable is zero.
qint64 ToCount(std::string_view text) {
    return WholeNumber(text, true).value_or(0);
}

// Strict UTF-8, as the file decoder wants it (no overlong forms, surrogates or values past
// U+10FFFF), without decoding.
bool IsUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned min = 0, code = 0;
        if ((*p & 0xE0) == 0xC0)
            length = 2, min = 0x80, code = *p & 0x1F;
        else if ((*p & 0xF0) == 0xE0)
            length = 3, min = 0x800, code = *p & 0x0F;
        else if ((*p & 0xF8) == 0xF0)
            length = 4, min = 0x10000, code = *p & 0x07;
        else
            return false;
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

bool NeedsEscapedForm(std::string_view text) {
    bool cr = false, lf = false, tab = false;
    for (const char ch : text) {
        switch (ch) {
        case '\b':
        case escape:
            return true;
        case '\r':
            cr = true;
            break;
        case '\n':
            lf = true;
            break;
        case '\t':
            tab = true;
            break;
        default:
            break;
        }
    }
    return (cr && !lf) || (lf && tab);
}

// The pages of a file mapped in memory that were read are given back as the reading goes, so
// that a large journal is never held whole beside its table. Without a mapping, nothing.
class ReadPages {
  public:
    explicit ReadPages(const char* mapped = nullptr) : base(mapped) {}
    void ReadUpTo(const char* position) {
        static const size_t pageSize = size_t(sysconf(_SC_PAGESIZE));
        constexpr size_t batch = 8 << 20;
        if (base == nullptr)
            return;
        const size_t end = size_t(position - base) / pageSize * pageSize;
        if (end < released + batch)
            return;
        madvise(const_cast<char*>(base) + released, end - released, MADV_DONTNEED);
        released = end;
    }

  private:
    const char* base;
    size_t released = 0;
};

// Whether the text is UTF-8, and its line count, read in batches of whole lines.
struct TextSurvey {
    bool utf8 = true;
    qint64 lineCount = 0;
};
// Line feeds counted eight bytes at a time; whether any byte lies past ASCII on the way.
struct AsciiCount {
    qint64 lineFeeds = 0;
    bool ascii = true;
};
AsciiCount CountLineFeeds(std::string_view text) {
    constexpr quint64 ones = 0x0101010101010101ULL;
    constexpr quint64 high = 0x8080808080808080ULL;
    constexpr quint64 low = ~high;
    AsciiCount count;
    quint64 highBits = 0;
    size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        quint64 word;
        std::memcpy(&word, text.data() + at, 8);
        highBits |= word;
        const quint64 x = word ^ (ones * '\n');
        const quint64 zeroBytes = ~(((x & low) + low) | x | low); // 0x80 where x has a 0 byte
        count.lineFeeds += qint64(((zeroBytes >> 7) * ones) >> 56);
    }
    for (; at < text.size(); ++at) {
        highBits |= quint8(text[at]);
        count.lineFeeds += text[at] == '\n';
    }
    count.ascii = (highBits & high) == 0;
    return count;
}

TextSurvey Survey(std::string_view all, ReadPages pages) {
    TextSurvey survey;
    survey.lineCount = all.empty() || all.back() == '\n' ? 0 : 1;
    while (!all.empty()) {
        size_t end = all.find('\n', std::min(all.size() - 1, size_t(4) << 20));
        end = end == std::string_view::npos ? all.size() : end + 1;
        const std::string_view batch = all.substr(0, end);
        const AsciiCount count = CountLineFeeds(batch);
        survey.lineCount += count.lineFeeds;
        survey.utf8 = survey.utf8 && (count.ascii || IsUtf8(batch));
        all.remove_prefix(end);
        pages.ReadUpTo(all.data());
    }
    return survey;
}

// Reads the cell lines of a UTF-8 text; see ReadCellFileText.
class CellFileReader {
  public:
    CellFileReader(TCellGrid& grid, QList<int>& widths) : grid(grid), widths(widths) {}

    int Read(std::string_view all, qint64 lineCount, ReadPages pages, const QString& fileName) {
        std::string_view first = NextLine(all);
        const size_t comma = first.find(',');
        const qint64 declaredColumns =
            comma == std::string_view::npos ? 0 : ToCount(first.substr(0, comma));
        const qint64 declaredRows =
            comma == std::string_view::npos ? 0 : ToCount(first.substr(comma + 1));
        if (declaredColumns <= 0 || declaredRows <= 0)
            throw AppError(CorruptFileText(fileName));
        // Every row the program stores has at least one cell line, so a larger row count
        // comes from a damaged first line; it would only add empty rows, by the million.
        columns = int(std::min<qint64>(declaredColumns, 10'000));
        rowCount =
            int(std::min({declaredRows, lineCount, qint64(std::numeric_limits<int>::max())}));

        grid.BeginUpdate();
        grid.Clear();
        grid.SetColCount(columns);
        grid.Reserve(all.size(), rowCount);
        grid.SetRowCount(rowCount);
        widths = QList<int>(columns, DefaultColumnWidth);
        cells.resize(columns);
        scratch.resize(columns);
        while (!all.empty()) {
            ReadLine(NextLine(all));
            pages.ReadUpTo(all.data());
        }
        Flush();
        // Every row the program writes has cells: rows past the last one read come from a
        // file cut short. They would stop the sums at the first of them; the file as it was
        // is kept aside (as for ignored cells) and the table ends with its last row read.
        if (lastRowRead + 1 < rowCount) {
            grid.SetRowCount(std::max(lastRowRead + 1, 1));
            ++ignored;
        }
        grid.EndUpdate();
        return ignored;
    }

  private:
    // Lines end with LF (a CR before it is dropped); cell texts hold neither.
    static std::string_view NextLine(std::string_view& rest) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }

    void ReadLine(std::string_view line) {
        const size_t firstComma = line.find(',');
        if (firstComma == std::string_view::npos)
            return;
        if (line.substr(0, 2) == "cw") {
            const std::optional<int> index =
                IntNumber(line.substr(0, firstComma).substr(std::min<size_t>(3, firstComma)));
            const std::optional<int> width = IntNumber(line.substr(firstComma + 1));
            if (index && width && *index >= 0 && *index < columns)
                widths[*index] = *width;
            return;
        }
        const size_t secondComma = line.find(',', firstComma + 1);
        if (secondComma == std::string_view::npos)
            return;
        const std::optional<int> col = IntNumber(line.substr(0, firstComma));
        const std::optional<int> row =
            IntNumber(line.substr(firstComma + 1, secondComma - firstComma - 1));
        if (!col || !row || *col < 0 || *col >= columns || *row < 0 || *row >= rowCount) {
            ++ignored;
            return;
        }
        if (*row != currentRow) {
            Flush();
            currentRow = *row;
            lastRowRead = std::max(lastRowRead, *row);
        }
        cells[*col] = RestoredLineText(line.substr(secondComma + 1), scratch[*col]);
        touched = std::max(touched, *col + 1);
    }

    // Stores the cells read for the current row; cells it already held (lines out of order)
    // stay unless read again.
    void Flush() {
        if (currentRow < 0 || touched == 0)
            return;
        for (int col = 0; col < touched; ++col)
            if (cells[col].data() == nullptr)
                cells[col] = grid.CellUtf8(col, currentRow);
        for (int col = touched; col < grid.StoredCellCount(currentRow); ++col)
            cells[col] = grid.CellUtf8(col, currentRow), touched = col + 1;
        grid.SetRowCellsUtf8(currentRow, cells.data(), touched);
        std::fill(cells.begin(), cells.begin() + touched, std::string_view());
        touched = 0;
    }

    TCellGrid& grid;
    QList<int>& widths;
    int columns = 0;
    int rowCount = 0;
    int ignored = 0;
    int currentRow = -1;
    int lastRowRead = -1;
    int touched = 0; // columns of the current row that lines gave, up to the last one
    std::vector<std::string_view> cells;
    std::vector<std::string> scratch;
};
} // namespace

namespace {
// Writes the one-line form of a text at `out`, which has room for twice the text and two
// more bytes; returns the end of what was written.
char* WriteOneLineText(char* out, std::string_view text) {
    // Nearly every cell holds no control character: its one-line form is the text itself.
    if (std::none_of(text.begin(), text.end(),
                     [](char ch) { return static_cast<unsigned char>(ch) < 0x20; })) {
        std::memcpy(out, text.data(), text.size());
        return out + text.size();
    }
    if (NeedsEscapedForm(text)) {
        out = std::copy(escapedMark.begin(), escapedMark.end(), out);
        for (const char ch : text) {
            const size_t code = std::string_view("\r\n\t\b\x1b").find(ch);
            if (code == std::string_view::npos) {
                *out++ = ch;
                continue;
            }
            *out++ = escape;
            *out++ = "rntbe"[code];
        }
        return out;
    }
    for (const char ch : text)
        *out++ = ch == '\r' ? '\t' : ch == '\n' ? '\b' : ch;
    return out;
}
} // namespace

void AppendOneLineText(QByteArray& out, std::string_view text) {
    const qsizetype start = out.size();
    out.resize(start + qsizetype(text.size()) * 2 + 2);
    char* end = WriteOneLineText(out.data() + start, text);
    out.truncate(end - out.constData());
}

std::string_view RestoredLineText(std::string_view line, std::string& scratch) {
    if (line.find('\b') == std::string_view::npos)
        return line;
    scratch.clear();
    if (line.substr(0, escapedMark.size()) == escapedMark) {
        for (size_t i = escapedMark.size(); i < line.size(); ++i) {
            const char ch = line[i];
            const size_t code = i + 1 < line.size() && ch == escape
                                    ? std::string_view("rntbe").find(line[i + 1])
                                    : std::string_view::npos;
            if (code == std::string_view::npos) {
                scratch += ch;
                continue;
            }
            scratch += "\r\n\t\b\x1b"[code];
            ++i;
        }
        return scratch;
    }
    scratch.assign(line);
    for (char& ch : scratch) {
        if (ch == '\t')
            ch = '\r';
        else if (ch == '\b')
            ch = '\n';
    }
    return scratch;
}

QString OneLineText(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    QByteArray out;
    AppendOneLineText(out, std::string_view(bytes.constData(), size_t(bytes.size())));
    return Utf8CellText(std::string_view(out.constData(), size_t(out.size())));
}

QString RestoredLineText(const QString& line) {
    const QByteArray bytes = line.toUtf8();
    std::string scratch;
    const std::string_view text =
        RestoredLineText(std::string_view(bytes.constData(), size_t(bytes.size())), scratch);
    return Utf8CellText(text);
}

namespace {
struct LegacyDecoding {
    QByteArray utf8;
    bool mixed = false; // lines past ASCII in UTF-8 beside lines that are not
};

// A file that is not UTF-8 as a whole is read line by line: the lines that are UTF-8 stay as
// they are and the others are read as Windows-1252, the encoding of journals written on
// Windows. One damaged line then garbles only itself, not every accent of the file.
LegacyDecoding DecodeLegacyLines(std::string_view all) {
    LegacyDecoding decoded;
    decoded.utf8.reserve(qsizetype(all.size() + all.size() / 8));
    bool utf8Lines = false, legacyLines = false;
    while (!all.empty()) {
        const size_t end = all.find('\n');
        const std::string_view line = all.substr(0, end == std::string_view::npos ? end : end + 1);
        all.remove_prefix(line.size());
        const AsciiCount count = CountLineFeeds(line);
        if (count.ascii || IsUtf8(line)) {
            utf8Lines = utf8Lines || !count.ascii;
            decoded.utf8.append(line.data(), qsizetype(line.size()));
        } else {
            legacyLines = true;
            decoded.utf8.append(
                DecodeWindows1252(QByteArray::fromRawData(line.data(), qsizetype(line.size())))
                    .toUtf8());
        }
    }
    decoded.mixed = utf8Lines && legacyLines;
    return decoded;
}

int ReadCellText(TCellGrid& grid, QList<int>& columnWidths, std::string_view all,
                 const char* mapped, const QString& fileName) {
    if (all.substr(0, 3) == "\xEF\xBB\xBF")
        all.remove_prefix(3);
    CellFileReader reader(grid, columnWidths);
    const TextSurvey survey = Survey(all, ReadPages(mapped));
    if (survey.utf8) // read in place, never decoded
        return reader.Read(all, survey.lineCount, ReadPages(mapped), fileName);
    const LegacyDecoding decoded = DecodeLegacyLines(all);
    const int ignored =
        reader.Read(std::string_view(decoded.utf8.constData(), size_t(decoded.utf8.size())),
                    survey.lineCount, ReadPages(), fileName);
    // Lines of both kinds: a UTF-8 file with damaged lines, which the next save writes back
    // as read, so the file as it was is kept aside first.
    return ignored + (decoded.mixed ? 1 : 0);
}
} // namespace

// The file is mapped rather than copied into memory, and its pages given back as they are
// read: loading a journal costs little more than the table it gives.
int LoadFromCellFile(TCellGrid& grid, QList<int>& columnWidths, const QString& fileName) {
    QFile file(fileName);
    if (!OpenRegularFile(file))
        throw AppError(QStringLiteral("Cannot open file ") + fileName);
    const qint64 size = file.size();
    const uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
    if (mapped == nullptr) {
        const QByteArray bytes = file.readAll();
        return ReadCellFileText(grid, columnWidths, bytes, fileName);
    }
    const auto* text = reinterpret_cast<const char*>(mapped);
    return ReadCellText(grid, columnWidths, std::string_view(text, size_t(size)), text, fileName);
}

int ReadCellFileText(TCellGrid& grid, QList<int>& columnWidths, const QByteArray& bytes,
                     const QString& fileName) {
    return ReadCellText(grid, columnWidths,
                        std::string_view(bytes.constData(), size_t(bytes.size())), nullptr,
                        fileName);
}

namespace {
// The file's text in pieces of about a quarter of a megabyte, each handed to `write`: a
// large journal is never whole in memory a second time.
void MakeCellFileText(const TCellGrid& grid, const QList<int>& columnWidths,
                      const PieceWriter& write) {
    constexpr size_t pieceSize = 256 * 1024;
    std::string piece(pieceSize, '\0');
    char* cursor = piece.data();
    bool writing = true;
    // Makes room for `bytes` more at the cursor, writing out the piece made so far first.
    const auto room = [&](size_t bytes) {
        if (size_t(cursor - piece.data()) + bytes <= piece.size())
            return;
        if (cursor != piece.data())
            writing = writing && write(piece.data(), cursor - piece.data());
        if (bytes > piece.size())
            piece.resize(bytes); // one cell larger than a piece
        cursor = piece.data();
    };
    const auto number = [&cursor](qint64 value) {
        cursor = std::to_chars(cursor, cursor + 24, value).ptr;
    };
    const auto text = [&cursor](std::string_view part) {
        std::memcpy(cursor, part.data(), part.size());
        cursor += part.size();
    };
    const int columns = grid.ColCount();
    const int rowCount = grid.RowCount();
    room(64);
    number(columns);
    text(",");
    number(rowCount);
    text("\r\n");
    for (int col = 0; col < columns; ++col) {
        room(64);
        text("cw ");
        number(col);
        text(",");
        number(columnWidths.value(col, DefaultColumnWidth));
        text("\r\n");
    }
    qint64 lines = 1 + columns; // one-line forms hold no line feed: one line a cell
    for (int row = 0; row < rowCount && writing; ++row) {
        char rowPart[16] = {','}; // ",row," written once for the row's cells
        char* rowEnd = std::to_chars(rowPart + 1, rowPart + sizeof rowPart - 1, row).ptr;
        *rowEnd++ = ',';
        const std::string_view rowText(rowPart, size_t(rowEnd - rowPart));
        grid.ForEachStoredCell(row, [&](int col, std::string_view cell) {
            if (cell.empty())
                return;
            room(24 + rowText.size() + cell.size() * 2 + 4);
            number(col);
            text(rowText);
            cursor = WriteOneLineText(cursor, cell);
            text("\r\n");
            ++lines;
        });
    }
    // The reader takes no more rows than the file has lines (a damaged count would otherwise
    // make millions of empty rows): a table whose last rows are empty is padded with empty
    // lines, which readers skip, so that it reads back with all its rows.
    for (qint64 line = lines; line < rowCount && writing; ++line) {
        room(2);
        text("\r\n");
    }
    if (writing && cursor != piece.data())
        write(piece.data(), cursor - piece.data());
}
} // namespace

QByteArray CellFileText(const TCellGrid& grid, const QList<int>& columnWidths) {
    QByteArray out;
    MakeCellFileText(grid, columnWidths, [&out](const char* data, qint64 size) {
        out.append(data, size);
        return true;
    });
    return out;
}

void SaveToCellFile(const TCellGrid& grid, const QList<int>& columnWidths,
                    const QString& fileName) {
    if (const Result written = WriteFileSafely(
            fileName,
            [&](const PieceWriter& write) { MakeCellFileText(grid, columnWidths, write); });
        !written)
        throw AppError(QStringLiteral("Cannot Create ") + fileName, written.Message());
}
