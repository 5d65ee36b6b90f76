#include "widgets/counter_line.h"

#include <QLabel>
#include <QString>

bool IsSinglePlainLine(const QString& text) {
    for (const QChar c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('<') || c == QLatin1Char('&') ||
            (c.unicode() >= 0x0590 &&
             (c.isSurrogate() || c.direction() == QChar::DirR || c.direction() == QChar::DirAL)))
            return false;
    return true;
}

std::optional<LineAlignment> PlainLineAlignment(const QLabel& counter) {
    if (counter.textFormat() == Qt::RichText || counter.wordWrap() || counter.frameWidth() != 0 ||
        counter.margin() != 0 || counter.indent() > 0 ||
        counter.layoutDirection() != Qt::LeftToRight || !counter.pixmap().isNull())
        return std::nullopt;
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
