#pragma once

#include <QGroupBox>
#include <QPixmap>
#include <QStyleOptionGroupBox>

// A group box that keeps the drawing of its frame and title in a pixmap, drawn again only when
// something it shows changes. The counters inside are repainted every second, and the group box
// beneath each of them with it: its style stretches an image over the frame, some fifty
// microseconds a time, and Qt hands such a stretch over a ragged region of more than about a
// hundred lines to worker threads. Copying the kept pixmap does neither.
class CachedGroupBox : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool FrameStillValid(const QStyleOptionGroupBox& option) const;
    void DrawFrame(const QStyleOptionGroupBox& option);

    QPixmap frame;
    QStyleOptionGroupBox frameOption; // what the kept pixmap shows
    const QStyle* frameStyle = nullptr;
};
