#include "widgets/page_builder.h"

#include <QLabel>

QLabel* CaptionLabel(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}
