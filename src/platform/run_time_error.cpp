#include "platform/run_time_error.h"

#include <new>
#include <system_error>

namespace zorv {

int ErrorNumberOf(const std::exception& failure) noexcept {
  if (const auto* own = dynamic_cast<const RunTimeError*>(&failure)) return own->Number();
  if (dynamic_cast<const std::bad_alloc*>(&failure)) return static_cast<int>(ErrorCode::OutOfMemory);
  if (dynamic_cast<const std::length_error*>(&failure)) return static_cast<int>(ErrorCode::OutOfMemory);
  if (dynamic_cast<const std::out_of_range*>(&failure)) return static_cast<int>(ErrorCode::SubscriptOutOfRange);
  if (dynamic_cast<const std::system_error*>(&failure)) return static_cast<int>(ErrorCode::PathFileAccess);
  return static_cast<int>(ErrorCode::InvalidArgument);
}

std::string_view ErrorDescription(int number) noexcept {
  switch (static_cast<ErrorCode>(number)) {
    case ErrorCode::InvalidArgument: return "invalid procedure call or argument";
    case ErrorCode::Overflow: return "overflow";
    case ErrorCode::OutOfMemory: return "out of memory";
    case ErrorCode::SubscriptOutOfRange: return "subscript out of range";
    case ErrorCode::UserInterrupt: return "user interrupt occurred";
    case ErrorCode::TypeMismatch: return "type mismatch";
    case ErrorCode::BadFileNameOrNumber: return "bad file name or number";
    case ErrorCode::FileNotFound: return "file not found";
    case ErrorCode::InputPastEnd: return "input past end of file";
    case ErrorCode::BadRecordNumber: return "bad record number";
    case ErrorCode::PathFileAccess: return "path/file access error";
    case ErrorCode::ObjectNotSet: return "object variable not set";
    case ErrorCode::InvalidPicture: return "invalid picture";
  }
  return {};
}

}  // namespace zorv
