#pragma once

#include <initializer_list>

class QLabel;
class QPainter;

// A counter repainted each second has Qt lay its new text out (script items, shaping, line
// breaks) before drawing it; the code that takes, run once a second from cold caches, was a
// fifth of a session's second. A counter drawn from its glyphs has its figures placed by their
// advances, and its words (units, "Ko/sec") shaped once and kept: the same glyphs at the same
// places as QLabel's own painting, without the text layout.

// Has the counters draw their text from their glyphs wherever they can (see below), and
// QLabel paint it otherwise.
void DrawFromGlyphs(std::initializer_list<QLabel*> counters);

// Draws the counter's text from its glyphs with the painter. False, with nothing drawn, when
// the text is not a single plain line that fits its box, drawn straight into the counter's
// contents by a plain style, in the counter's own font.
bool DrawCounterGlyphs(QPainter& painter, const QLabel& counter);
