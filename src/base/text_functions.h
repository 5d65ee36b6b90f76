#pragma once

#include <QString>
#include <optional>
#include <string_view>

// Seconds as "hh:nn:ss"; hours are not limited to 24 or to two digits ("100:00:00").
QString DurationText(qint32 seconds);
// Whole hours and minutes: "12 h 30 mn" (negative counts as 0).
QString HoursMinutesText(qint64 seconds);
// "hours:minutes:seconds" back to seconds; nothing when a part is not a whole number.
std::optional<qint64> DurationSeconds(const QString& text);
// The same for a cell's UTF-8 text; "hh:nn:ss" as the program writes it is read in place.
std::optional<qint64> Utf8DurationSeconds(std::string_view utf8);
// A byte count as "512 octets", "1,50 Ko", "1,00 Mo" or "1,00 Go".
QString ByteSizeText(double bytes);
