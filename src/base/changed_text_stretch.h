#pragma once

#include <QList>
#include <QString>
#include <optional>

// Where a line of text drawn in a box changes when it is replaced by another: the stretch,
// from the box's left, between the first and the last characters that are not drawn in the
// same place as before. Characters are placed by their advances (the text laid out without
// kerning), from the left, the right or the middle of the box.
enum class LineAlignment { Left, Right, Centre };

struct TextStretch {
    double from = 0;
    double to = 0;
};

// Nothing when the two texts are the same. `beforeAdvances` and `afterAdvances` hold one advance
// for each UTF-16 unit of their text.
std::optional<TextStretch>
ChangedTextStretch(const QString& before, const QList<double>& beforeAdvances, const QString& after,
                   const QList<double>& afterAdvances, LineAlignment alignment, double boxWidth);
