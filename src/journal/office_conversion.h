#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>
#include <memory>

class QTemporaryDir;

// Writes a word-processor document or a spreadsheet by having LibreOffice, run headless with
// a profile of its own, convert an HTML page (to "MS Word 97") or comma-separated text (to
// "MS Excel 97"). It runs in the background: Finished comes once the file is in place.
class OfficeConversion : public QObject {
    Q_OBJECT
  public:
    enum class Target { WordDocument, Spreadsheet };

    explicit OfficeConversion(QObject* parent = nullptr);
    ~OfficeConversion() override;

    // The error when LibreOffice is not installed: "Word OLE server not found" or
    // "Excel OLE server not found".
    static QString ServerNotFoundText(Target target);

    // Starts converting `source` (HTML for a document, comma-separated UTF-8 text for a
    // spreadsheet, where `textColumns` says which columns are imported as text) into
    // `outputFile`. False, with the reason in `errorText`, when it cannot start; Finished
    // does not come then.
    bool Start(Target target, const QByteArray& source, const QList<bool>& textColumns,
               const QString& outputFile, QString* errorText);
    bool Running() const;
    // How long LibreOffice may take before it is stopped and the export reported as failed.
    void SetTimeLimit(int milliseconds) { timeLimit = milliseconds; }
    // Three minutes, and more for a long table: LibreOffice lays a document's table out
    // slowly (5 ms a row and more as it grows), and a large journal must not be taken for a
    // hang. At most an hour.
    static int TimeLimitForRows(int rows);

  signals:
    // The output file was written (success) or left as it was (errorText says why, in French).
    void Finished(bool success, const QString& errorText);

  private:
    void ProcessEnded(int exitCode, QProcess::ExitStatus status);
    void Fail(const QString& errorText);
    void Cleanup();
    // Ends LibreOffice and every process it started (its launcher hands the work to a child),
    // so that none writes into the work folder once it is removed.
    void KillConversion();

    std::unique_ptr<QTemporaryDir> workFolder;
    QProcess* process = nullptr;
    QTimer limit;
    int timeLimit = 180000;
    QString output;
    QString converted;
};
