#pragma once

class QString;
class QWidget;

// What the one-second tick writes into the windows, written only when it differs so that a
// tick repaints only what changed. (QLabel::setText already skips an unchanged text; a hint
// is set and announced again even when it is the same.)

// A widget's hint (tooltip).
void SetHint(QWidget* widget, const QString& hint);

// Keeps a shown box of counters at the size its layout gave it. A new text has the layouts
// redone from the label up to the first widget of fixed size: without one, up to the tab
// widget, which then repaints itself whole. The box being the only one to take the room left
// in its page, holding its size changes nothing that is shown.
void KeepLaidOutSize(QWidget* box);
