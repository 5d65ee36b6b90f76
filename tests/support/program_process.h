#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// The built program copied into a temporary folder (so that its settings, tariff and journal
// files are its own) and started as a real process with a private runtime folder.
class ProgramCopy {
  public:
    ProgramCopy();
    ~ProgramCopy();
    QString folder() const { return directory.path(); }
    QString file(const QString& name) const { return directory.filePath(name); }
    QString executable() const { return file(QStringLiteral("tallivo")); }
    QProcessEnvironment environment() const;
    // Starts one more copy of the program; the object keeps it and ends it at destruction.
    QProcess* start(const QString& platform = QStringLiteral("offscreen"));

  private:
    QTemporaryDir directory;
    std::vector<std::unique_ptr<QProcess>> processes;
};
