#pragma once

#include "base/result.h"
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

// The settings file with private-profile semantics: every read sees the file as it is on disk
// and every write rewrites it at once. What was read is kept until the file changes (its
// size, modification time or inode), so that a series of reads decodes the file once while
// another program's edits are still seen. Sections and keys are
// matched with their exact spelling. Reads never fail (a missing file, section or key
// gives the default); writes go through WriteFileSafely and throw AppError with the
// French reason when the file cannot be written.
//
// A value or key that the plain "key=value" line could not carry (line breaks and other
// control characters, spaces at either end, a key holding "=" or starting with "[" or ";",
// text already in the protected form) is written in a protected form: between double
// quotes, with "%", control characters (and "=" in keys) as %XX. Everything else is
// written byte for byte as a plain INI file would hold it.
class IniFile {
  public:
    explicit IniFile(QString fileName);
    const QString& FileName() const { return fileName; }

    // At most 2047 characters are returned.
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Decimal, or hexadecimal after "0x" or "0X"; anything else gives the default.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // Read as an integer: true when not 0.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    bool KeyExists(const QString& section, const QString& key) const;
    bool SectionExists(const QString& section) const;
    // The keys of a section, in file order.
    QStringList ReadSection(const QString& section) const;
    // The keys of a section with their values, in file order.
    QList<QPair<QString, QString>> ReadSectionValues(const QString& section) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& key);

    static constexpr int MaxValueLength = 2047;
    // A file beyond any real settings file: it is not read (reads give the defaults) and
    // never overwritten (writes raise AppError).
    static constexpr qint64 MaxFileSize = 1024 * 1024;
    bool TooLarge() const;
    // At start-up: a settings file too large to read is kept aside under a name that says so,
    // so that the settings can be saved again; a failure carries the French message for the
    // user, success means the file is fine.
    static Result SetAsideWhenTooLarge(const QString& fileName);

    // One save of many keys: the file is read when the batch begins, the reads and writes in
    // between work on that copy, and the file is rewritten once when the batch is committed.
    // Without it every write rewrites (and syncs) the whole file.
    void BeginBatch();
    void CommitBatch();

    struct Snapshot;

  private:
    std::shared_ptr<const Snapshot> Read() const;
    void WriteLines(const QStringList& lines);

    QString fileName;
    std::shared_ptr<const Snapshot> batch;
};
