#pragma once

#include "base/clock.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <sys/resource.h>

// Installs a manual clock as the program's clock for the life of the object.
class ScopedClock {
  public:
    explicit ScopedClock(const QDateTime& start) : clock(start) { SetAppClock(&clock); }
    ~ScopedClock() { SetAppClock(nullptr); }
    ManualClock clock;
};

// The local time zone as the TZ variable gives it, for the life of the object: French time by
// default, whose clocks go forward on the last Sunday of March and back on that of October.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone = "CET-1CEST,M3.5.0,M10.5.0/3");
    ~ScopedTimeZone();

  private:
    QByteArray previous;
};

// A temporary folder holding the program's files: the executable path is pointed at
// FOLDER/tallivo, so the settings, tariff and journal files are FOLDER/tallivo.*.
class ScopedProgramFolder {
  public:
    ScopedProgramFolder();
    ~ScopedProgramFolder();
    QString path() const { return folder.path(); }
    QString file(const QString& name) const { return folder.filePath(name); }

  private:
    QTemporaryDir folder;
};

// A file-size limit for this process: files beyond it cannot be written (like a full disk
// for a big file), small ones still can.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { Lift(); }
    void Lift() {
        if (lifted)
            return;
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
        lifted = true;
    }

  private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
    bool lifted = false;
};

QByteArray ReadWholeFile(const QString& fileName);
void WriteWholeFile(const QString& fileName, const QByteArray& contents);

#include <ostream>
// Readable QString values in GoogleTest failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
