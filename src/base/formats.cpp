#include "base/formats.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {
// The fixed-width formats written digit by digit: they run every second of a session, and
// Qt's pattern formatting goes through the calendar and several allocations.
void AppendDigits(QString& text, int value, int width) {
    char16_t digits[4];
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = char16_t(u'0' + value % 10);
    text.append(reinterpret_cast<const QChar*>(digits), width);
}

bool FourDigitYear(const QDate& date) {
    return date.isValid() && date.year() >= 1000 && date.year() <= 9999;
}
} // namespace

QString TimeText(const QTime& time) {
    if (!time.isValid())
        return {};
    QString text;
    text.reserve(8);
    AppendDigits(text, time.hour(), 2);
    text.append(QLatin1Char(':'));
    AppendDigits(text, time.minute(), 2);
    text.append(QLatin1Char(':'));
    AppendDigits(text, time.second(), 2);
    return text;
}

QString ShortTimeText(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm"));
}

QString DateText(const QDate& date) {
    if (!FourDigitYear(date))
        return date.toString(QStringLiteral("dd/MM/yyyy"));
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    QString text;
    text.reserve(10);
    AppendDigits(text, day, 2);
    text.append(QLatin1Char('/'));
    AppendDigits(text, month, 2);
    text.append(QLatin1Char('/'));
    AppendDigits(text, year, 4);
    return text;
}

QString DateTimeText(const QDateTime& moment) {
    return DateText(moment.date()) + QLatin1Char(' ') + TimeText(moment.time());
}

QDate ParseDateText(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{1,4})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    int year = match.captured(3).toInt();
    if (match.captured(3).size() <= 2)
        year += year < 50 ? 2000 : 1900;
    return QDate(year, match.captured(2).toInt(), match.captured(1).toInt());
}

QString FixedText(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    const bool allZero = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    if (text.startsWith(QLatin1Char('-')) && allZero)
        text.remove(0, 1); // no "-0,00"
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString GroupedFixedText(double value, int decimals) {
    QString text = FixedText(value, decimals);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    int integerEnd = text.indexOf(QLatin1Char(','));
    if (integerEnd < 0)
        integerEnd = text.size();
    for (int position = integerEnd - 3; position > 0; position -= 3)
        text.insert(position, QLatin1Char(' '));
    return negative ? QLatin1Char('-') + text : text;
}

bool ParseDecimalText(const QString& text, double* value) {
    QString cleaned = text.trimmed();
    cleaned.remove(QLatin1Char(' '));
    cleaned.remove(QChar(0x00A0));
    cleaned.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double parsed = cleaned.toDouble(&ok);
    if (ok && value)
        *value = parsed;
    return ok;
}

double RoundToSignificantDigits(double value, int digits) {
    if (value == 0.0 || !std::isfinite(value))
        return value;
    return QString::number(value, 'g', digits).toDouble();
}

QString SignificantFixedText(double value, int significantDigits, int decimals) {
    if (value == 0.0 || !std::isfinite(value))
        return FixedText(value, decimals);
    // First the value as a decimal text of the significant digits, then that text rounded
    // half up at the wanted decimals, so 2.675 shows 2,68 although it is 2.67499... in binary.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int fractionDigits = std::max(0, significantDigits - 1 - exponent);
    const QString digits = QString::number(std::fabs(value), 'f', fractionDigits);
    if (fractionDigits <= decimals) // large amounts: the significant digits end before the decimals
        return FixedText(RoundToSignificantDigits(value, significantDigits), decimals);
    const int point = digits.indexOf(QLatin1Char('.'));
    const QString kept = digits.left(point) + digits.mid(point + 1, decimals);
    qint64 scaled = kept.toLongLong();
    if (digits.at(point + 1 + decimals) >= QLatin1Char('5'))
        ++scaled;
    double rounded = static_cast<double>(scaled) / std::pow(10.0, decimals);
    return FixedText(value < 0 ? -rounded : rounded, decimals);
}

QString AmountText(double amount, const QString& currencyUnit) {
    return SignificantFixedText(amount, 7, 2) + QLatin1Char(' ') + currencyUnit;
}
