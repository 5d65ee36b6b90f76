#include "app/ui/move_panel.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>

TMovePanel::TMovePanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    resize(25, 25);
}

// Without a frame there is nothing to draw over the background Qt fills: the mini window's
// panel is repainted under its counters every second, and QFrame would set up a painter and
// ask the style for a frame it does not draw.
void TMovePanel::paintEvent(QPaintEvent* event) {
    if (frameShape() != QFrame::NoFrame)
        QFrame::paintEvent(event);
}

void TMovePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    // The move waits for the pointer to travel: a window-manager move grabs the pointer and
    // would swallow the second click of a double click.
    pressed = true;
    pressPosition = event->globalPosition().toPoint();
}

void TMovePanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->globalPosition().toPoint();
    if (pressed &&
        (position - pressPosition).manhattanLength() >= QApplication::startDragDistance()) {
        pressed = false;
        StartMove();
    }
    if (dragging)
        window()->move(position - grabOffset);
    QFrame::mouseMoveEvent(event);
}

void TMovePanel::StartMove() {
    QWidget* topLevel = window();
    emit MoveStarted();
    grabOffset = pressPosition - topLevel->frameGeometry().topLeft();
    // On X11 the window follows the mouse from the press: a window-manager move would start
    // from where the pointer is now and lose the way it travelled to get there. Elsewhere
    // (Wayland) only the compositor may move a window.
    if (QGuiApplication::platformName() != QLatin1String("xcb") && topLevel->windowHandle() &&
        topLevel->windowHandle()->startSystemMove())
        return;
    dragging = true;
}

void TMovePanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed = dragging = false;
    QFrame::mouseReleaseEvent(event);
}

void TMovePanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
}

void TMovePanel::DragThrough(QWidget* child) {
    child->installEventFilter(this);
}

bool TMovePanel::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        mousePressEvent(static_cast<QMouseEvent*>(event));
        return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    case QEvent::MouseMove:
        mouseMoveEvent(static_cast<QMouseEvent*>(event));
        return pressed || dragging;
    case QEvent::MouseButtonRelease:
        mouseReleaseEvent(static_cast<QMouseEvent*>(event));
        return false;
    case QEvent::MouseButtonDblClick:
        mouseDoubleClickEvent(static_cast<QMouseEvent*>(event));
        return true;
    default:
        return QFrame::eventFilter(watched, event);
    }
}
