#include "widgets/counter_text.h"

#include "base/changed_text_stretch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QWidget>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace {
bool IsSinglePlainLine(const QString& text) {
    for (const QChar c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('<') || c == QLatin1Char('&') ||
            (c.unicode() >= 0x0590 &&
             (c.isSurrogate() || c.direction() == QChar::DirR || c.direction() == QChar::DirAL)))
            return false;
    return true;
}

std::optional<LineAlignment> HorizontalAlignment(const QLabel& counter) {
    switch (counter.alignment() & (Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute)) {
    case Qt::AlignLeft:
        return LineAlignment::Left;
    case Qt::AlignRight:
        return LineAlignment::Right;
    case Qt::AlignHCenter:
        return LineAlignment::Centre;
    default:
        return std::nullopt;
    }
}

// The advances of a font's characters, the Latin-1 ones kept: measuring a character through
// QFontMetricsF goes each time through the font engine's tables.
class FontAdvances {
  public:
    FontAdvances(const QFont& font, const QPaintDevice* device)
        : font(font), dpi(device->logicalDpiY()), metrics(font, device),
          overhang(std::ceil(metrics.height() / 4) + 2) {
        latin1.fill(-1);
    }

    static FontAdvances& Of(const QWidget& widget) {
        // Never destroyed: a counter may paint while the program's statics go.
        static auto* known = new std::vector<std::unique_ptr<FontAdvances>>;
        for (const auto& advances : *known)
            if (advances->dpi == widget.logicalDpiY() && advances->font == widget.font())
                return *advances;
        if (known->size() >= 16)
            known->clear();
        known->push_back(std::make_unique<FontAdvances>(widget.font(), &widget));
        return *known->back();
    }

    QList<double> Of(const QString& text) {
        QList<double> advances;
        advances.reserve(text.size());
        for (const QChar c : text)
            advances.append(Of(c));
        return advances;
    }

    // Glyphs reach past their advances (bearings, bold strokes), and kerning moves them.
    double Overhang() const { return overhang; }

  private:
    double Of(QChar c) {
        if (c.unicode() >= latin1.size())
            return metrics.horizontalAdvance(c);
        double& advance = latin1[c.unicode()];
        if (advance < 0)
            advance = metrics.horizontalAdvance(c);
        return advance;
    }

    QFont font;
    int dpi;
    QFontMetricsF metrics;
    double overhang;
    std::array<double, 256> latin1;
};

// The part of the counter to repaint for its new text; nothing when the counter is not a
// single plain line drawn straight into its contents, and it is repainted whole.
std::optional<QRect> ChangedPart(const QLabel& counter, const QString& before,
                                 const QString& after) {
    const std::optional<LineAlignment> alignment = HorizontalAlignment(counter);
    if (!alignment || counter.textFormat() == Qt::RichText || counter.wordWrap() ||
        counter.frameWidth() != 0 || counter.margin() != 0 || counter.indent() > 0 ||
        counter.layoutDirection() != Qt::LeftToRight || !counter.pixmap().isNull() ||
        !IsSinglePlainLine(before) || !IsSinglePlainLine(after))
        return std::nullopt;
    FontAdvances& advances = FontAdvances::Of(counter);
    const QRect box = counter.contentsRect();
    const std::optional<TextStretch> stretch = ChangedTextStretch(
        before, advances.Of(before), after, advances.Of(after), *alignment, box.width());
    if (!stretch)
        return QRect();
    const double margin = advances.Overhang();
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
