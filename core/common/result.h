// Result of an operation that can fail in an expected way (bad file, missing
// file): either a value or the exact message the program shows the user.
// The core reports such failures through this type and never throws them.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace vesk {

struct Failure {
  std::string message;
};

template <typename T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Failure failure) : state_(std::move(failure)) {}

  bool Ok() const { return state_.index() == 0; }
  explicit operator bool() const { return Ok(); }

  T& Value() & { return std::get<0>(state_); }
  const T& Value() const& { return std::get<0>(state_); }
  T&& Value() && { return std::get<0>(std::move(state_)); }
  const std::string& Message() const { return std::get<1>(state_).message; }

 private:
  std::variant<T, Failure> state_;
};

// An operation with no value: success, or the message to show.
class Status {
 public:
  Status() = default;
  Status(Failure failure) : message_(std::move(failure.message)) {}

  static Status Success() { return Status(); }
  bool Ok() const { return !message_.has_value(); }
  explicit operator bool() const { return Ok(); }
  const std::string& Message() const { return *message_; }

 private:
  std::optional<std::string> message_;
};

}  // namespace vesk
