#pragma once
// A failure that carries one of the classic run-time error numbers. It is thrown
// where the failure is found and caught by the handler that logs
// "ERROR <letter> - <number>".
#include <stdexcept>
#include <string>
#include <string_view>

namespace zorv {

enum class ErrorCode : int {
  InvalidArgument = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  UserInterrupt = 18,
  TypeMismatch = 13,
  BadFileNameOrNumber = 52,
  FileNotFound = 53,
  InputPastEnd = 62,
  BadRecordNumber = 63,
  PathFileAccess = 75,
  ObjectNotSet = 91,
  InvalidPicture = 481,
};

class RunTimeError : public std::runtime_error {
 public:
  explicit RunTimeError(ErrorCode code, const std::string& what = {})
      : std::runtime_error(what.empty() ? "run-time error " + std::to_string(static_cast<int>(code)) : what),
        number_(static_cast<int>(code)) {}

  int Number() const noexcept { return number_; }

 private:
  int number_;
};

// Maps any exception escaping a trapped procedure to the number that is logged.
int ErrorNumberOf(const std::exception& failure) noexcept;

// The classic message of a number ("file not found" for 53), for a person
// reading a log line; empty for a number without one.
std::string_view ErrorDescription(int number) noexcept;

}  // namespace zorv
