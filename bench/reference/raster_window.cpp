// Qt without its widgets: a window of the main window's size that paints two texts a second
// (the time, a number) straight into its backing store. Measured by scripts/wakeups.sh (mode
// raster) to tell what Qt's widgets add to a second from what any Qt window pays.

#include <QDateTime>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QRasterWindow>
#include <QTimer>

namespace {
class TwoTextsWindow : public QRasterWindow {
  public:
    void Show(const QString& clock, const QString& number) {
        clockText = clock;
        numberText = number;
        update(clockRect);
        update(numberRect);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(clockRect, palette.window());
        painter.fillRect(numberRect, palette.window());
        painter.drawText(clockRect, Qt::AlignLeft | Qt::AlignVCenter, clockText);
        painter.drawText(numberRect, Qt::AlignLeft | Qt::AlignVCenter, numberText);
    }

  private:
    const QPalette palette;
    const QRect clockRect{20, 20, 200, 24};
    const QRect numberRect{20, 60, 200, 24};
    QString clockText;
    QString numberText;
};
} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    TwoTextsWindow window;
    window.resize(550, 296);
    window.show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const QDateTime now = QDateTime::currentDateTime();
        window.Show(now.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")),
                    QString::number(now.toMSecsSinceEpoch() % 100000));
    });
    tick.start(1000);
    return application.exec();
}
