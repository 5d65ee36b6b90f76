// Placeholder until the cost computation lands.
#include "app/ui/tform1.h"

#include <QLineEdit>

QString TForm1::ComputeCost(qint32) {
    return QStringLiteral("0 ") + CurrEdit->text();
}
