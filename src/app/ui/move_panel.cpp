#include "app/ui/move_panel.h"

#include <QMouseEvent>
#include <QWindow>

TMovePanel::TMovePanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    resize(25, 25);
}

void TMovePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    QWidget* topLevel = window();
    // The window manager moves the window itself where it can; otherwise follow the mouse.
    if (topLevel->windowHandle() && topLevel->windowHandle()->startSystemMove())
        return;
    dragging = true;
    grabOffset = event->globalPosition().toPoint() - topLevel->frameGeometry().topLeft();
}

void TMovePanel::mouseMoveEvent(QMouseEvent* event) {
    if (dragging)
        window()->move(event->globalPosition().toPoint() - grabOffset);
    QFrame::mouseMoveEvent(event);
}

void TMovePanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragging = false;
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
        return dragging;
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
