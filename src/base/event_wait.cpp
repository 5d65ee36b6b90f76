#include "base/event_wait.h"

#include <QEventLoop>
#include <QTimer>

bool WaitForEvents() {
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    // A loop started after the application was asked to exit returns -1 at once.
    return loop.exec() != -1;
}
