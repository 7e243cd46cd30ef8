#include "platform/local_time_zone.h"

#include <cstdlib>
#include <ctime>

namespace zorv {

void KeepLocalTimeZone() {
  if (std::getenv("TZ") == nullptr) ::setenv("TZ", ":/etc/localtime", 0);
  ::tzset();
}

}  // namespace zorv
