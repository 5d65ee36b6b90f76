#include "app/ui/url_label.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

TUrlLabel::TUrlLabel(QWidget* parent) : QLabel(parent) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    SetTextColour(normalColour);
}

QString TUrlLabel::Target() const {
    const QString trimmed = URL.trimmed();
    return trimmed.isEmpty() ? text().trimmed() : trimmed;
}

void TUrlLabel::SetTextColour(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
}

void TUrlLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        SetTextColour(ActiveColor);
    QLabel::mousePressEvent(event);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SetTextColour(normalColour);
        const QString target = Target();
        if (!target.isEmpty() && rect().contains(event->position().toPoint()))
            QDesktopServices::openUrl(QUrl::fromUserInput(target));
    }
    QLabel::mouseReleaseEvent(event);
}

void TUrlLabel::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("Copy"), this,
                   [this] { QApplication::clipboard()->setText(text()); });
    menu.exec(event->globalPos());
}
