#pragma once

#include <QString>
#include <utility>

// The outcome of an operation that can fail: success, or the French message the user sees.
class [[nodiscard]] Result {
  public:
    static Result Success() { return Result(); }
    static Result Failure(QString message) { return Result(std::move(message)); }
    // An empty message means success: the form of the helpers that return their error text.
    static Result FromErrorText(QString message) { return Result(std::move(message)); }

    bool Ok() const { return text.isEmpty(); }
    explicit operator bool() const { return Ok(); }
    const QString& Message() const { return text; }

  private:
    Result() = default;
    explicit Result(QString message) : text(std::move(message)) {}
    QString text;
};
