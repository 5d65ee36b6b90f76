#include "journal/journal_preload.h"

#include <QThread>

JournalPreload::JournalPreload(const QString& fileName) : fileName(fileName) {
    QThread* const takingThread = QThread::currentThread();
    journal = std::async(std::launch::async, [fileName, takingThread] {
        Journal read;
        read.store = std::make_unique<JournalStore>();
        read.read = read.store->ReadJournalFile(fileName);
        // Handed to the thread that takes it: its objects must live there.
        read.store->jgrid.moveToThread(takingThread);
        read.store->moveToThread(takingThread);
        return read;
    });
}

JournalPreload::~JournalPreload() {
    if (journal.valid())
        journal.wait();
}

std::optional<JournalPreload::Journal> JournalPreload::Take(const QString& fileName) {
    if (fileName != this->fileName || !journal.valid())
        return std::nullopt;
    return journal.get();
}
