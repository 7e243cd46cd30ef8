// The index and data-file readers over any bytes: the input is the index, and
// also history.dat, mameinfo.dat and notes.txt, so references land in it.
#include <cstddef>
#include <cstdint>

#include "fuzz_folder.h"
#include "startup/startup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto collection = zorv::fuzz::CollectionOfInput(data, size);
  zorv::SharedState state;
  state.ProgramFolder = collection.folder.string();
  zorv::Main(state, collection.rom);
  return 0;
}
