#include "widgets/counter_backdrop.h"

#include "widgets/counter_glyphs.h"

#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {
// What the picture under a counter depends on.
struct BackdropKey {
    QRect placeInWindow;
    QSize windowSize;
    const QStyle* style = nullptr;
    qint64 palette = 0;
    bool active = false;
    bool enabled = false;
    qreal pixelRatio = 1;

    static BackdropKey Of(const QWidget* counter) {
        const QWidget* window = counter->window();
        return {QRect(counter->mapTo(window, QPoint(0, 0)), counter->size()),
                window->size(),
                counter->style(),
                counter->palette().cacheKey(),
                counter->isActiveWindow(),
                counter->isEnabled(),
                counter->devicePixelRatioF()};
    }
    bool operator==(const BackdropKey&) const = default;
};

class KeptBackdrop : public QObject {
  public:
    explicit KeptBackdrop(QWidget* counter) : QObject(counter), counter(counter) {
        counter->installEventFilter(this);
        Kept().insert(counter, this);
    }
    ~KeptBackdrop() override { Kept().remove(counter); }

    static KeptBackdrop* Of(QWidget* counter) {
        KeptBackdrop* backdrop = Kept().value(counter);
        return backdrop ? backdrop : new KeptBackdrop(counter);
    }

    void Keep() {
        // A kept picture is checked when the counter paints, which is the only time it is used.
        // The picture would hide the part of a sibling that lies over the counter.
        if (opaque || OverlapsASibling())
            return;
        const BackdropKey now = BackdropKey::Of(counter);
        const qreal ratio = now.pixelRatio;
        picture = QPixmap(counter->size() * ratio);
        picture.setDevicePixelRatio(ratio);
        // The window painted into the picture over the counter's place, all but the counter.
        SetOpaque(false);
        takingPicture = true;
        counter->window()->render(&picture, QPoint(), QRegion(now.placeInWindow),
                                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
        takingPicture = false;
        key = now;
        SetOpaque(true);
        counter->update();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Paint:
            if (takingPicture)
                return true;
            if (!opaque)
                return false;
            if (BackdropKey::Of(counter) != key || OverlapsASibling()) {
                BecomeTransparent(); // painted again at once, over what lies under it
                return true;
            }
            return PaintPictureAndText();
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::ParentChange:
        case QEvent::StyleChange:
        case QEvent::PaletteChange:
        case QEvent::EnabledChange:
        case QEvent::ActivationChange:
        case QEvent::WindowActivate: // what the window's children hear of its activation
        case QEvent::WindowDeactivate:
            if (opaque)
                BecomeTransparent();
            return false;
        default:
            return false;
        }
    }

  private:
    static QHash<const QWidget*, KeptBackdrop*>& Kept() {
        // Never destroyed: a counter may outlive the program's own statics.
        static auto* kept = new QHash<const QWidget*, KeptBackdrop*>;
        return *kept;
    }
    bool OverlapsASibling() const {
        const QWidget* parent = counter->parentWidget();
        if (!parent)
            return false;
        for (const QObject* child : parent->children()) {
            const auto* sibling = qobject_cast<const QWidget*>(child);
            if (sibling && sibling != counter && sibling->isVisible() &&
                sibling->geometry().intersects(counter->geometry()))
                return true;
        }
        return false;
    }
    // The text follows over the picture, drawn from its glyphs with the same painter where
    // it can be, by the counter's own painting otherwise.
    bool PaintPictureAndText() {
        QPainter painter(counter);
        painter.drawPixmap(0, 0, picture);
        const auto* label = qobject_cast<const QLabel*>(counter);
        return label && DrawCounterGlyphs(painter, *label);
    }
    void SetOpaque(bool value) {
        opaque = value;
        counter->setAttribute(Qt::WA_OpaquePaintEvent, value);
    }
    void BecomeTransparent() {
        SetOpaque(false);
        picture = QPixmap();
        if (QWidget* parent = counter->parentWidget())
            parent->update(counter->geometry());
    }

    static inline bool takingPicture = false;
    QWidget* counter;
    QPixmap picture;
    BackdropKey key;
    bool opaque = false;
};
} // namespace

void PaintOverKeptBackdrop(std::initializer_list<QWidget*> counters) {
    for (QWidget* counter : counters)
        if (counter->isVisible() && !counter->size().isEmpty())
            KeptBackdrop::Of(counter)->Keep();
}
