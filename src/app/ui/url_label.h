#pragma once

#include <QColor>
#include <QLabel>

// A label shown as a link: underlined blue text with a hand cursor. A click opens URL (or,
// when URL is blank, the caption) with the desktop's default handler.
class TUrlLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TUrlLabel(QWidget* parent = nullptr);
    QString URL;
    QColor ActiveColor = QColor(128, 0, 128);
    QString Target() const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void SetTextColour(const QColor& colour);
    QColor normalColour = Qt::blue;
};
