#pragma once

#include <QFrame>
#include <QPoint>

// A panel that moves its top-level window when dragged with the left button, as if the
// window's title bar had been dragged.
class TMovePanel : public QFrame {
    Q_OBJECT
  public:
    explicit TMovePanel(QWidget* parent = nullptr);
    // Mouse presses on that child (a label showing a hint) drag the window too.
    void DragThrough(QWidget* child);

  signals:
    void DoubleClicked();
    void MoveStarted(); // the user drags the window

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void StartMove();

    bool pressed = false;  // left button down, the move not started yet
    bool dragging = false; // the window follows the mouse without the window manager
    QPoint pressPosition;  // global mouse position of the press
    QPoint grabOffset;     // mouse position relative to the window's top-left corner
};
