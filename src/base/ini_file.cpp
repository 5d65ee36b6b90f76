#include "base/ini_file.h"

#include "base/damaged_files.h"
#include "base/errors.h"
#include "base/regular_file.h"
#include "base/safe_write.h"
#include "base/text_encoding.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <optional>
#include <sys/stat.h>

namespace {
constexpr QChar quote = QLatin1Char('"');

bool IsBlank(QChar ch) {
    return ch == QLatin1Char(' ') || ch == QLatin1Char('\t');
}

QStringView TrimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

bool IsControl(QChar ch) {
    return ch.unicode() < 0x20 || ch.unicode() == 0x7F;
}

bool LooksProtected(QStringView text) {
    return text.size() >= 2 && text.front() == quote && text.back() == quote;
}

bool NeedsProtection(const QString& text, bool isKey) {
    if (text.isEmpty())
        return false;
    for (const QChar ch : text)
        if (IsControl(ch) || (isKey && ch == QLatin1Char('=')))
            return true;
    if (IsBlank(text.front()) || IsBlank(text.back()) || LooksProtected(text))
        return true;
    return isKey && (text.front() == QLatin1Char('[') || text.front() == QLatin1Char(';'));
}

bool IsEscaped(QChar ch, bool isKey) {
    return IsControl(ch) || ch == QLatin1Char('%') || (isKey && ch == QLatin1Char('='));
}

QString Encode(const QString& text, bool isKey) {
    if (!NeedsProtection(text, isKey))
        return text;
    QString result(quote);
    for (const QChar ch : text) {
        if (IsEscaped(ch, isKey))
            result += QStringLiteral("%%1").arg(ch.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            result += ch;
    }
    return result + quote;
}

int HexDigit(QChar ch) {
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// The reverse of Encode. Only the escapes Encode makes are decoded, so a quoted value of an
// older file keeps any other "%" text as it was.
QString Decode(QStringView raw) {
    if (!LooksProtected(raw))
        return raw.toString();
    const QStringView inner = raw.sliced(1, raw.size() - 2);
    QString result;
    result.reserve(inner.size());
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == QLatin1Char('%') && i + 2 < inner.size()) {
            const int high = HexDigit(inner[i + 1]);
            const int low = HexDigit(inner[i + 2]);
            if (high >= 0 && low >= 0) {
                const QChar decoded(char16_t(high * 16 + low));
                if (IsEscaped(decoded, true)) {
                    result += decoded;
                    i += 2;
                    continue;
                }
            }
        }
        result += inner[i];
    }
    return result;
}

// What a line of the file is.
struct ParsedLine {
    enum Kind { Other, Section, Key } kind = Other;
    QString name;  // section name or key
    QString value; // of a key line
};

ParsedLine ParseLine(const QString& line) {
    ParsedLine parsed;
    const QStringView text = TrimBlanks(line);
    if (text.startsWith(QLatin1Char('['))) {
        parsed.kind = ParsedLine::Section;
        qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            close = text.size();
        parsed.name = TrimBlanks(text.sliced(1, close - 1)).toString();
        return parsed;
    }
    if (text.startsWith(QLatin1Char(';')))
        return parsed;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return parsed;
    parsed.kind = ParsedLine::Key;
    parsed.name = Decode(TrimBlanks(text.sliced(0, equals)));
    parsed.value = Decode(TrimBlanks(text.sliced(equals + 1)));
    return parsed;
}

QList<ParsedLine> ParseLines(const QStringList& lines) {
    QList<ParsedLine> parsed;
    parsed.reserve(lines.size());
    for (const QString& line : lines)
        parsed.append(ParseLine(line));
    return parsed;
}

// The lines of each section of that name; a section may appear more than once.
template <typename Visit>
void ForEachKeyOf(const QList<ParsedLine>& lines, const QString& section, Visit visit) {
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        const ParsedLine& parsed = lines[i];
        if (parsed.kind == ParsedLine::Section)
            inside = parsed.name == section;
        else if (inside && parsed.kind == ParsedLine::Key && !visit(i, parsed))
            return;
    }
}

std::optional<QString> FindValue(const QList<ParsedLine>& lines, const QString& section,
                                 const QString& key) {
    std::optional<QString> found;
    ForEachKeyOf(lines, section, [&](int, const ParsedLine& parsed) {
        if (parsed.name != key)
            return true;
        found = parsed.value;
        return false;
    });
    return found;
}

std::optional<int> ParseInteger(const QString& text) {
    static const QRegularExpression hex(QStringLiteral("^0[xX]([0-9A-Fa-f]{1,8})$"));
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = text.trimmed();
    const QRegularExpressionMatch hexMatch = hex.match(trimmed);
    bool ok = false;
    if (hexMatch.hasMatch()) {
        const uint value = hexMatch.captured(1).toUInt(&ok, 16);
        return ok ? std::optional<int>(static_cast<int>(value)) : std::nullopt;
    }
    if (!decimal.match(trimmed).hasMatch())
        return std::nullopt;
    const int value = trimmed.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// What identifies one version of a file on disk.
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> StampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.size = info.st_size;
    stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.inode = info.st_ino;
    stamp.device = info.st_dev;
    return stamp;
}

std::optional<FileStamp> StampOfFile(const QString& fileName) {
    struct stat info {};
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return std::nullopt;
    return StampOf(info);
}

// File times advance by the kernel's tick: a file read within that tick of its last change
// could change again under the same stamp, so such a read is not kept.
constexpr qint64 racyNs = 100 * 1000000;
} // namespace

struct IniFile::Snapshot {
    QStringList lines;
    QList<ParsedLine> parsed;
    bool tooLarge = false;
};

namespace {
using Snapshot = IniFile::Snapshot;

struct CachedFile {
    FileStamp stamp;
    std::shared_ptr<const Snapshot> snapshot;
};

QMutex cacheMutex;
QHash<QString, CachedFile> cache;

std::shared_ptr<const Snapshot> MakeSnapshot(QStringList lines) {
    auto snapshot = std::make_shared<Snapshot>();
    snapshot->parsed = ParseLines(lines);
    snapshot->lines = std::move(lines);
    return snapshot;
}

QStringList SplitLines(const QByteArray& bytes) {
    QStringList lines = DecodeFileText(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

std::shared_ptr<const Snapshot> TooLargeSnapshot() {
    static const auto snapshot = [] {
        auto made = std::make_shared<Snapshot>();
        made->tooLarge = true;
        return std::shared_ptr<const Snapshot>(made);
    }();
    return snapshot;
}

std::shared_ptr<const Snapshot> LoadFile(const QString& fileName) {
    const std::optional<FileStamp> before = StampOfFile(fileName);
    if (!before) {
        static const auto empty = MakeSnapshot({});
        return empty;
    }
    if (before->size > IniFile::MaxFileSize)
        return TooLargeSnapshot();
    {
        const QMutexLocker lock(&cacheMutex);
        const auto cached = cache.constFind(fileName);
        if (cached != cache.constEnd() && cached->stamp == *before)
            return cached->snapshot;
    }
    QFile file(fileName);
    if (!OpenRegularFile(file))
        return MakeSnapshot({});
    // The stamp of what is read, not of what was looked at before: the file may have changed.
    struct stat info {};
    const bool stamped = ::fstat(file.handle(), &info) == 0;
    const QByteArray bytes = file.read(IniFile::MaxFileSize + 1);
    if (bytes.size() > IniFile::MaxFileSize)
        return TooLargeSnapshot();
    auto snapshot = MakeSnapshot(SplitLines(bytes));
    if (stamped) {
        const FileStamp stamp = *StampOf(info);
        const qint64 nowNs = QDateTime::currentMSecsSinceEpoch() * 1000000;
        const QMutexLocker lock(&cacheMutex);
        if (nowNs - stamp.modifiedNs > racyNs)
            cache.insert(fileName, {stamp, snapshot});
        else
            cache.remove(fileName);
    }
    return snapshot;
}

QString TooLargeMessage(const QString& fileName) {
    return QStringLiteral("Le fichier %1 dépasse 1 Mio : il n'est ni lu ni modifié.").arg(fileName);
}
} // namespace

IniFile::IniFile(QString name) : fileName(std::move(name)) {}

void IniFile::BeginBatch() {
    batch = Read();
}

void IniFile::CommitBatch() {
    if (!batch)
        return;
    const QStringList lines = batch->lines;
    const bool tooLarge = batch->tooLarge;
    batch.reset();
    if (tooLarge)
        throw AppError(TooLargeMessage(fileName));
    WriteLines(lines);
}

std::shared_ptr<const IniFile::Snapshot> IniFile::Read() const {
    return batch ? batch : LoadFile(fileName);
}

bool IniFile::TooLarge() const {
    return Read()->tooLarge;
}

Result IniFile::SetAsideWhenTooLarge(const QString& fileName) {
    const std::optional<FileStamp> stamp = StampOfFile(fileName);
    if (!stamp || stamp->size <= MaxFileSize)
        return Result::Success();
    const QString aside = PutDamagedFileAside(fileName, true);
    if (aside.isEmpty())
        return Result::Failure(TooLargeMessage(fileName));
    return Result::Failure(
        QStringLiteral("Le fichier de paramètres %1 dépasse 1 Mio : il n'a pas été lu et il "
                       "est gardé sous le nom %2. Les réglages par défaut sont utilisés.")
            .arg(fileName, aside));
}

void IniFile::WriteLines(const QStringList& lines) {
    if (batch) {
        if (!batch->tooLarge)
            batch = MakeSnapshot(lines);
        return;
    }
    // Never written over: the file may hold what its owner wants back.
    if (LoadFile(fileName)->tooLarge)
        throw AppError(TooLargeMessage(fileName));
    QString text;
    for (const QString& line : lines) {
        // A line kept from the file may end with a CR of its value ("x\r\r\n" gives "x\r"):
        // the reader takes one CR off each line end, so such a line gets CR LF to keep it.
        text += line;
        text += line.endsWith(QLatin1Char('\r')) ? QLatin1String("\r\n") : QLatin1String("\n");
    }
    if (const Result written = WriteFileSafely(fileName, EncodeFileText(text)); !written)
        throw AppError(written.Message());
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    const std::optional<QString> value = FindValue(Read()->parsed, section, key);
    return value ? value->left(MaxValueLength) : defaultValue;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<QString> text = FindValue(Read()->parsed, section, key);
    if (!text)
        return defaultValue;
    return ParseInteger(*text).value_or(defaultValue);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::KeyExists(const QString& section, const QString& key) const {
    return FindValue(Read()->parsed, section, key).has_value();
}

bool IniFile::SectionExists(const QString& section) const {
    // Held here: a range over a member of the temporary would outlive it.
    const std::shared_ptr<const Snapshot> snapshot = Read();
    for (const ParsedLine& parsed : snapshot->parsed)
        if (parsed.kind == ParsedLine::Section && parsed.name == section)
            return true;
    return false;
}

QStringList IniFile::ReadSection(const QString& section) const {
    QStringList keys;
    for (const auto& entry : ReadSectionValues(section))
        keys.append(entry.first);
    return keys;
}

QList<QPair<QString, QString>> IniFile::ReadSectionValues(const QString& section) const {
    QList<QPair<QString, QString>> entries;
    QStringList seen;
    ForEachKeyOf(Read()->parsed, section, [&](int, const ParsedLine& parsed) {
        if (!seen.contains(parsed.name)) { // the first of duplicated keys is the one read
            seen.append(parsed.name);
            entries.append({parsed.name, parsed.value.left(MaxValueLength)});
        }
        return true;
    });
    return entries;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const std::shared_ptr<const Snapshot> snapshot = Read();
    QStringList lines = snapshot->lines;
    const QList<ParsedLine>& parsedLines = snapshot->parsed;
    const QString newLine = Encode(key, true) + QLatin1Char('=') + Encode(value, false);

    int existing = -1;
    ForEachKeyOf(parsedLines, section, [&](int index, const ParsedLine& parsed) {
        if (parsed.name != key)
            return true;
        existing = index;
        return false;
    });
    if (existing >= 0) {
        lines[existing] = newLine;
        WriteLines(lines);
        return;
    }

    // A new key goes after the last non-blank line of the first section of that name.
    int header = -1;
    for (int i = 0; i < parsedLines.size() && header < 0; ++i)
        if (parsedLines[i].kind == ParsedLine::Section && parsedLines[i].name == section)
            header = i;
    if (header < 0) {
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines.append(newLine);
    } else {
        int insertAt = header + 1;
        for (int i = header + 1; i < lines.size(); ++i) {
            if (parsedLines[i].kind == ParsedLine::Section)
                break;
            if (!TrimBlanks(lines[i]).isEmpty())
                insertAt = i + 1;
        }
        lines.insert(insertAt, newLine);
    }
    WriteLines(lines);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::EraseSection(const QString& section) {
    const std::shared_ptr<const Snapshot> snapshot = Read();
    QStringList kept;
    bool inside = false;
    for (int i = 0; i < snapshot->lines.size(); ++i) {
        const ParsedLine& parsed = snapshot->parsed[i];
        if (parsed.kind == ParsedLine::Section)
            inside = parsed.name == section;
        if (!inside)
            kept.append(snapshot->lines[i]);
    }
    if (kept.size() != snapshot->lines.size())
        WriteLines(kept);
}

void IniFile::DeleteKey(const QString& section, const QString& key) {
    const std::shared_ptr<const Snapshot> snapshot = Read();
    QStringList lines = snapshot->lines;
    QList<int> doomed;
    ForEachKeyOf(snapshot->parsed, section, [&](int index, const ParsedLine& parsed) {
        if (parsed.name == key)
            doomed.append(index);
        return true;
    });
    if (doomed.isEmpty())
        return;
    for (qsizetype i = doomed.size() - 1; i >= 0; --i)
        lines.removeAt(doomed[i]);
    WriteLines(lines);
}
