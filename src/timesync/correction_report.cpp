#include "timesync/correction_report.h"

#include <cstdlib>

namespace {
QString Counted(int value, const char* one, const char* many) {
    return QString::number(value) + QString::fromUtf8(value > 1 ? many : one);
}
} // namespace

CorrectionReport MakeCorrectionReport(const QDateTime& oldTime, const QDateTime& newTime,
                                      const Result& clockSet) {
    const QDateTime oldToTheSecond = oldTime.addMSecs(-oldTime.time().msec());
    const qint64 apart = std::abs(oldToTheSecond.secsTo(newTime));
    const int dh = int(apart / 3600);
    const int dm = int(apart % 3600 / 60);
    const int ds = int(apart % 60);
    CorrectionReport report;
    if (dh == 0 && dm == 0 && ds <= 10) {
        report.onTime = true;
        report.text = QStringLiteral("Votre PC était parfaitement à l'heure !");
        return report;
    }
    QString text = oldTime >= newTime ? QStringLiteral("Votre PC avançait de ")
                                      : QStringLiteral("Votre PC retardait de ");
    if (dh != 0)
        text += Counted(dh, " heure ", " heures ");
    if (dm != 0)
        text += Counted(dm, " minute ", " minutes ");
    if (ds != 0)
        text += Counted(ds, " seconde ", " secondes ");
    text.chop(1);
    text += QStringLiteral(".\r");
    if (clockSet)
        text += QStringLiteral("La correction a été faite.");
    else
        text += QStringLiteral("L'heure du PC n'a pas pu être corrigée : ") + clockSet.Message();
    report.text = text;
    return report;
}

QDateTime ServerTimeOnMachineDate(const QDateTime& machineUtc, const QString& serverTimeOfDay,
                                  qint64 answerAgeMs) {
    const QTime time = QTime::fromString(serverTimeOfDay, QStringLiteral("hh:mm:ss"));
    if (!time.isValid())
        return {};
    const qint64 age = (answerAgeMs + 500) / 1000 * 1000;
    const QDateTime machine = machineUtc.toUTC().addMSecs(-age);
    QDateTime nearest;
    for (int days : {0, -1, 1}) {
        const QDateTime candidate(machine.date().addDays(days), time, Qt::UTC);
        if (!nearest.isValid() ||
            std::abs(machine.msecsTo(candidate)) < std::abs(machine.msecsTo(nearest)))
            nearest = candidate;
    }
    return nearest.addMSecs(age);
}
