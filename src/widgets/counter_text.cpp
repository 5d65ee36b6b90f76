#include "widgets/counter_text.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QWidget>

void SetHint(QWidget* widget, const QString& hint) {
    if (widget->toolTip() != hint)
        widget->setToolTip(hint);
}

void KeepLaidOutSize(std::initializer_list<QWidget*> widgets) {
    bool layoutsDone = false;
    for (QWidget* widget : widgets) {
        if (!widget->isVisible() || widget->minimumSize() == widget->maximumSize())
            continue;
        // A window shown a moment ago may still have layouts to redo: its final sizes first.
        if (!layoutsDone)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        layoutsDone = true;
        widget->setFixedSize(widget->size());
    }
}

void LayOutWithoutShaping(std::initializer_list<QWidget*> counters) {
    for (QWidget* counter : counters) {
        QFont font = counter->font();
        font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
        counter->setFont(font);
    }
}
