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

}  // namespace zorv
