#pragma once

#include <QString>

// The application title: "Tallivo", or "destroy me" in a second copy that hands over to the
// first (so that the first copy's window can still be found by its title).
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);
