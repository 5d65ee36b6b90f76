#include "app/sleeper.h"

#include <QEventLoop>
#include <QTimer>

void TSleeper::Sleep() const {
    QEventLoop loop;
    QTimer::singleShot(Interval, &loop, &QEventLoop::quit);
    loop.exec();
}
