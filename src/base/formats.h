#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The program-wide text forms: "hh:nn:ss" and "hh:nn" times, "dd/mm/yyyy" dates and the
// decimal comma, whatever the user's regional settings.
QString TimeText(const QTime& time);      // "14:05:09"
QString ShortTimeText(const QTime& time); // "14:05"
QString DateText(const QDate& date);      // "07/12/2026"
QString DateTimeText(const QDateTime& moment);
// A date in the "dd/mm/yyyy" form (one-digit day and month accepted); invalid when it is not.
QDate ParseDateText(const QString& text);

// Fixed-point notation with the decimal comma and no thousands separator: 1,50 or -0,22000.
QString FixedText(double value, int decimals);
// The same with the thousands grouped by a space: 1 234,50000.
QString GroupedFixedText(double value, int decimals);
// A decimal number typed with either a comma or a point; spaces (thousands) are ignored.
bool ParseDecimalText(const QString& text, double* value);
// An amount of money as shown to the user: rounded to seven significant digits, two
// decimals, a blank and the currency unit ("0,33 F").
QString AmountText(double amount, const QString& currencyUnit);
double RoundToSignificantDigits(double value, int digits);
// The value rounded to that many significant digits, then written with that many decimals.
QString SignificantFixedText(double value, int significantDigits, int decimals);
