#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <array>
#include <optional>

class QWidget;

// What a counter's font tells of its characters, kept for the counters repainted each second:
// asking the font engine each time goes through its tables.
class CounterFont {
  public:
    // The font of the widget on its screen. Never destroyed: a counter may paint while the
    // program's statics go.
    static CounterFont& Of(const QWidget& widget);

    CounterFont(const QFont& font, const QWidget& widget);

    // A character's advance, from whichever font the text layout takes it.
    double Advance(QChar c);
    QList<double> Advances(const QString& text);
    // The width of a text laid out without shaping.
    double Width(const QString& text);
    // Glyphs reach past their advances (bearings, bold strokes), and kerning moves them.
    double Overhang() const { return overhang; }

    // A character's glyph in the font itself, laid out alone without shaping; none when the
    // character comes from a fallback font.
    struct Glyph {
        quint32 index = 0;
        double advance = 0;
    };
    std::optional<Glyph> Unshaped(QChar c);

    // A word shaped by the text layout (kerning, ligatures), its glyphs placed from its start
    // along its baseline; null when a glyph comes from a fallback font. Kept: valid until the
    // next call.
    struct Word {
        QList<quint32> indexes;
        QList<QPointF> positions;
        double advance = 0;
    };
    const Word* Shaped(const QString& word);

    const QRawFont& Raw() const { return raw; }
    double Ascent() const { return raw.ascent(); }
    double Descent() const { return raw.descent(); }

  private:
    std::optional<Word> ShapeWord(const QString& word) const;

    QFont font;
    int dpi;
    QFontMetricsF metrics;
    double overhang;
    std::array<double, 256> latin1Advances;
    QFont screenFont;
    QRawFont raw;
    std::array<std::optional<Glyph>, 256> latin1Glyphs;
    std::array<bool, 256> latin1GlyphKnown{};
    QHash<char16_t, std::optional<Glyph>> otherGlyphs;
    QHash<QString, std::optional<Word>> words;
};
