#pragma once

#include <QtGlobal>
#include <algorithm>
#include <string_view>

// Plain figures as the program writes them in its files, read without building a QString.

// Whether a text is one or more ASCII figures.
inline bool AllAsciiDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

// The value of such a text (up to 18 figures).
inline qint64 AsciiDigitsValue(std::string_view text) {
    qint64 value = 0;
    for (const char ch : text)
        value = value * 10 + (ch - '0');
    return value;
}
