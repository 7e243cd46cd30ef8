// A run over the whole collection cuts each game's entries out of the data
// files in memory: the bytes a run of its own reads from the file, up to and
// past the file's last byte.
#include "startup/collection_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/run_time_error.h"
#include "startup/data_entries.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

// The bytes read, or the error number.
template <typename Read>
std::string Outcome(Read read) {
  try {
    return read();
  } catch (const RunTimeError& failure) {
    return "error " + std::to_string(failure.Number());
  }
}

TEST(CollectionFiles, CutTheStretchesARunOfItsOwnReads) {
  testing::TempFolder dir;
  const std::string file = "$info=gng,\r\n$bio\r\nText.\r\n$end\r\n";
  const std::string path = dir.Write("history.dat", file).string();
  const auto size = static_cast<std::int64_t>(file.size());
  for (const std::int64_t offset : {std::int64_t{0}, std::int64_t{1}, size - 1, size, size + 1}) {
    for (const std::int64_t length : {std::int64_t{-1}, std::int64_t{0}, std::int64_t{1}, std::int64_t{5}}) {
      EXPECT_EQ(Outcome([&] { return CutStretch(file, offset, length); }),
                Outcome([&] { return ReadDataEntry(path, offset, length); }))
          << offset << ", " << length;
    }
  }
}

}  // namespace
}  // namespace zorv
