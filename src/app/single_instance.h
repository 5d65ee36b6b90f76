#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Single-instance guard. The first copy owns a local server named "OnlyOne" followed by the
// first 20 characters of the application title. A second copy finds it, asks the first copy
// to restore or raise its window, and is told to end after its start-up. A marker left by a
// copy that died is removed and taken over. The owner also holds a lock on its data folder,
// so that a copy started where it cannot find the marker (another runtime folder) still
// never writes the same journal.
class TOnlyOne : public QObject {
    Q_OBJECT
  public:
    explicit TOnlyOne(QObject* parent = nullptr);
    ~TOnlyOne() override;

    bool EnforceOnlyOne;

    // Runs the check; true when this copy is the only one (it then owns the marker).
    bool Check();
    bool IsOwner() const { return owner; }
    // True when another copy was found and asked to come forward: this copy must end.
    bool TerminationRequested() const { return terminate; }
    // True when the copy that ends could not be reached to come forward: it holds the data
    // folder's lock, but not the marker this copy looks for.
    bool OwnerUnreachable() const { return ownerUnreachable; }
    static QString MarkerName(const QString& applicationTitle);
    // Where the marker lives: the user's runtime folder when there is one, so that two users
    // of one machine each have their own copy.
    static QString MarkerPath(const QString& applicationTitle);
    // The test programs create and destroy many window sets, also in parallel processes.
    static void SetEnforcedByDefault(bool enforced);

  signals:
    // Another copy asked this one to show itself.
    void RaiseRequested();

  private:
    void HandOver();
    bool HoldDataFolderLock();

    QLocalServer* server = nullptr;
    int dataFolderLock = -1;
    bool owner = false;
    bool terminate = false;
    bool ownerUnreachable = false;
};
