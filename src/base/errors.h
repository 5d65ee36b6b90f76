#pragma once

#include <QString>
#include <stdexcept>

// A failure that an operation raises to its caller with a text for the user.
// `why`, when known, says in French what the system refused (the file's folder is read-only,
// the disk is full), for the callers that tell the user more than the text.
class AppError : public std::runtime_error {
  public:
    explicit AppError(const QString& message, const QString& why = {})
        : std::runtime_error(message.toStdString()), text(message), reason(why) {}
    const QString& message() const { return text; }
    const QString& why() const { return reason; }

  private:
    QString text;
    QString reason;
};
