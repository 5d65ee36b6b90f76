#pragma once

#include <QString>

// What the main window's cost computation shows besides the cost text, for the other
// windows that show it too.
struct CostDisplay {
    QString usedHint; // the time used in the period
    QString costHint; // the cost in the period
    bool allowanceShown = false;
    bool remainingPositive = true;
    QString remainingMiniText; // the allowance left, in the short form
};
