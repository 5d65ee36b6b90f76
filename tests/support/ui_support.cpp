#include "support/ui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

std::shared_ptr<AnsweredBox> AnswerNextBox(const QString& buttonText, int timeoutMs) {
    auto record = std::make_shared<AnsweredBox>();
    auto* poll = new QTimer(qApp);
    record->poller = poll;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, record, buttonText, deadline] {
        if (deadline->hasExpired()) {
            poll->deleteLater();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
            if (button->text() != buttonText)
                continue;
            record->seen = true;
            record->title = modal->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                record->text = box->text();
            poll->stop();
            poll->deleteLater();
            button->click();
            return;
        }
    });
    poll->start(10);
    return record;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
