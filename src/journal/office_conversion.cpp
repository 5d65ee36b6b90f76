#include "journal/office_conversion.h"

#include "base/safe_write.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace {
// The spreadsheet import: comma, double quote, UTF-8, from line 1, each column standard (1)
// or text (2), English number forms (language 1033), so that "12.5" is a number and a
// duration or a date stays the text it is.
QString CsvImportFilter(const QList<bool>& textColumns) {
    QStringList formats;
    for (int col = 0; col < textColumns.size(); ++col)
        formats << QStringLiteral("%1/%2").arg(col + 1).arg(textColumns[col] ? 2 : 1);
    return QStringLiteral("CSV:44,34,76,1,%1,1033,false,false").arg(formats.join(QLatin1Char('/')));
}
} // namespace

OfficeConversion::OfficeConversion(QObject* parent) : QObject(parent) {
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, this, [this] {
        if (process)
            KillConversion(); // ProcessEnded reports it
    });
}

OfficeConversion::~OfficeConversion() {
    if (process) {
        process->disconnect(this);
        KillConversion();
    }
}

void OfficeConversion::KillConversion() {
    const qint64 group = process->processId();
    if (group > 0)
        ::kill(-pid_t(group), SIGKILL);
    process->kill();
    process->waitForFinished(5000);
    // The launcher's children, left to the system, are gone once their group is empty.
    QDeadlineTimer deadline(2000);
    while (group > 0 && ::kill(-pid_t(group), 0) == 0 && !deadline.hasExpired())
        QThread::msleep(10);
}

QString OfficeConversion::ServerNotFoundText(Target target) {
    return target == Target::WordDocument ? QStringLiteral("Word OLE server not found")
                                          : QStringLiteral("Excel OLE server not found");
}

int OfficeConversion::TimeLimitForRows(int rows) {
    return static_cast<int>(std::clamp<qint64>(qint64(rows) * 40, 180000, 3600000));
}

bool OfficeConversion::Running() const {
    return process != nullptr;
}

bool OfficeConversion::Start(Target target, const QByteArray& source,
                             const QList<bool>& textColumns, const QString& outputFile,
                             QString* errorText) {
    const auto failed = [errorText](const QString& text) {
        if (errorText)
            *errorText = text;
        return false;
    };
    if (Running())
        return failed(QStringLiteral("Une exportation est déjà en cours."));
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return failed(ServerNotFoundText(target));

    workFolder = std::make_unique<QTemporaryDir>();
    if (!workFolder->isValid()) {
        workFolder.reset();
        return failed(QStringLiteral("Impossible de créer un dossier temporaire pour "
                                     "l'exportation."));
    }
    const bool word = target == Target::WordDocument;
    const QString input =
        workFolder->filePath(word ? QStringLiteral("journal.htm") : QStringLiteral("journal.csv"));
    if (const Result written = WriteFileSafely(input, source); !written) {
        workFolder.reset();
        return failed(written.Message());
    }
    const QString outFolder = workFolder->filePath(QStringLiteral("out"));
    QDir().mkpath(outFolder);
    converted =
        outFolder + (word ? QStringLiteral("/journal.doc") : QStringLiteral("/journal.xls"));
    output = outputFile;

    QStringList arguments{
        QStringLiteral("-env:UserInstallation=") +
            QUrl::fromLocalFile(workFolder->filePath(QStringLiteral("profile"))).toString(),
        QStringLiteral("--headless"), QStringLiteral("--norestore"),
        QStringLiteral("--nolockcheck")};
    if (!word)
        arguments << QStringLiteral("--infilter=") + CsvImportFilter(textColumns);
    arguments << QStringLiteral("--convert-to")
              << (word ? QStringLiteral("doc:MS Word 97") : QStringLiteral("xls:MS Excel 97"))
              << QStringLiteral("--outdir") << outFolder << input;

    process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    // LibreOffice's own temporary files go with the work folder, even when it is stopped.
    const QString officeTemporary = workFolder->filePath(QStringLiteral("tmp"));
    QDir().mkpath(officeTemporary);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), officeTemporary);
    process->setProcessEnvironment(environment);
    // A group of its own, so that the whole of LibreOffice can be stopped at once.
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(process, &QProcess::finished, this, &OfficeConversion::ProcessEnded);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Fail(QStringLiteral("LibreOffice n'a pas pu être lancé."));
    });
    process->start(soffice, arguments);
    limit.start(timeLimit);
    return true;
}

void OfficeConversion::ProcessEnded(int exitCode, QProcess::ExitStatus status) {
    if (!process)
        return;
    if (status != QProcess::NormalExit || exitCode != 0 || !QFile::exists(converted)) {
        Fail(limit.isActive() ? QStringLiteral("LibreOffice n'a pas pu convertir le journal.")
                              : QStringLiteral("LibreOffice ne répond pas : l'exportation "
                                               "est abandonnée."));
        return;
    }
    QFile file(converted);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("LibreOffice n'a pas pu convertir le journal."));
        return;
    }
    const QByteArray contents = file.readAll();
    file.close();
    if (const Result written = WriteFileSafely(output, contents); !written) {
        Fail(written.Message());
        return;
    }
    Cleanup();
    emit Finished(true, QString());
}

void OfficeConversion::Fail(const QString& errorText) {
    Cleanup();
    emit Finished(false, errorText);
}

void OfficeConversion::Cleanup() {
    limit.stop();
    if (process) {
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning)
            KillConversion();
        process->deleteLater();
        process = nullptr;
    }
    workFolder.reset();
}
