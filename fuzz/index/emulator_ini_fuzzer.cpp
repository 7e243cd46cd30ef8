// mame.ini and ui.ini reading on any bytes: no crash, every option named by
// one word without blanks, no value holding a line end; every value's
// variables and search path taken apart without a crash.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "emulator_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const auto& [name, value] : zorv::index::ParseEmulatorIni(text)) {
    if (name.empty() || name.find_first_of(" \t\r\n\v\f") != std::string::npos) std::abort();
    if (value.find_first_of("\r\n") != std::string::npos) std::abort();
    zorv::index::SearchPathFolders(value);
  }
  return 0;
}
