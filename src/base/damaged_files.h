#pragma once

#include <QString>

// A file the program could not read whole is kept under a name that says so
// ("tallivo.jnl.endommage-20261207-101500"), so the user's data stays recoverable whatever
// is saved later. Copies it (or moves it, when asked); returns the new name, empty on failure.
QString PutDamagedFileAside(const QString& fileName, bool move = false);
