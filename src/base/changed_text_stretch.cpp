#include "base/changed_text_stretch.h"

#include <algorithm>
#include <numeric>

namespace {
double Sum(const QList<double>& advances, qsizetype from, qsizetype to) {
    return std::accumulate(advances.cbegin() + from, advances.cbegin() + to, 0.0);
}

double Origin(LineAlignment alignment, double boxWidth, double textWidth) {
    switch (alignment) {
    case LineAlignment::Right:
        return boxWidth - textWidth;
    case LineAlignment::Centre:
        return (boxWidth - textWidth) / 2;
    case LineAlignment::Left:
        break;
    }
    return 0;
}

// A text's place in the box, and where its pieces begin.
struct PlacedText {
    const QList<double>& advances;
    double origin;

    double At(qsizetype index) const { return origin + Sum(advances, 0, index); }
};
} // namespace

std::optional<TextStretch>
ChangedTextStretch(const QString& before, const QList<double>& beforeAdvances, const QString& after,
                   const QList<double>& afterAdvances, LineAlignment alignment, double boxWidth) {
    if (before == after)
        return std::nullopt;
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;

    const PlacedText old{beforeAdvances,
                         Origin(alignment, boxWidth, Sum(beforeAdvances, 0, before.size()))};
    const PlacedText now{afterAdvances,
                         Origin(alignment, boxWidth, Sum(afterAdvances, 0, after.size()))};
    const qsizetype oldSuffix = before.size() - suffix;
    const qsizetype newSuffix = after.size() - suffix;

    TextStretch changed{std::min(old.At(prefix), now.At(prefix)),
                        std::max(old.At(oldSuffix), now.At(newSuffix))};
    const auto take = [&changed](double from, double to) {
        changed.from = std::min(changed.from, from);
        changed.to = std::max(changed.to, to);
    };
    // The unchanged ends are redrawn too when they moved.
    if (old.origin != now.origin) {
        take(old.At(0), old.At(prefix));
        take(now.At(0), now.At(prefix));
    }
    if (old.At(oldSuffix) != now.At(newSuffix)) {
        take(old.At(oldSuffix), old.At(before.size()));
        take(now.At(newSuffix), now.At(after.size()));
    }
    return changed;
}
