#pragma once

#include <initializer_list>

class QLabel;
class QString;
class QWidget;

// What the one-second tick writes into the windows, written only when it differs so that a
// tick repaints only what changed. (QLabel::setText already skips an unchanged text; a hint
// is set and announced again even when it is the same.)

// A counter's new text. QLabel repaints itself whole for a new text; where the text is a
// single plain line, only the stretch where the new text differs from the old is repainted
// ("00:01:59" to "00:02:00": the last four figures), with a margin for the glyphs' overhang.
void SetCounterText(QLabel* counter, const QString& text);

// A widget's hint (tooltip).
void SetHint(QWidget* widget, const QString& hint);

// Keeps a shown box of counters, and the counters in it, at the sizes their layouts gave them.
// A new text otherwise has the layouts redone from the label up to the first widget of fixed
// size, each counter's text measured again on the way: without one, up to the tab widget,
// which then repaints itself whole. The box being the only one to take the room left in its
// page, and each counter having the room of its cell, holding the sizes changes nothing that
// is shown. Widgets not shown yet are kept at their size once they are.
void KeepLaidOutSize(std::initializer_list<QWidget*> widgets);

// Counters whose figures (digits, separators, units without kerning pairs) need no shaping: Qt
// then lays their text out from the font's character map and advances alone, without running
// HarfBuzz over the font's tables at each new text, which was a tenth of a session's second.
// What is shown does not change; text with kerning ("Ko/sec") keeps its shaping.
void LayOutWithoutShaping(std::initializer_list<QWidget*> counters);
