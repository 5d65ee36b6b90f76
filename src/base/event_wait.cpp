#include "base/event_wait.h"

#include <QEventLoop>
#include <QTimer>

void WaitForEvents() {
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
}
