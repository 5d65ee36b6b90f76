#include "widgets/cached_group_box.h"

#include <QPaintEvent>
#include <QStylePainter>

void CachedGroupBox::paintEvent(QPaintEvent* event) {
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    if (!FrameStillValid(option))
        DrawFrame(option);
    QPainter painter(this);
    const qreal ratio = frame.devicePixelRatio();
    // Band by band, each a rectangle: copies that never take the threaded path.
    for (const QRect& band : event->region()) {
        painter.setClipRect(band);
        painter.drawPixmap(band.topLeft(), frame,
                           QRectF(QPointF(band.topLeft()) * ratio, QSizeF(band.size()) * ratio));
    }
}

bool CachedGroupBox::FrameStillValid(const QStyleOptionGroupBox& option) const {
    const QStyleOptionGroupBox& kept = frameOption;
    return !frame.isNull() && frameStyle == style() &&
           frame.devicePixelRatio() == devicePixelRatio() && kept.rect == option.rect &&
           kept.state == option.state && kept.direction == option.direction &&
           kept.palette.cacheKey() == option.palette.cacheKey() &&
           kept.fontMetrics == option.fontMetrics && kept.text == option.text &&
           kept.textAlignment == option.textAlignment && kept.textColor == option.textColor &&
           kept.lineWidth == option.lineWidth && kept.midLineWidth == option.midLineWidth &&
           kept.features == option.features && kept.subControls == option.subControls &&
           kept.activeSubControls == option.activeSubControls;
}

void CachedGroupBox::DrawFrame(const QStyleOptionGroupBox& option) {
    const qreal ratio = devicePixelRatio();
    frame = QPixmap(size() * ratio);
    frame.setDevicePixelRatio(ratio);
    frame.fill(Qt::transparent);
    // What QGroupBox paints, with the painter a widget would start with.
    QStylePainter painter(&frame, this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    painter.setBrush(palette().brush(backgroundRole()));
    painter.setLayoutDirection(layoutDirection());
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
    frameOption = option;
    frameStyle = style();
}
