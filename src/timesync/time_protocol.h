#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The Time Protocol (RFC 868): the server sends the seconds since 1 January 1900 00:00 UTC as a
// 32-bit unsigned number, most significant byte first, then closes the connection.
constexpr int TimeAnswerSize = 4;

// The count in the first four bytes of an answer (the answer must hold at least four).
quint32 TimeCountFromBytes(const QByteArray& answer);

// Seconds since 1900 of a count. The 32-bit count wraps on 7 February 2036 06:28:16 UTC: a count
// below 2^31 (before 1968, long before any server sent one) belongs to the next era.
qint64 SecondsSince1900(quint32 count);

// The UTC time of day of a count as "hh:nn:ss".
QString TimeOfDayText(quint32 count);
