// history.dat / mameinfo.dat scanning on any bytes, fed in pieces of any size:
// no crash, and every reference stays inside the file.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dat_scanner.h"
#include "platform/run_time_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const auto kind = data[0] & 1 ? zorv::index::DataFileKind::Mameinfo : zorv::index::DataFileKind::History;
  const std::size_t piece = 1 + data[1] % 64;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  try {
    zorv::index::DatScanner scanner(kind, "fuzz.dat");
    for (std::size_t at = 0; at < bytes.size(); at += piece) scanner.Feed(bytes.substr(at, piece));
    const auto scanned = scanner.Finish();
    for (const auto& [name, reference] : scanned.references) {
      if (reference.offset < 1 || reference.offset - 1 + reference.length > bytes.size()) std::abort();
    }
  } catch (const zorv::RunTimeError&) {
  }
  return 0;
}
