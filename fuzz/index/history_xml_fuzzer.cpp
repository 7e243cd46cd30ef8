// history.xml conversion on any bytes, fed in pieces of any size: no crash, and
// the classic file it writes scans back to references inside that file, one
// arcade entry per "$end".
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dat_scanner.h"
#include "history_xml_reader.h"
#include "platform/run_time_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t piece = 1 + data[0] % 64;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string classic;
  zorv::index::DatScanner scanner(zorv::index::DataFileKind::History, "history.dat");
  try {
    zorv::index::HistoryXmlConverter converter("history.xml", [&](std::string_view out) {
      classic.append(out);
      scanner.Feed(out);
    });
    for (std::size_t at = 0; at < bytes.size(); at += piece) converter.Feed(bytes.substr(at, piece), false);
    converter.Feed({}, true);
    const auto scanned = scanner.Finish();
    if (scanned.entryCount + scanned.unendedEntries.size() < converter.ArcadeEntries()) std::abort();
    for (const auto& [name, reference] : scanned.references) {
      if (reference.offset < 1 || reference.offset - 1 + reference.length > classic.size()) std::abort();
    }
  } catch (const zorv::RunTimeError&) {
  }
  return 0;
}
