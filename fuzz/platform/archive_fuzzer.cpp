// Any bytes as a .zip or .7z: listing and reading every member either succeeds within the limit or fails with
// a numbered error, never a crash.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/archive/archive_reader.h"
#include "platform/run_time_error.h"

// libarchive asks malloc for what a damaged 7z header claims and reports a refusal as running out of memory,
// which the reader gives as error 7: that refusal is what a run meets, and what the fuzzer meets too.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::uint64_t kLimit = 1 << 20;
  try {
    const auto archive = zorv::ArchiveReader::FromBytes(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& member : archive.Members()) {
      try {
        if (archive.Read(member.path, kLimit).size() > kLimit) std::abort();
      } catch (const zorv::RunTimeError&) {
      }
    }
  } catch (const zorv::RunTimeError&) {
  }
  return 0;
}
