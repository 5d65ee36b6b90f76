#include "widgets/counter_glyphs.h"

#include "widgets/counter_font.h"
#include "widgets/counter_line.h"

#include <QEvent>
#include <QGlyphRun>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <optional>

namespace {
// The plain styles draw a label's text with the label's pen and no decoration of their own;
// a style sheet may add its own, and a scaled screen has Qt draw its text its own way.
bool DrawsPlainText(const QLabel& counter) {
    const QStyle* style = counter.style();
    const QString name = style->name();
    return (name == QLatin1String("fusion") || name == QLatin1String("windows")) &&
           !style->inherits("QStyleSheetStyle") && counter.devicePixelRatioF() == 1;
}

// Controls, format characters (a soft hyphen, a zero-width space) and combining marks are not
// drawn as a glyph at their place by Qt's text layout.
bool IsPlacedAlone(QChar c) {
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return false;
    default:
        return true;
    }
}

bool HasALetter(QStringView word) {
    return std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
}

struct PlacedGlyphs {
    QGlyphRun run;
    QPointF origin; // where the line's baseline starts
};

// The glyphs of a counter's text placed as QLabel's text layout places them: one after the
// other by their advances, from the left, the right or the middle of the box, the line's
// height (ascent and descent) centred in it, at its top or at its bottom. A counter laid out
// with shaping has its words shaped, its figures and spaces placed as they are.
std::optional<PlacedGlyphs> PlaceCounterGlyphs(const QLabel& counter) {
    const QString text = counter.text();
    if (!counter.isEnabled() || text.endsWith(QLatin1Char(' ')) || !DrawsPlainText(counter) ||
        !IsSinglePlainLine(text))
        return std::nullopt;
    const std::optional<LineAlignment> alignment = PlainLineAlignment(counter);
    if (!alignment)
        return std::nullopt;
    CounterFont& font = CounterFont::Of(counter);
    if (!font.Raw().isValid())
        return std::nullopt;
    const bool shaped = !(counter.font().styleStrategy() & QFont::PreferNoShaping);
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(text.size());
    positions.reserve(text.size());
    double width = 0;
    const auto placeWord = [&](const CounterFont::Word& word) {
        indexes.append(word.indexes);
        for (const QPointF& position : word.positions)
            positions.append(position + QPointF(width, 0));
        width += word.advance;
    };
    const auto placeUnshaped = [&](QStringView characters) {
        for (const QChar c : characters) {
            if (!IsPlacedAlone(c))
                return false;
            const std::optional<CounterFont::Glyph> glyph = font.Unshaped(c);
            if (!glyph)
                return false;
            indexes.append(glyph->index);
            positions.append(QPointF(width, 0));
            width += glyph->advance;
        }
        return true;
    };
    // Runs of characters between spaces; a run with a letter in a shaped counter is a word.
    for (qsizetype from = 0; from < text.size();) {
        qsizetype to = from + 1;
        if (!text[from].isSpace())
            while (to < text.size() && !text[to].isSpace())
                ++to;
        const QStringView run = QStringView(text).sliced(from, to - from);
        if (shaped && HasALetter(run)) {
            const CounterFont::Word* word = font.Shaped(run.toString());
            if (!word)
                return std::nullopt;
            placeWord(*word);
        } else if (!placeUnshaped(run)) {
            return std::nullopt;
        }
        from = to;
    }
    const QRectF box = counter.contentsRect();
    if (width > box.width()) // Qt places a line wider than its box its own way
        return std::nullopt;
    const double height = font.Ascent() + font.Descent();
    double x = box.left();
    if (*alignment == LineAlignment::Right)
        x += box.width() - width;
    else if (*alignment == LineAlignment::Centre)
        x += (box.width() - width) / 2;
    double y = box.top();
    if (counter.alignment() & Qt::AlignBottom)
        y += box.height() - height;
    else if (counter.alignment() & Qt::AlignVCenter)
        y += (box.height() - height) / 2;
    PlacedGlyphs placed{{}, QPointF(x, y + font.Ascent())};
    placed.run.setRawFont(font.Raw());
    placed.run.setGlyphIndexes(indexes);
    placed.run.setPositions(positions);
    return placed;
}

void Draw(QPainter& painter, const QLabel& counter, const PlacedGlyphs& glyphs) {
    painter.setPen(QPen(counter.palette().brush(counter.foregroundRole()), 1));
    painter.drawGlyphRun(glyphs.origin, glyphs.run);
}

class GlyphPainter : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        auto* counter = static_cast<QLabel*>(watched);
        const std::optional<PlacedGlyphs> glyphs = PlaceCounterGlyphs(*counter);
        if (!glyphs)
            return false;
        QPainter painter(counter);
        Draw(painter, *counter, *glyphs);
        return true;
    }
};
} // namespace

void DrawFromGlyphs(std::initializer_list<QLabel*> counters) {
    static auto* painter = new GlyphPainter; // never destroyed: counters may outlive statics
    for (QLabel* counter : counters)
        counter->installEventFilter(painter);
}

bool DrawCounterGlyphs(QPainter& painter, const QLabel& counter) {
    const std::optional<PlacedGlyphs> glyphs = PlaceCounterGlyphs(counter);
    if (glyphs)
        Draw(painter, counter, *glyphs);
    return glyphs.has_value();
}
