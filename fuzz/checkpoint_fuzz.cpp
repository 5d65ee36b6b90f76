// The running session's checkpoint: any content is read without harm, and a session read
// from it is written again and read back the same.
#include "fuzz_support.h"
#include "journal/session_checkpoint.h"

#include <cmath>

namespace {
QString RecordText(const SessionRecord& record) {
    return QStringList{record.connection,
                       record.tariff,
                       record.date.toString(Qt::ISODate),
                       record.startTime.toString(QStringLiteral("HH:mm:ss.zzz")),
                       QString::number(record.durationSeconds),
                       QString::number(record.statsAvailable),
                       QString::number(record.received),
                       QString::number(record.sent),
                       std::isnan(record.cost) ? QStringLiteral("nan")
                                               : QString::number(record.cost, 'g', 17)}
        .join(QLatin1Char('|'));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = FreshFolder();
    const QString fileName = folder + QStringLiteral("/tallivo.session");
    WriteInputFile(fileName, InputBytes(data, size));
    const std::optional<SessionRecord> record = ReadSessionCheckpoint(fileName);
    if (!record)
        return 0;
    const QString copy = folder + QStringLiteral("/copie.session");
    if (!WriteSessionCheckpoint(copy, *record))
        return 0;
    const std::optional<SessionRecord> again = ReadSessionCheckpoint(copy);
    const QString written = RecordText(*record);
    const QString readBack = again ? RecordText(*again) : QStringLiteral("(nothing)");
    if (written != readBack)
        RoundTripFailure("checkpoint", written, readBack);
    return 0;
}
