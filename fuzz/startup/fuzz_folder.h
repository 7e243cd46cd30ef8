#pragma once
// A program folder of the fuzzer's own, emptied before each input.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace zorv::fuzz {

inline std::filesystem::path FreshFolder() {
  static const auto folder = std::filesystem::temp_directory_path() / ("zorv-fuzz-" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "datafiles");
  return folder;
}

inline void WriteFile(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// A fresh collection whose index, history.dat, mameinfo.dat and notes.txt are
// all the input; the ROM name is the input's first word, so records can be found.
struct FuzzCollection {
  std::filesystem::path folder;
  std::string rom;
};

inline FuzzCollection CollectionOfInput(const std::uint8_t* data, std::size_t size) {
  FuzzCollection collection{FreshFolder(), {}};
  for (const char* name : {"datafiles/index", "datafiles/history.dat", "datafiles/mameinfo.dat", "notes.txt"}) {
    WriteFile(collection.folder / name, data, size);
  }
  std::size_t length = 0;
  while (length < size && length < 16 && data[length] != ';' && data[length] > ' ' && data[length] != '/') ++length;
  collection.rom.assign(reinterpret_cast<const char*>(data), length);
  return collection;
}

}  // namespace zorv::fuzz
