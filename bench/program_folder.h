#pragma once

#include "base/ini_file.h"
#include "base/program_files.h"
#include "journal_bench_data.h"

#include <QFile>
#include <QTemporaryDir>

// The program's files in a temporary folder, as the window benchmarks start it: the simulated
// modem (no /etc/ppp), no clock setting at connection, a journal of `journalRows` sessions.
inline void PrepareProgramFolder(const QTemporaryDir& folder, int journalRows) {
    ProgramFiles::SetExecutablePathForTests(folder.filePath(QStringLiteral("tallivo")));
    IniFile settings(ProgramFiles::SettingsFileName());
    settings.WriteString(QStringLiteral("Dialup"), QStringLiteral("Provider"),
                         QStringLiteral("simulation"));
    settings.WriteString(QStringLiteral("MainW"), QStringLiteral("HeureAuto"), QStringLiteral("0"));
    QFile::remove(ProgramFiles::JournalFileName());
    if (journalRows > 0) {
        JournalStore store;
        FillJournal(store, journalRows);
        store.SaveJournalFile(ProgramFiles::JournalFileName());
    }
}
