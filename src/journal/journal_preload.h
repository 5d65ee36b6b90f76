#pragma once

#include "journal/journal_store.h"

#include <QString>
#include <future>
#include <memory>
#include <optional>

// The journal file read on another thread while the splash shows, so that a large journal
// does not hold the windows up at start-up. The read changes nothing on disk: a second copy
// that hands over to the first one may read it and simply drop it.
class JournalPreload {
  public:
    struct Journal {
        std::unique_ptr<JournalStore> store; // living on the thread that takes it
        JournalStore::FileRead read;
    };

    explicit JournalPreload(const QString& fileName);
    ~JournalPreload(); // waits for the read to end

    // The journal read from `fileName`, once it is read; nothing when the preload was for
    // another file or has been taken already.
    std::optional<Journal> Take(const QString& fileName);

  private:
    QString fileName;
    std::future<Journal> journal;
};
