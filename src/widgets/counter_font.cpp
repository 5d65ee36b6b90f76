#include "widgets/counter_font.h"

#include <QGlyphRun>
#include <QTextLayout>
#include <QWidget>
#include <cmath>
#include <memory>
#include <vector>

CounterFont& CounterFont::Of(const QWidget& widget) {
    static auto* known = new std::vector<std::unique_ptr<CounterFont>>;
    for (const auto& font : *known)
        if (font->dpi == widget.logicalDpiY() && font->font == widget.font())
            return *font;
    if (known->size() >= 16)
        known->clear();
    known->push_back(std::make_unique<CounterFont>(widget.font(), widget));
    return *known->back();
}

CounterFont::CounterFont(const QFont& font, const QWidget& widget)
    : font(font), dpi(widget.logicalDpiY()), metrics(font, &widget),
      overhang(std::ceil(metrics.height() / 4) + 2), screenFont(font, &widget),
      raw(QRawFont::fromFont(screenFont)) {
    latin1Advances.fill(-1);
}

double CounterFont::Advance(QChar c) {
    if (c.unicode() >= latin1Advances.size())
        return metrics.horizontalAdvance(c);
    double& advance = latin1Advances[c.unicode()];
    if (advance < 0)
        advance = metrics.horizontalAdvance(c);
    return advance;
}

QList<double> CounterFont::Advances(const QString& text) {
    QList<double> advances;
    advances.reserve(text.size());
    for (const QChar c : text)
        advances.append(Advance(c));
    return advances;
}

double CounterFont::Width(const QString& text) {
    double width = 0;
    for (const QChar c : text)
        width += Advance(c);
    return width;
}

std::optional<CounterFont::Glyph> CounterFont::Unshaped(QChar c) {
    const auto glyphOf = [this](QChar c) {
        std::optional<Glyph> glyph;
        const QList<quint32> indexes =
            raw.isValid() ? raw.glyphIndexesForString(QString(c)) : QList<quint32>();
        if (indexes.size() == 1 && indexes.front() != 0)
            glyph = Glyph{indexes.front(), raw.advancesForGlyphIndexes(indexes).value(0).x()};
        return glyph;
    };
    if (c.unicode() < latin1Glyphs.size()) {
        if (!latin1GlyphKnown[c.unicode()]) {
            latin1Glyphs[c.unicode()] = glyphOf(c);
            latin1GlyphKnown[c.unicode()] = true;
        }
        return latin1Glyphs[c.unicode()];
    }
    auto found = otherGlyphs.constFind(c.unicode());
    if (found == otherGlyphs.constEnd())
        found = otherGlyphs.insert(c.unicode(), glyphOf(c));
    return *found;
}

const CounterFont::Word* CounterFont::Shaped(const QString& word) {
    auto found = words.constFind(word);
    if (found == words.constEnd()) {
        if (words.size() >= 64)
            words.clear();
        found = words.insert(word, ShapeWord(word));
    }
    return found->has_value() ? &**found : nullptr;
}

std::optional<CounterFont::Word> CounterFont::ShapeWord(const QString& word) const {
    QTextLayout layout(word, screenFont);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = line.isValid() ? layout.glyphRuns() : QList<QGlyphRun>();
    if (runs.size() != 1 || runs.front().rawFont() != raw)
        return std::nullopt;
    Word shaped{runs.front().glyphIndexes(), runs.front().positions(), line.horizontalAdvance()};
    for (QPointF& position : shaped.positions)
        position -= QPointF(line.x(), line.ascent());
    return shaped;
}
