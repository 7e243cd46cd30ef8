// The XML game list on any bytes, through field mapping to the index text: no
// crash, and the index holds no CR or LF but its CR LF line ends.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "field_mapping.h"
#include "game_list_reader.h"
#include "platform/run_time_error.h"
#include "record_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  zorv::index::IndexWriter writer;
  try {
    zorv::index::GameListReader reader([&](zorv::index::Machine&& machine) {
      if (zorv::index::IsGame(machine)) writer.AddGame(zorv::index::MapGame(machine, {}));
    });
    reader.Feed(xml.substr(0, size / 2), false);
    reader.Feed(xml.substr(size / 2), true);
  } catch (const zorv::RunTimeError&) {
  }
  const std::string index = writer.Finish();
  for (std::size_t at = 0; at < index.size(); ++at) {
    const bool crLf = index[at] == '\r' && at + 1 < index.size() && index[at + 1] == '\n';
    if (index[at] == '\r' && !crLf) std::abort();
    if (index[at] == '\n' && (at == 0 || index[at - 1] != '\r')) std::abort();
  }
  return 0;
}
