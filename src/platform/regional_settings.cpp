#include "platform/regional_settings.h"

#include <cstdlib>
#include <locale>
#include <sstream>
#include <iomanip>

namespace zorv {

RegionalSettings UserRegionalSettings() {
  RegionalSettings settings;
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      settings.LocaleName = value;
      break;
    }
  }
  settings.French = settings.LocaleName.rfind("fr", 0) == 0;
  return settings;
}

std::string BooleanText(bool value, const RegionalSettings& settings) {
  if (settings.French) return value ? "Vrai" : "Faux";
  return value ? "True" : "False";
}

std::string DateAndTimeText(std::time_t when, const RegionalSettings& settings) {
  std::tm local{};
  localtime_r(&when, &local);
  std::ostringstream out;
  const bool plain = settings.LocaleName == "C" || settings.LocaleName == "POSIX" ||
                     settings.LocaleName.rfind("C.", 0) == 0;
  try {
    if (plain) throw std::runtime_error("no regional format");
    out.imbue(std::locale(settings.LocaleName));
    out << std::put_time(&local, "%x - %X");
  } catch (const std::exception&) {
    out.str({});
    out.imbue(std::locale::classic());
    out << std::put_time(&local, "%Y-%m-%d - %H:%M:%S");
  }
  return out.str();
}

}  // namespace zorv
