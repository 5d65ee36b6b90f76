#pragma once

#include <QString>
#include <stdexcept>

// A failure that an operation raises to its caller with a text for the user.
class AppError : public std::runtime_error {
  public:
    explicit AppError(const QString& message)
        : std::runtime_error(message.toStdString()), text(message) {}
    const QString& message() const { return text; }

  private:
    QString text;
};
