#include "widgets/counter_text.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

void SetHint(QWidget* widget, const QString& hint) {
    if (widget->toolTip() != hint)
        widget->setToolTip(hint);
}

void KeepLaidOutSize(QWidget* box) {
    if (!box->isVisible() || box->minimumSize() == box->maximumSize())
        return;
    // A window shown a moment ago may still have layouts to redo: its final sizes come first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    box->setFixedSize(box->size());
}
