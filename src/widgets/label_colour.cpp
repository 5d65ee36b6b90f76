#include "widgets/label_colour.h"

#include <QColor>
#include <QLabel>
#include <QPalette>

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    if (palette.color(QPalette::WindowText) == colour)
        return;
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
