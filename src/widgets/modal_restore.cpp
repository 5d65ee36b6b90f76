#include "widgets/modal_restore.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
class ModalRestorer : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->isWindow() && window->isModal() && window->isMinimized())
                QTimer::singleShot(0, window, [window] {
                    window->showNormal();
                    window->raise();
                    window->activateWindow();
                });
        }
        return false;
    }
};
} // namespace

void KeepModalWindowsRestored() {
    static ModalRestorer* restorer = nullptr;
    if (!restorer) {
        restorer = new ModalRestorer(qApp);
        qApp->installEventFilter(restorer);
    }
}
