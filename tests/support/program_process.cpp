#include "support/program_process.h"

#include <QDir>
#include <QFile>
#include <csignal>

ProgramCopy::ProgramCopy() {
    QFile::copy(QStringLiteral(TALLIVO_EXECUTABLE), executable());
    for (const char* sub : {"runtime", "config", "tmp", "home"})
        QDir(directory.path()).mkdir(QString::fromLatin1(sub));
    QFile::setPermissions(file(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

ProgramCopy::~ProgramCopy() {
    for (auto& process : processes) {
        if (process->state() == QProcess::NotRunning)
            continue;
        ::kill(pid_t(process->processId()), SIGKILL);
        process->waitForFinished(5000);
    }
}

QProcessEnvironment ProgramCopy::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), file(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), file(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), file(QStringLiteral("home")));
    environment.insert(QStringLiteral("TMPDIR"), file(QStringLiteral("tmp")));
    return environment;
}

QProcess* ProgramCopy::start(const QString& platform) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = this->environment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(folder());
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(executable(), {});
    process->waitForStarted(5000);
    processes.push_back(std::move(process));
    return processes.back().get();
}
