#include "timesync/time_protocol.h"

#include "base/formats.h"

#include <QTime>

quint32 TimeCountFromBytes(const QByteArray& answer) {
    quint32 count = 0;
    for (int i = 0; i < TimeAnswerSize && i < answer.size(); ++i)
        count = (count << 8) | static_cast<quint8>(answer.at(i));
    return count;
}

qint64 SecondsSince1900(quint32 count) {
    constexpr qint64 era = qint64(1) << 32;
    return count < 0x80000000u ? era + count : qint64(count);
}

QString TimeOfDayText(quint32 count) {
    const int secondOfDay = static_cast<int>(SecondsSince1900(count) % 86400);
    return TimeText(QTime(0, 0).addSecs(secondOfDay));
}
