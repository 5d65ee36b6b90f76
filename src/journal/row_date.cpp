#include "journal/row_date.h"

#include "base/formats.h"

QDate JournalRowDate(const QString& text) {
    const auto digit = [&text](int i) { return text.at(i).unicode() - '0'; };
    const auto isDigit = [&text](int i) {
        return text.at(i).isDigit() && text.at(i).unicode() < 128;
    };
    if (text.size() == 10 && text.at(2) == QLatin1Char('/') && text.at(5) == QLatin1Char('/') &&
        isDigit(0) && isDigit(1) && isDigit(3) && isDigit(4) && isDigit(6) && isDigit(7) &&
        isDigit(8) && isDigit(9))
        return QDate(digit(6) * 1000 + digit(7) * 100 + digit(8) * 10 + digit(9),
                     digit(3) * 10 + digit(4), digit(0) * 10 + digit(1));
    return ParseDateText(text);
}
