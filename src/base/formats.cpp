#include "base/formats.h"

#include <QRegularExpression>
#include <cmath>

QString TimeText(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString ShortTimeText(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm"));
}

QString DateText(const QDate& date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
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
    if (text.startsWith(QLatin1Char('-')) &&
        text.count(QRegularExpression(QStringLiteral("[1-9]"))) == 0)
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
