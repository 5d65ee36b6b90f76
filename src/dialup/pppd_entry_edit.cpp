#include "dialup/pppd_entry_edit.h"

#include <cctype>

namespace {
struct WordSpan {
    qsizetype begin = 0;
    qsizetype end = 0; // past the closing quote
    char quote = 0;    // the word's opening quote, if it starts with one
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The words of one line as pppd and chat read them: quotes and backslashes hold blanks in,
// a '#' outside a word starts a comment.
QList<WordSpan> WordSpans(const QByteArray& line) {
    QList<WordSpan> spans;
    qsizetype i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#')
            break;
        WordSpan span{i, i, 0};
        if (line[i] == '"' || line[i] == '\'')
            span.quote = line[i];
        char quote = 0;
        for (; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '\\') {
                ++i;
            } else if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (IsBlank(c)) {
                break;
            }
        }
        span.end = qMin(i, line.size());
        spans.append(span);
    }
    return spans;
}

QByteArray Word(const QByteArray& line, const WordSpan& span) {
    return line.mid(span.begin, span.end - span.begin);
}

// A number as one shell word: plain when it holds only digits and commas.
QByteArray ShellWord(const QString& number) {
    for (const QChar c : number)
        if (!c.isDigit() && c != QLatin1Char(','))
            return '\'' + number.toUtf8() + '\'';
    return number.toUtf8();
}
} // namespace

bool ReplaceLoneWord(QList<QByteArray>* lines, const QString& from, const QString& to) {
    if (from.isEmpty())
        return false;
    bool replaced = false;
    for (QByteArray& line : *lines) {
        const QList<WordSpan> spans = WordSpans(line);
        if (spans.size() != 1)
            continue;
        const QString word = QString::fromUtf8(Word(line, spans[0]));
        if (word == from || QStringLiteral("/dev/") + word == from) {
            line.replace(spans[0].begin, spans[0].end - spans[0].begin, to.toUtf8());
            replaced = true;
        }
    }
    return replaced;
}

bool ReplaceOptionValue(QByteArray* line, const QByteArray& option, const QByteArray& value) {
    const QList<WordSpan> spans = WordSpans(*line);
    if (spans.size() < 2 || Word(*line, spans[0]) != option)
        return false;
    line->replace(spans[1].begin, spans[1].end - spans[1].begin, value);
    return true;
}

void SetUserLines(QList<QByteArray>* lines, const QByteArray& userWord) {
    bool replaced = false;
    for (QByteArray& line : *lines)
        replaced = ReplaceOptionValue(&line, "user", userWord) || replaced;
    if (!replaced) {
        const QByteArray userLine = "user " + userWord;
        if (!lines->isEmpty() && lines->last().isEmpty())
            lines->insert(lines->size() - 1, userLine);
        else
            lines->append(userLine);
    }
}

bool ReplaceConnectNumber(QList<QByteArray>* lines, const QString& number) {
    for (QByteArray& line : *lines) {
        const QList<WordSpan> spans = WordSpans(line);
        if (spans.size() < 2 || Word(line, spans[0]) != "connect")
            continue;
        // The command is one word of the options file, read again by the shell.
        const WordSpan& command = spans[1];
        const qsizetype inner = command.begin + (command.quote ? 1 : 0);
        const qsizetype innerEnd = command.quote ? command.end - 1 : command.end;
        const QByteArray text = line.mid(inner, innerEnd - inner);
        const QList<WordSpan> words = WordSpans(text);
        for (int w = 0; w + 1 < words.size(); ++w) {
            if (Word(text, words[w]) != "-T")
                continue;
            const WordSpan& value = words[w + 1];
            line.replace(inner + value.begin, value.end - value.begin, ShellWord(number));
            return true;
        }
    }
    return false;
}

bool ReplaceDialedNumber(QByteArray* script, const QString& number) {
    QList<QByteArray> lines = script->split('\n');
    for (QByteArray& line : lines) {
        for (const WordSpan& span : WordSpans(line)) {
            const qsizetype inner = span.begin + (span.quote ? 1 : 0);
            if (!line.mid(inner, 3).toUpper().startsWith("ATD"))
                continue;
            const char mode =
                inner + 3 < line.size() ? char(std::toupper(uchar(line[inner + 3]))) : 0;
            const qsizetype commandEnd = inner + ((mode == 'T' || mode == 'P') ? 4 : 3);
            const qsizetype numberEnd =
                span.quote && span.end > commandEnd && line[span.end - 1] == span.quote
                    ? span.end - 1
                    : span.end;
            QByteArray replacement = number.toUtf8();
            if (!span.quote && number.contains(QLatin1Char(' '))) {
                // A blank would end an unquoted word: the whole word is quoted.
                replacement =
                    '"' + line.mid(span.begin, commandEnd - span.begin) + replacement + '"';
                line.replace(span.begin, span.end - span.begin, replacement);
            } else {
                line.replace(commandEnd, numberEnd - commandEnd, replacement);
            }
            *script = lines.join('\n');
            return true;
        }
    }
    return false;
}

QByteArray LineTail(const QByteArray& line) {
    const QList<WordSpan> spans = WordSpans(line);
    const qsizetype end = spans.isEmpty() ? 0 : spans.last().end;
    // From the last word's end, blanks included: the comment stays apart from the words.
    if (line.indexOf('#', end) >= 0)
        return line.mid(end);
    return line.endsWith('\r') ? QByteArray("\r") : QByteArray();
}
