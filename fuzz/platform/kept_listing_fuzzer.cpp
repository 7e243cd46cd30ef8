// Any bytes as a zip whose listing is made, kept and read back, each member read from its local header; and any
// bytes as a kept listing of an archive whose end record tells its entries and central directory: every member
// reads within the limit or fails with a numbered error, a listing parses or not, never a crash.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/archive/archive_reader.h"
#include "platform/archive/kept_archive_listing.h"
#include "platform/run_time_error.h"

namespace {

namespace fs = std::filesystem;

// Never destroyed: the exit handler removing it runs after static objects are gone.
const fs::path& Folder() {
  static const fs::path& folder = *[] {
    auto* made = new fs::path(fs::temp_directory_path() / ("zorv-kept-listing-fuzz-" + std::to_string(::getpid())));
    fs::create_directories(*made);
    ::setenv("XDG_CACHE_HOME", (*made / "cache").c_str(), 1);
    std::atexit([] {
      std::error_code error;
      fs::remove_all(Folder(), error);
    });
    return made;
  }();
  return folder;
}

void ReadEveryMember(const fs::path& file) {
  constexpr std::uint64_t kLimit = 1 << 20;
  try {
    const zorv::ArchiveReader archive(file, zorv::ZipListing::kKeptBetweenRuns);
    for (const auto& member : archive.Members()) {
      try {
        if (archive.Read(member.path, kLimit).size() > kLimit) std::abort();
      } catch (const zorv::RunTimeError&) {
      }
    }
  } catch (const zorv::RunTimeError&) {
  }
}

}  // namespace

// libarchive asks malloc for what a damaged 7z header claims and reports a refusal as running out of memory,
// which the reader gives as error 7: that refusal is what a run meets, and what the fuzzer meets too.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const fs::path file = Folder() / "snap.zip";
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  ReadEveryMember(file);  // makes the listing and keeps it
  ReadEveryMember(file);  // from the kept listing
  // The first bytes give the end record's figures, the rest the listing's members.
  if (bytes.size() < 6) return 0;
  const auto figure = [&](std::size_t at) { return std::uint64_t{static_cast<unsigned char>(bytes[at])} << (bytes[at + 1] & 31); };
  const zorv::ArchiveFingerprint archive{"/archives/snap.zip", "1 2 3", {figure(0), figure(2), figure(4)}};
  if (const auto entries = zorv::ParseKeptListing(zorv::SealedListing(archive, bytes.substr(6)), archive)) {
    if (entries->size() != archive.directory.entries) std::abort();
  }
  return 0;
}
