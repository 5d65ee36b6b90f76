#include "base/text_functions.h"

#include "base/ascii_digits.h"
#include "base/cell_grid.h"
#include "base/formats.h"

#include <QStringList>
#include <QtNumeric>
#include <cmath>

namespace {
QString TwoDigits(qint64 value) {
    const QString text = QString::number(value);
    return text.size() == 1 ? QLatin1Char('0') + text : text;
}

std::optional<qint64> WholeNumber(const QString& text) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}
} // namespace

QString DurationText(qint32 seconds) {
    const qint64 value = seconds;
    return TwoDigits(value / 3600) + QLatin1Char(':') + TwoDigits(value % 3600 / 60) +
           QLatin1Char(':') + TwoDigits(value % 60);
}

QString HoursMinutesText(qint64 seconds) {
    const qint64 value = seconds < 0 ? 0 : seconds;
    return QString::number(value / 3600) + QStringLiteral(" h ") +
           QString::number(value % 3600 / 60) + QStringLiteral(" mn");
}

std::optional<qint64> DurationSeconds(const QString& text) {
    const int firstColon = text.indexOf(QLatin1Char(':'));
    if (firstColon < 0)
        return std::nullopt;
    const int secondColon = text.indexOf(QLatin1Char(':'), firstColon + 1);
    if (secondColon < 0)
        return std::nullopt;
    const auto hours = WholeNumber(text.left(firstColon));
    const auto minutes = WholeNumber(text.mid(firstColon + 1, secondColon - firstColon - 1));
    const auto seconds = WholeNumber(text.mid(secondColon + 1));
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    // A damaged cell can hold any number: one that does not fit does not read either.
    qint64 hourSeconds = 0, minuteSeconds = 0, sum = 0, total = 0;
    if (qMulOverflow(*hours, qint64(3600), &hourSeconds) ||
        qMulOverflow(*minutes, qint64(60), &minuteSeconds) ||
        qAddOverflow(hourSeconds, minuteSeconds, &sum) || qAddOverflow(sum, *seconds, &total))
        return std::nullopt;
    return total;
}

std::optional<qint64> Utf8DurationSeconds(std::string_view utf8) {
    const size_t first = utf8.find(':');
    if (first != std::string_view::npos && first <= 9 && utf8.size() == first + 6 &&
        utf8[first + 3] == ':' && AllAsciiDigits(utf8.substr(0, first)) &&
        AllAsciiDigits(utf8.substr(first + 1, 2)) && AllAsciiDigits(utf8.substr(first + 4, 2)))
        return AsciiDigitsValue(utf8.substr(0, first)) * 3600 +
               AsciiDigitsValue(utf8.substr(first + 1, 2)) * 60 +
               AsciiDigitsValue(utf8.substr(first + 4, 2));
    return DurationSeconds(Utf8CellText(utf8));
}

QString ByteSizeText(double bytes) {
    constexpr double kilo = 1024.0, mega = 1048576.0, giga = 1073741824.0;
    if (bytes < kilo)
        return QString::number(static_cast<qint64>(std::nearbyint(bytes))) +
               QStringLiteral(" octets");
    if (bytes < mega)
        return FixedText(bytes / kilo, 2) + QStringLiteral(" Ko");
    if (bytes < giga)
        return FixedText(bytes / mega, 2) + QStringLiteral(" Mo");
    return FixedText(bytes / giga, 2) + QStringLiteral(" Go");
}
