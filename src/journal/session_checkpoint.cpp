#include "journal/session_checkpoint.h"

#include "base/formats.h"
#include "base/regular_file.h"
#include "base/safe_write.h"
#include "base/text_encoding.h"
#include "base/text_functions.h"
#include "journal/cell_file.h"

#include <QFile>
#include <QHash>
#include <QStringList>

namespace {
const QString header = QStringLiteral("[Tallivo session]");

} // namespace

bool WriteSessionCheckpoint(const QString& fileName, const SessionRecord& record) {
    QStringList lines{header};
    const auto add = [&lines](const char* key, const QString& value) {
        lines << QLatin1String(key) + QLatin1Char('=') + OneLineText(value);
    };
    add("Connexion", record.connection);
    add("Tarif", record.tariff);
    add("Date", DateText(record.date));
    add("Heure", TimeText(record.startTime));
    add("Duree", DurationText(record.durationSeconds));
    add("Statistiques", record.statsAvailable ? QStringLiteral("1") : QStringLiteral("0"));
    add("Recu", QString::number(record.received));
    add("Envoye", QString::number(record.sent));
    add("Cout", QString::number(record.cost, 'g', 17));
    return WriteFileSafely(fileName, EncodeFileText(lines.join(QStringLiteral("\r\n")) +
                                                    QStringLiteral("\r\n")))
        .Ok();
}

std::optional<SessionRecord> ReadSessionCheckpoint(const QString& fileName) {
    QFile file(fileName);
    if (!OpenRegularFile(file))
        return std::nullopt;
    const QString text = DecodeFileText(file.readAll());
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (lines.isEmpty() || lines.first() != header)
        return std::nullopt;
    QHash<QString, QString> values;
    for (const QString& line : lines) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(line.left(equals), RestoredLineText(line.mid(equals + 1)));
    }
    static const char* required[] = {"Connexion",    "Tarif", "Date",   "Heure", "Duree",
                                     "Statistiques", "Recu",  "Envoye", "Cout"};
    for (const char* key : required)
        if (!values.contains(QLatin1String(key)))
            return std::nullopt;

    SessionRecord record;
    record.connection = values.value(QStringLiteral("Connexion"));
    record.tariff = values.value(QStringLiteral("Tarif"));
    record.date = ParseDateText(values.value(QStringLiteral("Date")));
    record.startTime =
        QTime::fromString(values.value(QStringLiteral("Heure")), QStringLiteral("HH:mm:ss"));
    const std::optional<qint64> duration = DurationSeconds(values.value(QStringLiteral("Duree")));
    record.durationSeconds = static_cast<qint32>(duration.value_or(-1));
    record.statsAvailable = values.value(QStringLiteral("Statistiques")) == QLatin1String("1");
    bool receivedOk = false, sentOk = false, costOk = false;
    record.received = values.value(QStringLiteral("Recu")).toLongLong(&receivedOk);
    record.sent = values.value(QStringLiteral("Envoye")).toLongLong(&sentOk);
    record.cost = values.value(QStringLiteral("Cout")).toDouble(&costOk);
    if (!record.date.isValid() || !record.startTime.isValid() || !duration || !receivedOk ||
        !sentOk || !costOk)
        return std::nullopt;
    return record;
}

bool RemoveSessionCheckpoint(const QString& fileName) {
    return !QFile::exists(fileName) || QFile::remove(fileName);
}

bool CheckpointSchedule::Due(qint32 elapsed) const {
    return !written || elapsed < lastElapsed || elapsed - lastElapsed >= IntervalSeconds;
}

void CheckpointSchedule::Written(qint32 elapsed) {
    written = true;
    lastElapsed = elapsed;
}

void CheckpointSchedule::Reset() {
    written = false;
}
