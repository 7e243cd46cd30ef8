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

}  // namespace zorv::fuzz
