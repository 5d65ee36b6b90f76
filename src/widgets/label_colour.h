#pragma once

class QColor;
class QLabel;

// Sets the colour of a label's text; nothing is repainted when it already has that colour.
void SetTextColour(QLabel* label, const QColor& colour);
