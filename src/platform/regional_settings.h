#pragma once
// What the user's regional settings decide: the words for yes and no in the
// report, and how the log's run header writes the date and time.
#include <ctime>
#include <string>

namespace zorv {

struct RegionalSettings {
  bool French = false;
  std::string LocaleName = "C";  // as the environment names it, e.g. "fr_FR.UTF-8"
};

// Read once from LC_ALL, LC_MESSAGES and LANG, the first one set.
RegionalSettings UserRegionalSettings();

// A yes/no value as the user's language writes it: True/False, or Vrai/Faux.
std::string BooleanText(bool value, const RegionalSettings& settings);

// The short date and the time with seconds, joined by " - ".
std::string DateAndTimeText(std::time_t when, const RegionalSettings& settings);

}  // namespace zorv
