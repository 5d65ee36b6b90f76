#include "app/application_title.h"

namespace {
QString title = QStringLiteral("Tallivo");
}

QString ApplicationTitle() {
    return title;
}
void SetApplicationTitle(const QString& newTitle) {
    title = newTitle;
}
