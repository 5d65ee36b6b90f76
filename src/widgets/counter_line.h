#pragma once

#include "base/changed_text_stretch.h"

#include <optional>

class QLabel;
class QString;

// Whether a text is one line of plain text, left to right: no line break, no markup, no
// mnemonic, no right-to-left script.
bool IsSinglePlainLine(const QString& text);

// How a counter lays its text in its box when it draws it as one plain line straight into its
// contents (no frame, margin, indent, picture or word wrap, left to right); nothing otherwise.
std::optional<LineAlignment> PlainLineAlignment(const QLabel& counter);
