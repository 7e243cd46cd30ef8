// The index and data-file readers over any bytes: the input is the index, and
// also history.dat, mameinfo.dat and notes.txt, so references land in it.
#include <cstddef>
#include <cstdint>

#include "fuzz_folder.h"
#include "startup/startup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto folder = zorv::fuzz::FreshFolder();
  for (const char* name : {"datafiles/index", "datafiles/history.dat", "datafiles/mameinfo.dat", "notes.txt"}) {
    zorv::fuzz::WriteFile(folder / name, data, size);
  }
  // The ROM name is the input's first word, so records can be found.
  std::size_t length = 0;
  while (length < size && length < 16 && data[length] != ';' && data[length] > ' ' && data[length] != '/') ++length;
  zorv::SharedState state;
  state.ProgramFolder = folder.string();
  zorv::Main(state, std::string(reinterpret_cast<const char*>(data), length));
  return 0;
}
