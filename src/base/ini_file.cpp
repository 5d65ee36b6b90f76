#include "base/ini_file.h"

#include "base/errors.h"
#include "base/safe_write.h"
#include "base/text_encoding.h"

#include <QFile>
#include <QRegularExpression>
#include <optional>

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

// The lines of each section of that name; a section may appear more than once.
template <typename Visit>
void ForEachKeyOf(const QStringList& lines, const QString& section, Visit visit) {
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = ParseLine(lines[i]);
        if (parsed.kind == ParsedLine::Section)
            inside = parsed.name == section;
        else if (inside && parsed.kind == ParsedLine::Key && !visit(i, parsed))
            return;
    }
}

std::optional<QString> FindValue(const QStringList& lines, const QString& section,
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
} // namespace

IniFile::IniFile(QString name) : fileName(std::move(name)) {}

void IniFile::BeginBatch() {
    batchLines = ReadLines();
}

void IniFile::CommitBatch() {
    if (!batchLines)
        return;
    const QStringList lines = *batchLines;
    batchLines.reset();
    WriteLines(lines);
}

QStringList IniFile::ReadLines() const {
    if (batchLines)
        return *batchLines;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = DecodeFileText(file.readAll());
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

void IniFile::WriteLines(const QStringList& lines) {
    if (batchLines) {
        *batchLines = lines;
        return;
    }
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1Char('\n');
    QString errorText;
    if (!WriteFileSafely(fileName, EncodeFileText(text), &errorText))
        throw AppError(errorText);
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    const std::optional<QString> value = FindValue(ReadLines(), section, key);
    return value ? value->left(MaxValueLength) : defaultValue;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<QString> text = FindValue(ReadLines(), section, key);
    if (!text)
        return defaultValue;
    return ParseInteger(*text).value_or(defaultValue);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::KeyExists(const QString& section, const QString& key) const {
    return FindValue(ReadLines(), section, key).has_value();
}

bool IniFile::SectionExists(const QString& section) const {
    for (const QString& line : ReadLines()) {
        const ParsedLine parsed = ParseLine(line);
        if (parsed.kind == ParsedLine::Section && parsed.name == section)
            return true;
    }
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
    ForEachKeyOf(ReadLines(), section, [&](int, const ParsedLine& parsed) {
        if (!seen.contains(parsed.name)) { // the first of duplicated keys is the one read
            seen.append(parsed.name);
            entries.append({parsed.name, parsed.value.left(MaxValueLength)});
        }
        return true;
    });
    return entries;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    QStringList lines = ReadLines();
    const QString newLine = Encode(key, true) + QLatin1Char('=') + Encode(value, false);

    int existing = -1;
    ForEachKeyOf(lines, section, [&](int index, const ParsedLine& parsed) {
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
    for (int i = 0; i < lines.size() && header < 0; ++i) {
        const ParsedLine parsed = ParseLine(lines[i]);
        if (parsed.kind == ParsedLine::Section && parsed.name == section)
            header = i;
    }
    if (header < 0) {
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines.append(newLine);
    } else {
        int insertAt = header + 1;
        for (int i = header + 1; i < lines.size(); ++i) {
            if (ParseLine(lines[i]).kind == ParsedLine::Section)
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
    const QStringList lines = ReadLines();
    QStringList kept;
    bool inside = false;
    for (const QString& line : lines) {
        const ParsedLine parsed = ParseLine(line);
        if (parsed.kind == ParsedLine::Section)
            inside = parsed.name == section;
        if (!inside)
            kept.append(line);
    }
    if (kept.size() != lines.size())
        WriteLines(kept);
}

void IniFile::DeleteKey(const QString& section, const QString& key) {
    QStringList lines = ReadLines();
    QList<int> doomed;
    ForEachKeyOf(lines, section, [&](int index, const ParsedLine& parsed) {
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
