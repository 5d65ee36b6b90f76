#include "support/ui_support.h"

#include "app/application_title.h"
#include "app/ui/windows.h"
#include "base/program_files.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace {
// Clicks the button of that text in the active modal widget; false when there is none.
bool ClickInActiveModal(const QString& buttonText, AnsweredBox& record, QWidget* skip) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == skip || !modal->isVisible())
        return false;
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
        if (button->text() != buttonText)
            continue;
        record.seen = true;
        record.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            record.text = box->text();
            if (box->defaultButton())
                record.defaultButton = box->defaultButton()->text();
        }
        button->click();
        return true;
    }
    return false;
}
} // namespace

std::vector<std::shared_ptr<AnsweredBox>> AnswerBoxes(const QStringList& buttonTexts,
                                                      int timeoutMs) {
    std::vector<std::shared_ptr<AnsweredBox>> records;
    for (int index = 0; index < buttonTexts.size(); ++index)
        records.push_back(std::make_shared<AnsweredBox>());
    auto* poll = new QTimer(qApp);
    poll->setObjectName(QStringLiteral("box answer"));
    for (const auto& record : records)
        record->poller = poll;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    auto next = std::make_shared<int>(0);
    auto answered = std::make_shared<QPointer<QWidget>>();
    QObject::connect(
        poll, &QTimer::timeout, poll, [poll, records, buttonTexts, deadline, next, answered] {
            if (deadline->hasExpired() || *next >= buttonTexts.size()) {
                poll->deleteLater();
                return;
            }
            QWidget* current = QApplication::activeModalWidget();
            if (ClickInActiveModal(buttonTexts.at(*next), *records.at(*next), answered->data())) {
                *answered = current;
                ++*next;
            }
        });
    poll->start(10);
    return records;
}

std::shared_ptr<AnsweredBox> AnswerNextBox(const QString& buttonText, int timeoutMs) {
    return AnswerBoxes({buttonText}, timeoutMs).front();
}

void CancelBoxAnswers() {
    qDeleteAll(
        qApp->findChildren<QTimer*>(QStringLiteral("box answer"), Qt::FindDirectChildrenOnly));
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

void CreateWindowsOfProgramIn(const QString& folder) {
    ProgramFiles::SetExecutablePathForTests(folder + QStringLiteral("/tallivo"));
    SetApplicationTitle(QStringLiteral("Tallivo"));
    auto warning = AnswerNextBox(QStringLiteral("OK"), 3000);
    CreateWindows();
    warning->Cancel();
}
