#include "widgets/counter_text.h"

#include "base/changed_text_stretch.h"
#include "widgets/counter_font.h"
#include "widgets/counter_line.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QWidget>
#include <cmath>
#include <optional>

namespace {
// The part of the counter to repaint for its new text; nothing when the counter is not a
// single plain line drawn straight into its contents, and it is repainted whole.
std::optional<QRect> ChangedPart(const QLabel& counter, const QString& before,
                                 const QString& after) {
    const std::optional<LineAlignment> alignment = PlainLineAlignment(counter);
    if (!alignment || !IsSinglePlainLine(before) || !IsSinglePlainLine(after))
        return std::nullopt;
    CounterFont& font = CounterFont::Of(counter);
    const QRect box = counter.contentsRect();
    const std::optional<TextStretch> stretch = ChangedTextStretch(
        before, font.Advances(before), after, font.Advances(after), *alignment, box.width());
    if (!stretch)
        return QRect();
    const double margin = font.Overhang();
    const int left = box.left() + static_cast<int>(std::floor(stretch->from - margin));
    const int right = box.left() + static_cast<int>(std::ceil(stretch->to + margin));
    return QRect(left, 0, right - left, counter.height()) & counter.rect();
}
} // namespace

void SetCounterText(QLabel* counter, const QString& text) {
    const QString before = counter->text();
    if (before == text)
        return;
    const std::optional<QRect> changed = counter->updatesEnabled() && counter->isVisible()
                                             ? ChangedPart(*counter, before, text)
                                             : std::nullopt;
    if (!changed) {
        counter->setText(text);
        return;
    }
    // The label's own whole repaint held back (the attribute alone, as setUpdatesEnabled would
    // repaint it whole when updates come back), the changed part asked for instead.
    counter->setAttribute(Qt::WA_UpdatesDisabled, true);
    counter->setText(text);
    counter->setAttribute(Qt::WA_UpdatesDisabled, false);
    if (!changed->isEmpty())
        counter->update(*changed);
}

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
