// What a session's second repaints, and nothing else: a window of the main window's size whose
// six counters and a small frameless window whose three counters get a new text each second,
// drawn as the program draws its counters (opaque, at a fixed place, figures laid out without
// shaping). No caption, no hints, no session: the price of the repaint alone. Measured by
// scripts/wakeups.sh (mode counters) beside the program.

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QList>
#include <QTimer>
#include <QWidget>

namespace {
QLabel* Counter(QWidget* parent, const QRect& place) {
    auto* counter = new QLabel(parent);
    QFont font = counter->font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    counter->setFont(font);
    counter->setAutoFillBackground(true);
    counter->setAttribute(Qt::WA_OpaquePaintEvent);
    counter->setGeometry(place);
    return counter;
}
} // namespace

int main(int argc, char** argv) {
    // Images go to the X server as the program sends them: without shared memory.
    qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication application(argc, argv);
    QWidget window;
    QList<QLabel*> counters;
    for (int i = 0; i < 6; ++i)
        counters.append(Counter(&window, QRect(20 + i % 2 * 260, 20 + i / 2 * 40, 200, 24)));
    window.resize(550, 296);
    window.show();
    QWidget mini(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    for (int i = 0; i < 3; ++i)
        counters.append(Counter(&mini, QRect(4, 2 + i * 12, 90, 12)));
    mini.resize(100, 40);
    mini.move(800, 10);
    mini.show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 second = QDateTime::currentSecsSinceEpoch();
        for (int i = 0; i < counters.size(); ++i)
            counters[i]->setText(QString::number(second * (i + 3) % 1000003));
    });
    tick.start(1000);
    return application.exec();
}
