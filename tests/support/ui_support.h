#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

// What a message box that a test answered showed.
struct AnsweredBox {
    bool seen = false;
    QString title;
    QString text;
    QString defaultButton; // the text of the button that Return presses
    QPointer<QTimer> poller;
    // Stops waiting for the box (when it may not come at all).
    void Cancel() {
        if (poller)
            poller->deleteLater();
    }
};

// Arms a timer before the action that opens a modal box: as soon as the box is the active
// modal widget, the button whose text is buttonText ("&Oui", "&Non", "OK", "Annuler") is
// clicked. The returned record says what the box showed.
std::shared_ptr<AnsweredBox> AnswerNextBox(const QString& buttonText, int timeoutMs = 5000);

// Answers several boxes that come one after the other, in that order.
std::vector<std::shared_ptr<AnsweredBox>> AnswerBoxes(const QStringList& buttonTexts,
                                                      int timeoutMs = 5000);

// Stops every answer still armed, so that one left by a test cannot answer a box of the next.
void CancelBoxAnswers();

// In a helper test run in a fresh test program: creates the windows of the program whose
// executable is folder/tallivo, titled "Tallivo", the warning that no entry exists answered.
void CreateWindowsOfProgramIn(const QString& folder);

// Processes events until the condition holds or the time runs out.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
